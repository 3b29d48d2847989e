#include "console/ConsoleInput.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "export/EndingSignals.h"

const std::string warn_invnumber = "[WARNING] Invalid number! Please enter again.";
const std::string warn_zeroscale = "[WARNING] Texture scale must not be 0 !";

namespace {

// What reading a number found.
enum class NumberRead { Value, Unreadable, Ended };

// Skips blanks and line ends; false at the end of the input.
bool SkipBlanks() {
  std::istream& in = std::cin;
  for (;;) {
    const int c = in.peek();
    if (c == std::char_traits<char>::eof()) return false;
    if (!std::isspace(static_cast<unsigned char>(c))) return true;
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

NumberRead Unreadable() {
  DiscardLine();
  return NumberRead::Unreadable;
}

// The next value as an int; value changes only when one is read.
NumberRead ReadIntValue(int& value) {
  if (!SkipBlanks()) return NumberRead::Ended;
  std::string text;
  Accept(text, "+-");
  if (AcceptDigits(text) == 0) return Unreadable();
  errno = 0;
  const long long v = std::strtoll(text.c_str(), nullptr, 10);
  if (errno == ERANGE || v < INT_MIN || v > INT_MAX) return Unreadable();
  value = static_cast<int>(v);
  return NumberRead::Value;
}

// The next value as a float; value changes only when one is read.
NumberRead ReadFloatValue(float& value) {
  if (!SkipBlanks()) return NumberRead::Ended;
  // The longest prefix of the form [+-]digits[.digits][e[+-]digits].
  std::string text;
  Accept(text, "+-");
  int digits = AcceptDigits(text);
  if (Accept(text, ".")) digits += AcceptDigits(text);
  if (digits > 0 && Accept(text, "eE")) {
    Accept(text, "+-");
    if (AcceptDigits(text) == 0) digits = 0;  // an exponent without digits
  }
  if (digits == 0) return Unreadable();
  // Too large for a float gives infinity: refused. Too small gives zero or a
  // subnormal value: taken.
  const float v = std::strtof(text.c_str(), nullptr);
  if (!std::isfinite(v)) return Unreadable();
  value = v;
  return NumberRead::Value;
}

// Prompts until a value is read or the input ends.
template <typename T>
bool AskNumber(const std::string& prompt, T& value, NumberRead (*read)(T&)) {
  for (;;) {
    std::cout << prompt << std::endl;
    switch (read(value)) {
      case NumberRead::Value: return true;
      case NumberRead::Ended: return false;
      case NumberRead::Unreadable: break;
    }
    std::cout << warn_invnumber << std::endl;
  }
}

}  // namespace

bool ReadChoice(char& key) {
  if (!SkipBlanks()) return false;
  key = static_cast<char>(std::cin.get());
  return true;
}

bool ReadWord(std::string& word) {
  if (!SkipBlanks()) return false;
  word.clear();
  for (;;) {
    const int c = std::cin.peek();
    if (c == std::char_traits<char>::eof() || std::isspace(static_cast<unsigned char>(c))) break;
    word.push_back(static_cast<char>(std::cin.get()));
  }
  return true;
}

bool AskInt(const std::string& prompt, int& value) { return AskNumber(prompt, value, ReadIntValue); }

bool AskFloat(const std::string& prompt, float& value) {
  return AskNumber(prompt, value, ReadFloatValue);
}

bool AskTextureScale(const std::string& prompt, float& value) {
  float answer = value;
  while (AskFloat(prompt, answer)) {
    if (answer != 0.0f) {
      value = answer;
      return true;
    }
    std::cout << warn_zeroscale << '\n';
  }
  return false;
}

// ---- The key wait on a terminal ----------------------------------------------

namespace {

// The terminal's settings from before the key wait; the signal handlers put
// them back, so a program ended during the wait leaves the terminal as it
// found it (echo and line editing on).
termios savedTerminal{};

// Restores the terminal, then ends the program as the signal would have
// without the handler. tcsetattr, signal and raise are async-signal-safe.
extern "C" void RestoreTerminalAndRaise(int sig) {
  tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
  std::signal(sig, SIG_DFL);
  std::raise(sig);  // delivered with the default action once the handler returns
}

// A signal's action from before the key wait.
struct SavedAction {
  int sig;
  struct sigaction action;
};

// One key at a time without echo for its lifetime; the terminal's settings
// and the previous signal actions come back when it goes out of scope. A
// signal that the program was started to ignore (nohup), or ignores itself,
// stays ignored. A handler that is there already is set aside for the wait:
// nothing that it would clean up exists while the program waits for a key,
// and the terminal must come back whatever ends the program.
struct TerminalMode {
  std::vector<SavedAction> replaced;
  bool active = false;

  TerminalMode() {
    if (tcgetattr(STDIN_FILENO, &savedTerminal) != 0) return;
    replaced.reserve(static_cast<std::size_t>(kMostEndingSignals));
    struct sigaction restore = {};
    restore.sa_handler = RestoreTerminalAndRaise;
    sigemptyset(&restore.sa_mask);
    ForEachEndingSignal([&](int sig) {
      SavedAction saved{sig, {}};
      if (sigaction(sig, nullptr, &saved.action) != 0 || saved.action.sa_handler == SIG_IGN) return;
      if (sigaction(sig, &restore, nullptr) == 0) replaced.push_back(saved);
    });
    termios raw = savedTerminal;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    active = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
    if (!active) RestoreHandlers();
  }
  ~TerminalMode() {
    if (!active) return;
    tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
    RestoreHandlers();
  }
  void RestoreHandlers() {
    for (const SavedAction& saved : replaced) sigaction(saved.sig, &saved.action, nullptr);
    replaced.clear();
  }
  TerminalMode(const TerminalMode&) = delete;
  TerminalMode& operator=(const TerminalMode&) = delete;
};

// The bytes of one key arrive together; a byte that is not there within this
// time belongs to the next key.
constexpr int kKeyGapMs = 100;
// No key sends more bytes than this.
constexpr int kLongestKey = 32;

// Reads one byte of the terminal; waits at most timeoutMs for it when that is
// not negative. False at the end of the input or when none arrived in time.
bool ReadTerminalByte(unsigned char& byte, int timeoutMs) {
  if (timeoutMs >= 0) {
    pollfd ready{STDIN_FILENO, POLLIN, 0};
    int n = 0;
    while ((n = poll(&ready, 1, timeoutMs)) < 0 && errno == EINTR) {
    }
    if (n <= 0) return false;
  }
  ssize_t n = 0;
  while ((n = read(STDIN_FILENO, &byte, 1)) < 0 && errno == EINTR) {
  }
  return n == 1;
}

bool NextKeyByte(unsigned char& byte) { return ReadTerminalByte(byte, kKeyGapMs); }

// The rest of a key that began with the escape byte: a CSI sequence (ESC [,
// then parameters up to a final byte from '@' to '~'; the console's function
// keys add one more '[' and a letter), an SS3 sequence (ESC O and one byte),
// or one byte typed with Alt. The escape key alone sends nothing more.
void TakeEscapeSequence() {
  unsigned char byte = 0;
  if (!NextKeyByte(byte)) return;
  if (byte == 'O') {
    NextKeyByte(byte);
  } else if (byte == '[') {
    for (int i = 0; i < kLongestKey && NextKeyByte(byte); ++i) {
      if (i == 0 && byte == '[') continue;
      if (byte >= '@' && byte <= '~') return;
    }
  }
}

// The continuation bytes of a character that UTF-8 writes in several bytes.
void TakeContinuationBytes(unsigned char lead) {
  const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  unsigned char byte = 0;
  for (int i = 0; i < more && NextKeyByte(byte); ++i) {
  }
}

constexpr unsigned char kEscape = 0x1b;

// One whole key from the terminal.
void ReadTerminalKey() {
  TerminalMode mode;
  unsigned char first = 0;
  if (!ReadTerminalByte(first, -1)) return;
  if (first == kEscape) TakeEscapeSequence();
  else TakeContinuationBytes(first);
}

// The buffer that std::cin reads the process's standard input through; when
// std::cin has been given another one, the key wait reads from that instead.
std::streambuf* const kStandardInput = std::cin.rdbuf();

}  // namespace

void getch() {
  std::cout.flush();
  if (std::cin.eof()) return;  // the input has ended, also at a terminal
  if (std::cin.rdbuf() == kStandardInput && isatty(STDIN_FILENO)) {
    ReadTerminalKey();
    return;
  }
  std::cin.get();
  if (std::cin.eof()) std::cin.clear(std::ios::eofbit);
}
