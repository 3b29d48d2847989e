// Test support for end-to-end tests that need more of a running program than
// RunProgram (Process.h) gives: its wait status (a signal that ended it),
// signals sent while it runs, signals ignored from the start, and running it
// as the unprivileged user 'nobody'.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct ChildOptions {
  std::vector<int> ignoredSignals;  // ignored from the start, as nohup does
  bool asNobody = false;            // run as nobody (the test must run as root)
  unsigned seconds = 60;            // killed by an alarm after this long
};

// The program, started in dir with standard input from /dev/null, standard
// output to a pipe and core dumps off.
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

 private:
  void ReadAvailable();

  pid_t pid_ = -1;
  int out_ = -1;
  int status_ = -1;
  std::string output_;
};

// The ids of the user 'nobody' and its group; false when there is none.
bool NobodyIds(uid_t& user, gid_t& group);
