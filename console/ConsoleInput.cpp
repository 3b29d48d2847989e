#include "console/ConsoleInput.h"

#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <iostream>

const std::string warn_invnumber = "[WARNING] Invalid number! Please enter again.";

namespace {

// Skips blanks and line ends; throws at the end of the input.
void SkipBlanks() {
  std::istream& in = std::cin;
  for (;;) {
    const int c = in.peek();
    if (c == std::char_traits<char>::eof()) throw ConsoleEnded{};
    if (!std::isspace(static_cast<unsigned char>(c))) return;
    in.get();
  }
}

bool IsDigit(int c) { return c >= '0' && c <= '9'; }

// Takes the next character when it is one of the given ones.
bool Accept(std::string& text, const char* chars) {
  const int c = std::cin.peek();
  if (c == std::char_traits<char>::eof()) return false;
  for (const char* p = chars; *p; ++p) {
    if (c == *p) {
      text.push_back(static_cast<char>(std::cin.get()));
      return true;
    }
  }
  return false;
}

// Takes a run of digits; returns how many.
int AcceptDigits(std::string& text) {
  int n = 0;
  while (IsDigit(std::cin.peek())) {
    text.push_back(static_cast<char>(std::cin.get()));
    ++n;
  }
  return n;
}

// Discards what is left of the current line.
void DiscardLine() {
  std::istream& in = std::cin;
  for (;;) {
    const int c = in.get();
    if (c == std::char_traits<char>::eof() || c == '\n') return;
  }
}

// Restores the terminal's settings when it goes out of scope.
struct TerminalMode {
  termios saved{};
  bool active = false;
  TerminalMode() {
    if (tcgetattr(STDIN_FILENO, &saved) != 0) return;
    termios raw = saved;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    active = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
  }
  ~TerminalMode() {
    if (active) tcsetattr(STDIN_FILENO, TCSANOW, &saved);
  }
  TerminalMode(const TerminalMode&) = delete;
  TerminalMode& operator=(const TerminalMode&) = delete;
};

}  // namespace

char ReadChoice() {
  SkipBlanks();
  return static_cast<char>(std::cin.get());
}

std::string ReadWord() {
  SkipBlanks();
  std::string word;
  for (;;) {
    const int c = std::cin.peek();
    if (c == std::char_traits<char>::eof() || std::isspace(static_cast<unsigned char>(c))) break;
    word.push_back(static_cast<char>(std::cin.get()));
  }
  return word;
}

bool TryReadInt(int& value) {
  SkipBlanks();
  std::string text;
  Accept(text, "+-");
  if (AcceptDigits(text) == 0) {
    DiscardLine();
    return false;
  }
  errno = 0;
  const long long v = std::strtoll(text.c_str(), nullptr, 10);
  if (errno == ERANGE || v < INT_MIN || v > INT_MAX) {
    DiscardLine();
    return false;
  }
  value = static_cast<int>(v);
  return true;
}

bool TryReadFloat(float& value) {
  SkipBlanks();
  // The longest prefix of the form [+-]digits[.digits][e[+-]digits].
  std::string text;
  Accept(text, "+-");
  int digits = AcceptDigits(text);
  if (Accept(text, ".")) digits += AcceptDigits(text);
  if (digits > 0 && Accept(text, "eE")) {
    Accept(text, "+-");
    if (AcceptDigits(text) == 0) digits = 0;  // an exponent without digits
  }
  if (digits == 0) {
    DiscardLine();
    return false;
  }
  // Too large for a float gives infinity: refused. Too small gives zero or a
  // subnormal value: taken.
  const float v = std::strtof(text.c_str(), nullptr);
  if (!std::isfinite(v)) {
    DiscardLine();
    return false;
  }
  value = v;
  return true;
}

int AskInt(const std::string& prompt) {
  for (;;) {
    std::cout << prompt << std::endl;
    int value = 0;
    if (TryReadInt(value)) return value;
    std::cout << warn_invnumber << std::endl;
  }
}

float AskFloat(const std::string& prompt) {
  for (;;) {
    std::cout << prompt << std::endl;
    float value = 0.0f;
    if (TryReadFloat(value)) return value;
    std::cout << warn_invnumber << std::endl;
  }
}

namespace {

// The buffer that std::cin reads the process's standard input through; when
// std::cin has been given another one, the key wait reads from that instead.
std::streambuf* const kStandardInput = std::cin.rdbuf();

}  // namespace

void getch() {
  std::cout.flush();
  if (std::cin.rdbuf() == kStandardInput && isatty(STDIN_FILENO)) {
    TerminalMode mode;
    char c = 0;
    while (read(STDIN_FILENO, &c, 1) < 0 && errno == EINTR) {
    }
    return;
  }
  std::cin.get();
  if (std::cin.eof()) std::cin.clear(std::ios::eofbit);
}
