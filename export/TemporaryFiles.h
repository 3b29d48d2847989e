// The temporary files that the writers complete a text in before it takes
// the place of a file.
//
// A temporary file has no name where the file system can make such a file
// (O_TMPFILE): nobody can open it, and whatever ends the program (also
// SIGKILL or running out of memory) leaves nothing behind. It is given a name
// only for the instant of a rename. Where the file system makes no unnamed
// files, it is a named file ".korvane-XXXXXXXXXXXX.tmp" (random letters and
// digits, which nobody can take in advance) that only its owner may read.
//
// While a named temporary file exists, every ending signal
// (export/EndingSignals.h) that has its default action removes it and then
// ends the program as the signal would have (its exit status is the
// signal's). A signal the program was started to ignore stays ignored, a
// handler someone else set stays, and the previous actions come back with the
// last named file.
#pragma once

#include <signal.h>
#include <sys/types.h>

// Holds the ending signals back for its lifetime, apart from the faults that
// the program itself could cause: a signal that arrives meanwhile is
// delivered when it ends. Giving a temporary file a name and registering it,
// or renaming it and forgetting it, happen under one block, so that no signal
// falls between the two steps.
struct SignalBlock {
  SignalBlock();
  ~SignalBlock();
  SignalBlock(const SignalBlock&) = delete;
  SignalBlock& operator=(const SignalBlock&) = delete;

  sigset_t previous;
};

// The longest name of a named temporary file, without its NUL.
constexpr int kTemporaryNameMax = 63;

// One temporary file; closed, and removed while it has a name, when it goes.
struct Temporary {
  Temporary() = default;
  ~Temporary() { Remove(); }
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;

  bool Named() const { return name[0] != '\0'; }
  // Closes the file (its name, if it has one, stays); false when that
  // reports a failed write.
  bool Close();
  // Closes the file and removes its name, if it has one.
  void Remove();

  int fd = -1;         // the file, open for reading and writing
  int directory = -1;  // its directory, open (O_PATH)
  char name[kTemporaryNameMax + 1] = {};  // its name there; empty while it has none
  int slot = -1;       // its slot for the signal handlers while it has a name
};

// Makes an unnamed temporary file in the directory, with the permissions a
// new file of that mode gets there (the umask or the directory's default ACL
// applied). False where the file system makes none, where the system could
// never give it a name, or where the directory refuses new files.
bool CreateUnnamed(int directory, mode_t mode, Temporary& temporary);
// Makes a named temporary file in the directory that only its owner may read.
// False where the directory refuses it.
bool CreateNamed(int directory, Temporary& temporary);
// Gives an unnamed temporary file a name in its directory, so that it can be
// renamed. False where the directory takes no new name.
bool GiveName(Temporary& temporary);
// Renames a named temporary file to the name in its directory, replacing
// what has that name.
bool RenameTo(Temporary& temporary, const char* name);
// Links an unnamed temporary file in under the name in its directory, where
// nothing has that name.
bool LinkAs(const Temporary& temporary, const char* name);
