#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/ConsoleInput.h"
#include "support/ConsoleCapture.h"

TEST(ConsoleInput, ChoicesSkipBlanksAndLineEnds) {
  std::string got;
  const ConsoleResult r = WithConsole("  a\n\n\tb c\n", [&] {
    got.push_back(ReadChoice());
    got.push_back(ReadChoice());
    got.push_back(ReadChoice());
  });
  EXPECT_FALSE(r.ended);
  EXPECT_EQ(got, "abc");
}

TEST(ConsoleInput, EveryReadEndsAtTheEndOfInput) {
  EXPECT_TRUE(WithConsole("", [] { ReadChoice(); }).ended);
  EXPECT_TRUE(WithConsole("  \n ", [] { ReadWord(); }).ended);
  EXPECT_TRUE(WithConsole("", [] { AskInt("[INPUT] n"); }).ended);
  EXPECT_TRUE(WithConsole("abc", [] { AskFloat("[INPUT] f"); }).ended);
}

TEST(ConsoleInput, WordsTypedAheadAreConsumedInOrder) {
  std::string word;
  char choice = 0;
  WithConsole("NAME1 q\n", [&] {
    word = ReadWord();
    choice = ReadChoice();
  });
  EXPECT_EQ(word, "NAME1");
  EXPECT_EQ(choice, 'q');
}

TEST(ConsoleInput, NumbersTakeTheLeadingValueAndLeaveTheRest) {
  int i = 0;
  float f = 0.0f;
  char next = 0;
  WithConsole("24x -1.5e2q", [&] {
    i = AskInt("p");
    next = ReadChoice();
    f = AskFloat("p");
    next = ReadChoice();
  });
  EXPECT_EQ(i, 24);
  EXPECT_EQ(f, -150.0f);
  EXPECT_EQ(next, 'q');
}

TEST(ConsoleInput, UnreadableNumbersWarnDiscardTheLineAndAskAgain) {
  struct Case {
    const char* input;
    int expected;
  };
  const Case cases[] = {{"abc def\n7\n", 7}, {"99999999999 1\n-3\n", -3}, {"-\n+5\n", 5}};
  for (const Case& c : cases) {
    int value = 0;
    const ConsoleResult r = WithConsole(c.input, [&] { value = AskInt("[INPUT] Number:"); });
    EXPECT_EQ(value, c.expected) << c.input;
    EXPECT_EQ(r.output, "[INPUT] Number:\n" + warn_invnumber + "\n[INPUT] Number:\n") << c.input;
  }
}

TEST(ConsoleInput, FloatsOutOfRangeAreRefused) {
  float value = 0.0f;
  const ConsoleResult r = WithConsole("1e39\n.5\n", [&] { value = AskFloat("p"); });
  EXPECT_EQ(value, 0.5f);
  EXPECT_EQ(r.output, "p\n" + warn_invnumber + "\np\n");
  WithConsole("1e-50\n", [&] { value = AskFloat("p"); });
  EXPECT_EQ(value, 0.0f);
}

TEST(ConsoleInput, FloatForms) {
  const std::vector<std::pair<std::string, float>> cases = {
      {"0.5", 0.5f}, {"-2", -2.0f}, {"1e2", 100.0f}, {"3.", 3.0f}, {"+.25", 0.25f}, {"128.5x", 128.5f}};
  for (const auto& c : cases) {
    float value = 0.0f;
    WithConsole(c.first + "\n", [&] { value = AskFloat("p"); });
    EXPECT_EQ(value, c.second) << c.first;
  }
}

TEST(ConsoleInput, KeyWaitTakesOneCharacterOrNothingAtTheEnd) {
  char after = 0;
  const ConsoleResult r = WithConsole("xy", [&] {
    getch();
    after = ReadChoice();
  });
  EXPECT_FALSE(r.ended);
  EXPECT_EQ(after, 'y');
  bool returned = false;
  const ConsoleResult atEnd = WithConsole("", [&] {
    getch();
    getch();
    returned = true;
  });
  EXPECT_TRUE(returned);
  EXPECT_FALSE(atEnd.ended);
}
