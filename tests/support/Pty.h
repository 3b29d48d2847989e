// Test support for end-to-end tests at a terminal: runs a built executable on
// a pseudo-terminal, with the terminal as its controlling terminal, standard
// input and standard output, so the test can type keys as a user does, signal
// it and look at the terminal's settings.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <string>
#include <vector>

class PtyProgram {
 public:
  // Starts exe with the arguments in dir, with the given signals ignored (as
  // nohup does). A program that runs longer than the given number of seconds
  // is killed by an alarm.
  PtyProgram(const std::string& exe, const std::vector<std::string>& args, const std::string& dir,
             const std::vector<int>& ignoredSignals = {}, unsigned seconds = 60);
  // Kills the program if it still runs.
  ~PtyProgram();
  PtyProgram(const PtyProgram&) = delete;
  PtyProgram& operator=(const PtyProgram&) = delete;

  // Reads the program's output until it holds text from the given position
  // on; false when that does not happen within the time.
  bool WaitForOutput(const std::string& text, std::size_t from, double seconds);
  // Waits until the terminal's line editing (ICANON) is off or, with on set,
  // on again; false when that does not happen within the time.
  bool WaitForLineEditing(bool on, double seconds);
  // Types the bytes at the terminal.
  void Type(const std::string& bytes);
  void Signal(int sig);
  // Waits for the program to end, reading its output; returns its wait
  // status, or -1 when it did not end within the time (it is killed then).
  int Wait(double seconds);
  // The terminal's settings now.
  termios Settings() const;
  // What was typed at the terminal and not read by the program, taken from
  // the terminal after the program has ended (a shell would read it next).
  std::string UnreadInput();
  // Everything the program wrote so far; the terminal turns each line end
  // into a carriage return and a line end, and echoes what is typed while
  // line editing is on.
  const std::string& output() const { return output_; }

 private:
  void ReadAvailable(int timeoutMs);

  int master_ = -1;
  int slave_ = -1;  // held open so the terminal and its input queue outlive the program
  pid_t pid_ = -1;
  std::string output_;
};
