// Test support for end-to-end tests that need more of a running program than
// RunProgram (Process.h) gives: its wait status (a signal that ended it),
// signals sent while it runs, signals ignored from the start, running it as
// the unprivileged user 'nobody', system calls that fail in it, and its
// standard output going to a file.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "support/SystemCallFilter.h"

struct ChildOptions {
  std::vector<int> ignoredSignals;  // ignored from the start, as nohup does
  bool asNobody = false;            // run as nobody (the test must run as root)
  unsigned seconds = 60;            // killed by an alarm after this long
  // System calls that fail in it (see SystemCallFilter.h; the 64-bit
  // executable only). A child whose filter cannot be installed ends with
  // status 125: look at CanFilterSystemCalls first.
  SystemCallFilter failingCalls;
  // Where its standard output goes instead of the pipe (output() stays
  // empty); -1 for the pipe.
  int standardOutput = -1;
  // Its umask; -1 keeps the test's.
  int fileModeMask = -1;
  // The one processor it runs on (so that programs started together take
  // turns on it, switched at any point); -1 for any.
  int processor = -1;
};

// The program, started in dir with standard input from /dev/null, standard
// output to a pipe (or options.standardOutput) and core dumps off.
class ChildProgram {
 public:
  ChildProgram(const std::string& exe, const std::vector<std::string>& args, const std::string& dir,
               const ChildOptions& options = {});
  // Kills the program if it still runs.
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  void Signal(int sig);
  // Whether it still runs.
  bool Running();
  // Waits for the program to end and returns its wait status.
  int Wait();
  // Everything it wrote to standard output so far.
  const std::string& output();
  // Its process id while it runs (-1 once it has been waited for).
  pid_t pid() const { return pid_; }

 private:
  void ReadAvailable();

  pid_t pid_ = -1;
  int out_ = -1;
  int status_ = -1;
  std::string output_;
};

// The ids of the user 'nobody' and its group; false when there is none.
bool NobodyIds(uid_t& user, gid_t& group);
// Whether programs can be run as nobody here (the tests run as root and there
// is such a user), with nobody's ids; why tells the reason when not.
bool CanRunAsNobody(std::string& why, uid_t& user, gid_t& group);
// A copy of the 64-bit executable that nobody may run, wherever the build
// folder is.
const std::string& NobodyExe();
// A processor the tests may run on (the first one allowed).
int SomeProcessor();
// Runs check in a forked child that has become nobody (killed by an alarm
// after a few seconds); false when check is, or the child could not become
// nobody.
bool AsNobody(const std::function<bool()>& check);
