#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/ConsoleInput.h"
#include "support/ConsoleCapture.h"

TEST(ConsoleInput, ChoicesSkipBlanksAndLineEnds) {
  std::string got;
  const ConsoleResult r = WithConsole("  a\n\n\tb c\n", [&] {
    char key = 0;
    while (got.size() < 3 && ReadChoice(key)) got.push_back(key);
  });
  EXPECT_FALSE(r.ended);
  EXPECT_EQ(got, "abc");
}

// At the end of the input every read says so and leaves its value alone, also
// when it is asked again; a number prompt that found nothing readable before
// the end stops asking.
TEST(ConsoleInput, EveryReadReportsTheEndAndKeepsItsValue) {
  for (const char* input : {"", "  \n\t "}) {
    char key = 'k';
    std::string word = "word";
    bool read = true;
    EXPECT_TRUE(WithConsole(input, [&] { read = ReadChoice(key) || ReadChoice(key); }).ended);
    EXPECT_FALSE(read) << input;
    EXPECT_TRUE(WithConsole(input, [&] { read = ReadWord(word) || ReadWord(word); }).ended);
    EXPECT_FALSE(read) << input;
    EXPECT_EQ(key, 'k');
    EXPECT_EQ(word, "word");
  }
  for (const std::string input : {"", "  \n\t ", "abc", "-"}) {
    const std::string unreadable = input.find_first_not_of(" \n\t") == std::string::npos
                                       ? ""
                                       : warn_invnumber + "\np\n";
    int i = 7;
    float f = 2.5f;
    bool read = true;
    EXPECT_EQ(WithConsole(input, [&] { read = AskInt("p", i); }).output, "p\n" + unreadable);
    EXPECT_FALSE(read) << input;
    EXPECT_EQ(WithConsole(input, [&] { read = AskFloat("p", f); }).output, "p\n" + unreadable);
    EXPECT_FALSE(read) << input;
    EXPECT_EQ(i, 7);
    EXPECT_EQ(f, 2.5f);
  }
}

TEST(ConsoleInput, WordsTypedAheadAreConsumedInOrder) {
  std::string word;
  char choice = 0;
  WithConsole("NAME1 q\n", [&] {
    ReadWord(word);
    ReadChoice(choice);
  });
  EXPECT_EQ(word, "NAME1");
  EXPECT_EQ(choice, 'q');
}

TEST(ConsoleInput, NumbersTakeTheLeadingValueAndLeaveTheRest) {
  int i = 0;
  float f = 0.0f;
  char next = 0;
  const ConsoleResult r = WithConsole("24x -1.5e2q", [&] {
    AskInt("p", i);
    ReadChoice(next);
    AskFloat("p", f);
    ReadChoice(next);
  });
  EXPECT_EQ(i, 24);
  EXPECT_EQ(f, -150.0f);
  EXPECT_EQ(next, 'q');
  EXPECT_FALSE(r.ended);
}

TEST(ConsoleInput, UnreadableNumbersWarnDiscardTheLineAndAskAgain) {
  struct Case {
    const char* input;
    int expected;
  };
  const Case cases[] = {{"abc def\n7\n", 7}, {"99999999999 1\n-3\n", -3}, {"-\n+5\n", 5}};
  for (const Case& c : cases) {
    int value = 0;
    const ConsoleResult r = WithConsole(c.input, [&] { AskInt("[INPUT] Number:", value); });
    EXPECT_EQ(value, c.expected) << c.input;
    EXPECT_EQ(r.output, "[INPUT] Number:\n" + warn_invnumber + "\n[INPUT] Number:\n") << c.input;
  }
}

TEST(ConsoleInput, FloatsOutOfRangeAreRefused) {
  float value = 0.0f;
  const ConsoleResult r = WithConsole("1e39\n.5\n", [&] { AskFloat("p", value); });
  EXPECT_EQ(value, 0.5f);
  EXPECT_EQ(r.output, "p\n" + warn_invnumber + "\np\n");
  WithConsole("1e-50\n", [&] { AskFloat("p", value); });
  EXPECT_EQ(value, 0.0f);
}

TEST(ConsoleInput, FloatForms) {
  const std::vector<std::pair<std::string, float>> cases = {
      {"0.5", 0.5f}, {"-2", -2.0f}, {"1e2", 100.0f}, {"3.", 3.0f}, {"+.25", 0.25f}, {"128.5x", 128.5f}};
  for (const auto& c : cases) {
    float value = 0.0f;
    WithConsole(c.first + "\n", [&] { AskFloat("p", value); });
    EXPECT_EQ(value, c.second) << c.first;
  }
}

TEST(ConsoleInput, KeyWaitTakesOneCharacterOrNothingAtTheEnd) {
  char after = 0;
  const ConsoleResult r = WithConsole("xy", [&] {
    getch();
    ReadChoice(after);
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
  EXPECT_TRUE(atEnd.ended);
}

TEST(ConsoleInput, TextureScalesOfZeroAreRefused) {
  struct Case {
    const char* input;
    float expected;
    int refusals;
    bool read;
  };
  const Case cases[] = {{"0\n-0.0 0.5\n", 0.5f, 2, true}, {"1e-50\n2\n", 2.0f, 1, true},
                        {"-3\n", -3.0f, 0, true},        {"0\n", 4.0f, 1, false}};
  for (const Case& c : cases) {
    float value = 4.0f;
    bool read = false;
    const ConsoleResult r = WithConsole(c.input, [&] { read = AskTextureScale("p", value); });
    EXPECT_EQ(read, c.read) << c.input;
    EXPECT_EQ(value, c.expected) << c.input;
    std::string expected = "p\n";
    for (int i = 0; i < c.refusals; ++i) expected += warn_zeroscale + "\np\n";
    EXPECT_EQ(r.output, expected) << c.input;
  }
}
