// What a file that replaces another takes over from it besides its text: the
// owner and group, and the extended attributes, the access control lists
// among them. (The mode comes last, after the last write, since a write by an
// unprivileged process clears the set-id bits.)
#pragma once

// Gives the file `to` the owner, group and extended attributes of the file
// `from`: the same attributes with the same values, and no other. False where
// the process may not (another user's file, an attribute that only a
// privileged process may set or remove, one it cannot read).
bool KeepOwnerAndAttributes(int from, int to);
