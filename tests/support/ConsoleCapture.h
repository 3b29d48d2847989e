// Test support: runs code with scripted console input and captures what it
// prints on the console.
#pragma once

#include <functional>
#include <string>

struct ConsoleResult {
  std::string output;  // everything written to std::cout
  bool ended = false;  // the code read up to the end of the input and met it
};

// Runs fn with std::cin reading input and std::cout captured.
ConsoleResult WithConsole(const std::string& input, const std::function<void()>& fn);

// As WithConsole, but fn is stopped where it meets the end of the input, so
// the test sees the state that the input's keys left, before the code's own
// answer to the end (the sub menu leaves and discards the generated object).
ConsoleResult WithConsoleCutAtEnd(const std::string& input, const std::function<void()>& fn);
