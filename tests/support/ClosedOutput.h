// Test support for end-to-end tests: runs a built executable whose standard
// output is a pipe that nobody reads, as when the program's output is piped
// into a reader that stops at once.
#pragma once

#include <string>
#include <vector>

// Runs exe with the arguments in dir, feeding input on standard input. The
// reading end of its output pipe is closed before the program starts, so
// every write to standard output fails: with EPIPE, or by ending the program
// with SIGPIPE unless it ignores that signal (the program starts with its
// default action). A run that has not ended after the given number of seconds
// is killed by an alarm. Returns the wait status.
int RunWithClosedOutput(const std::string& exe, const std::vector<std::string>& args, const std::string& input,
                        const std::string& dir, unsigned seconds = 120);
