#include "support/ConsoleCapture.h"

#include <iostream>
#include <sstream>

#include "console/ConsoleInput.h"

namespace {

// Swaps a stream's buffer for the lifetime of the object.
struct BufferSwap {
  std::ios& stream;
  std::streambuf* saved;
  BufferSwap(std::ios& s, std::streambuf* b) : stream(s), saved(s.rdbuf(b)) {}
  ~BufferSwap() { stream.rdbuf(saved); }
  BufferSwap(const BufferSwap&) = delete;
  BufferSwap& operator=(const BufferSwap&) = delete;
};

}  // namespace

ConsoleResult WithConsole(const std::string& input, const std::function<void()>& fn) {
  std::istringstream in(input);
  std::ostringstream out;
  ConsoleResult result;
  {
    BufferSwap swapIn(std::cin, in.rdbuf());
    BufferSwap swapOut(std::cout, out.rdbuf());
    const std::ios::iostate state = std::cin.rdstate();
    std::cin.clear();
    try {
      fn();
    } catch (const ConsoleEnded&) {
      result.ended = true;
    }
    std::cout.flush();
    std::cin.clear(state);
  }
  result.output = out.str();
  return result;
}
