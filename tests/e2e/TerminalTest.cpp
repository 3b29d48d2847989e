// The key waits at a terminal: a key is taken whole, also when it sends an
// escape sequence, and the terminal gets its echo and line editing back even
// when the program is ended by a signal during the wait.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/Process.h"
#include "support/Pty.h"

namespace {

constexpr double kWaitSeconds = 20;

const std::string kPause = "PRESS ANY BUTTON...";
const std::string kInvalidChoice = "[WARNING] Invalid choice!";

// Keys that send more than one byte.
struct Key {
  const char* name;
  std::string bytes;
};
const Key kKeys[] = {
    {"arrow up", "\x1b[A"},          {"arrow up, application mode", "\x1bOA"},
    {"F1", "\x1bOP"},                {"F5", "\x1b[15~"},
    {"shift and arrow", "\x1b[1;2C"}, {"F1 of the Linux console", "\x1b[[A"},
    {"alt and x", "\x1bx"},          {"a letter written in two bytes", "\xc3\xa9"},
};

using Templates = std::vector<std::pair<std::string, std::string>>;

// Writes the templates (name and text) into dir and starts the program on
// them in that order.
std::unique_ptr<PtyProgram> StartBatch(const TempDir& dir, const Templates& templates,
                                       const std::vector<int>& ignoredSignals = {}) {
  std::vector<std::string> args;
  for (const auto& t : templates) {
    dir.Write(t.first, t.second);
    args.push_back(t.first);
  }
  return std::make_unique<PtyProgram>(Exe64(), args, dir.path(), ignoredSignals);
}

// Waits until the program has printed its pause and takes keys one at a time.
::testing::AssertionResult AtThePause(PtyProgram& program) {
  if (!program.WaitForOutput(kPause, 0, kWaitSeconds)) {
    return ::testing::AssertionFailure() << "no pause in:\n" << program.output();
  }
  if (!program.WaitForLineEditing(false, kWaitSeconds)) {
    return ::testing::AssertionFailure() << "the pause does not take single keys";
  }
  return ::testing::AssertionSuccess();
}

// Waits for the program to end by itself with status 0.
::testing::AssertionResult EndsCleanly(PtyProgram& program) {
  const int status = program.Wait(kWaitSeconds);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "wait status " << status << " after:\n" << program.output();
}

}  // namespace

// At the batch pause between a template without menu and one with the sub
// menu: nothing of the key reaches the sub menu.
TEST(Terminal, AKeyThatSendsASequenceIsOneKeyAtThePause) {
  for (const Key& key : kKeys) {
    SCOPED_TRACE(key.name);
    TempDir dir;
    const auto program = StartBatch(dir, {{"a.kvt", "nomenu 1\nexmap 1\n"}, {"b.kvt", "shape arch\n"}});
    ASSERT_TRUE(AtThePause(*program));
    const std::size_t afterPause = program->output().size();
    program->Type(key.bytes);
    ASSERT_TRUE(program->WaitForOutput("(q) Back to Main-Menu", afterPause, kWaitSeconds)) << program->output();
    ASSERT_TRUE(program->WaitForLineEditing(true, kWaitSeconds));
    program->Type("q\n");
    ASSERT_TRUE(EndsCleanly(*program));
    EXPECT_EQ(program->output().find(kInvalidChoice, afterPause), std::string::npos) << program->output();
    EXPECT_TRUE(dir.Exists("a.map"));
  }
}

// At the pause after the last template: nothing of the key is left for the
// shell that started the program.
TEST(Terminal, AKeyThatSendsASequenceLeavesNothingBehind) {
  for (const Key& key : kKeys) {
    SCOPED_TRACE(key.name);
    TempDir dir;
    const auto program = StartBatch(dir, {{"a.kvt", "nomenu 1\n"}});
    ASSERT_TRUE(AtThePause(*program));
    program->Type(key.bytes);
    ASSERT_TRUE(EndsCleanly(*program));
    EXPECT_EQ(program->UnreadInput(), "");
  }
}

// The escape key alone, and a letter, are one key each; what is typed after
// the pause reaches the sub menu.
TEST(Terminal, TheNextKeyAfterThePauseReachesTheMenu) {
  for (const std::string key : {"\x1b", "x"}) {
    TempDir dir;
    const auto program = StartBatch(dir, {{"a.kvt", "nomenu 1\n"}, {"b.kvt", "shape arch\n"}});
    ASSERT_TRUE(AtThePause(*program));
    program->Type(key);
    ASSERT_TRUE(program->WaitForLineEditing(true, kWaitSeconds));
    program->Type("m\nq\nq\n");
    ASSERT_TRUE(EndsCleanly(*program));
    EXPECT_NE(program->output().find("Mesh Properties Menu"), std::string::npos) << program->output();
  }
}

namespace {

// A signal and its name, for messages.
struct NamedSignal {
  const char* name;
  int sig;
};

// Every signal whose default action ends the program, with or without a core
// dump, and that a program can catch.
std::vector<NamedSignal> EndingSignals() {
  std::vector<NamedSignal> signals = {
      {"SIGHUP", SIGHUP},   {"SIGINT", SIGINT},       {"SIGQUIT", SIGQUIT},     {"SIGILL", SIGILL},
      {"SIGTRAP", SIGTRAP}, {"SIGABRT", SIGABRT},     {"SIGBUS", SIGBUS},       {"SIGFPE", SIGFPE},
      {"SIGUSR1", SIGUSR1}, {"SIGSEGV", SIGSEGV},     {"SIGUSR2", SIGUSR2},     {"SIGALRM", SIGALRM},
      {"SIGTERM", SIGTERM}, {"SIGSTKFLT", SIGSTKFLT}, {"SIGXCPU", SIGXCPU},     {"SIGVTALRM", SIGVTALRM},
      {"SIGPROF", SIGPROF}, {"SIGIO", SIGIO},         {"SIGPWR", SIGPWR},       {"SIGSYS", SIGSYS},
      {"SIGRTMIN", SIGRTMIN}, {"SIGRTMIN+1", SIGRTMIN + 1}, {"SIGRTMAX", SIGRTMAX},
  };
  return signals;
}

// No core files while the test lets programs die of signals that dump one.
class NoCoreFiles {
 public:
  NoCoreFiles() {
    getrlimit(RLIMIT_CORE, &saved_);
    rlimit none = saved_;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_CORE, &none);
  }
  ~NoCoreFiles() { setrlimit(RLIMIT_CORE, &saved_); }
  NoCoreFiles(const NoCoreFiles&) = delete;
  NoCoreFiles& operator=(const NoCoreFiles&) = delete;

 private:
  rlimit saved_{};
};

}  // namespace

// A signal that ends the program during the wait: the terminal has its echo
// and line editing back, and the program ends as the signal says.
TEST(Terminal, ASignalDuringTheWaitRestoresTheTerminal) {
  const NoCoreFiles noCore;
  for (const NamedSignal& s : EndingSignals()) {
    SCOPED_TRACE(s.name);
    TempDir dir;
    const auto program = StartBatch(dir, {{"a.kvt", "nomenu 1\n"}});
    ASSERT_TRUE(AtThePause(*program));
    EXPECT_EQ(program->Settings().c_lflag & ECHO, 0u) << "the wait's mode";
    program->Signal(s.sig);
    const int status = program->Wait(kWaitSeconds);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), s.sig);
    const termios after = program->Settings();
    EXPECT_NE(after.c_lflag & ECHO, 0u);
    EXPECT_NE(after.c_lflag & ICANON, 0u);
  }
}

// A signal that the program was started to ignore (nohup) does not end it
// during the wait, nor do the two that it ignores itself: a closed output and
// the file size limit fail a write instead. The wait goes on until a key
// comes.
TEST(Terminal, AnIgnoredSignalStaysIgnoredDuringTheWait) {
  struct Case {
    NamedSignal signal;
    bool ignoredAtStart;
  };
  const Case cases[] = {
      {{"SIGHUP", SIGHUP}, true},
      {{"SIGUSR1", SIGUSR1}, true},
      {{"SIGPIPE", SIGPIPE}, false},
      {{"SIGXFSZ", SIGXFSZ}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.signal.name);
    TempDir dir;
    std::vector<int> ignored;
    if (c.ignoredAtStart) ignored.push_back(c.signal.sig);
    const auto program = StartBatch(dir, {{"a.kvt", "nomenu 1\n"}}, ignored);
    ASSERT_TRUE(AtThePause(*program));
    program->Signal(c.signal.sig);
    EXPECT_EQ(program->Wait(0.3), -1) << "the program ended at an ignored signal";
    program->Type("x");
    EXPECT_TRUE(EndsCleanly(*program));
  }
}

// The end of the input typed at a terminal (Ctrl-D on an empty line) is
// final: the sub menu leaves, and the pause of the next template returns at
// once instead of waiting for a key.
TEST(Terminal, TheEndOfTheInputTypedAtTheTerminalIsFinal) {
  TempDir dir;
  const auto program = StartBatch(dir, {{"a.kvt", "shape arch\n"}, {"b.kvt", "nomenu 1\nexmap 1\n"}});
  ASSERT_TRUE(program->WaitForOutput("(q) Back to Main-Menu", 0, kWaitSeconds)) << program->output();
  program->Type(std::string(1, static_cast<char>(program->Settings().c_cc[VEOF])));
  ASSERT_TRUE(EndsCleanly(*program));
  EXPECT_NE(program->output().find(kPause), std::string::npos) << program->output();
  EXPECT_TRUE(dir.Exists("b.map"));
}
