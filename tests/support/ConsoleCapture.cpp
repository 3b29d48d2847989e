#include "support/ConsoleCapture.h"

#include <iostream>
#include <sstream>

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

// Thrown by CuttingBuffer at the end of its text.
struct InputCut {};

// A string's characters; asked for one more, it throws InputCut, which
// std::cin passes on when its exceptions include badbit.
class CuttingBuffer : public std::stringbuf {
 public:
  explicit CuttingBuffer(const std::string& text) : std::stringbuf(text, std::ios::in) {}

 protected:
  int_type underflow() override {
    const int_type c = std::stringbuf::underflow();
    if (traits_type::eq_int_type(c, traits_type::eof())) throw InputCut{};
    return c;
  }
};

ConsoleResult Run(std::streambuf& in, const std::function<void()>& fn, bool cut) {
  std::ostringstream out;
  ConsoleResult result;
  {
    BufferSwap swapIn(std::cin, &in);
    BufferSwap swapOut(std::cout, out.rdbuf());
    const std::ios::iostate state = std::cin.rdstate();
    std::cin.clear();
    if (cut) std::cin.exceptions(std::ios::badbit);
    try {
      fn();
      result.ended = std::cin.eof();
    } catch (const InputCut&) {
      result.ended = true;
    }
    std::cin.exceptions(std::ios::goodbit);
    std::cout.flush();
    std::cin.clear(state);
  }
  result.output = out.str();
  return result;
}

}  // namespace

ConsoleResult WithConsole(const std::string& input, const std::function<void()>& fn) {
  std::stringbuf in(input, std::ios::in);
  return Run(in, fn, false);
}

ConsoleResult WithConsoleCutAtEnd(const std::string& input, const std::function<void()>& fn) {
  CuttingBuffer in(input);
  return Run(in, fn, true);
}
