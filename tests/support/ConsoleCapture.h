// Test support: runs code with scripted console input and captures what it
// prints on the console.
#pragma once

#include <functional>
#include <string>

struct ConsoleResult {
  std::string output;  // everything written to std::cout
  bool ended = false;  // the code stopped because the input ended
};

// Runs fn with std::cin reading input and std::cout captured.
ConsoleResult WithConsole(const std::string& input, const std::function<void()>& fn);
