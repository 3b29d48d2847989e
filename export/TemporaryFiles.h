// Temporary files that a signal must not leave behind. While one is
// registered, SIGTERM, SIGINT, SIGHUP and SIGQUIT remove every registered
// file and then end the program as the signal would have without a handler
// (its exit status is the signal's). The handlers are in place only while a
// temporary file exists; a signal the program was started to ignore stays
// ignored, and the previous dispositions come back with the last file.
#pragma once

#include <signal.h>

// Holds the signals above back for its lifetime: a signal that arrives
// meanwhile is delivered when it ends. Creating a file and registering it,
// or renaming a file and forgetting it, happen under one block, so that no
// signal falls between the two steps.
struct SignalBlock {
  SignalBlock();
  ~SignalBlock();
  SignalBlock(const SignalBlock&) = delete;
  SignalBlock& operator=(const SignalBlock&) = delete;

  sigset_t previous;
};

// The number of temporary files that can be registered at once.
constexpr int kTemporarySlots = 4;
// The longest name of a registered temporary file, without its NUL.
constexpr int kTemporaryNameMax = 63;

// Registers the file name in the directory (a file descriptor that stays open
// until the file is forgotten); call under a SignalBlock. Returns the slot,
// or -1 when all are taken or the name is too long.
int RegisterTemporary(int directory, const char* name);
// Forgets the file of the slot (it was renamed or removed); call under a
// SignalBlock.
void ForgetTemporary(int slot);
