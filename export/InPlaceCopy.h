// A finished text copied into the old file in place, for a file that a
// rename would not keep as it is (one with more than one hard link, another
// user's, one whose attributes the process cannot give a new file, a mount
// point, one in a directory that cannot lose names).
//
// Everything that can fail before the old text changes comes first
// (Reserve, and Stage where the room must be taken by writing): the old
// file is opened for writing and checked to be the file
// that was found, locked against other writers of it (flock and an exclusive
// record lock, waited for a bounded time, so that two programs copying into
// one file one after the other never mix it), the file size limit looked at
// and the room for the text made certain. Only Copy changes the old text; a
// failure during the copy itself (an I/O error, the program killed) can
// still leave the file damaged, and says so (Damaged).
#pragma once

#include <chrono>

#include "export/OutputTarget.h"

// The time that the copies of one export wait, together, for other writers
// of their files: the clock starts with the first wait.
struct LockWait {
  // Whether the time is up; the first call starts the clock.
  bool Over();

  bool started = false;
  std::chrono::steady_clock::time_point end{};
};

struct InPlaceCopy {
  InPlaceCopy() = default;
  // Gives back the room that Reserve took and no copy used, and unlocks.
  ~InPlaceCopy() { Release(); }
  InPlaceCopy(const InPlaceCopy&) = delete;
  InPlaceCopy& operator=(const InPlaceCopy&) = delete;

  // Prepares the copy of the text (a file open for reading) into the file of
  // the target. False when it cannot be made: the file cannot be opened for
  // writing or is no longer the one found, another writer holds it locked
  // beyond the export's wait, or the room for the text cannot be allocated
  // (or, where the file system allocates none on request, cannot be taken by
  // writing). The old file is unchanged then.
  bool Reserve(const OutputTarget& target, int text, LockWait& wait);
  // Makes the room certain where Reserve could not allocate it, by writes
  // that change no byte of the old text; call with the ending signals held
  // back (export/TemporaryFiles.h) until Copy or Release. False when there is
  // no room; Release then cuts the file back to its old length.
  bool Stage(int text);
  // Copies the text over the old one, cuts the file at its end and puts it
  // on the disk; gives the file its mode back where the writes cleared its
  // set-id bits and the process owns it. False when that failed; Damaged()
  // then tells whether the old text was changed.
  bool Copy(int text);
  void Release();
  // The old text was changed, but the new one could not be completed.
  bool Damaged() const { return damaged; }

  int fd = -1;               // the old file, open for writing and locked
  bool readable = false;     // and for reading
  long long oldLength = 0;   // its length before the copy
  long long length = 0;      // the text's length
  unsigned mode = 0;         // its permissions before the copy
  bool reserved = false;     // room was allocated past the old length
  bool roomToTake = false;   // room is still to be taken by Stage
  bool grown = false;        // the text past the old end was written there
  bool damaged = false;
};
