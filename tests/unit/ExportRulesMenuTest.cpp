#include <gtest/gtest.h>

#include <string>

#include "console/ConsoleInput.h"
#include "console/Menus.h"
#include "settings/Settings.h"
#include "support/ConsoleCapture.h"
#include "support/GlobalState.h"
#include "support/MenuText.h"

namespace {

// A current object, so that the tests see which keys mark it stale.
class ExportRulesMenuTest : public ResetSettingsTest {
 protected:
  void SetUp() override {
    ResetSettingsTest::SetUp();
    firstrun = false;
  }
  static std::string Run(const std::string& input) { return WithConsole(input, menu_draw).output; }
  static std::string Drawing() { return Run("q"); }
};

const std::string kTop = R"(        +---------------------------------+
        |           Export Rules          |
        +---------------------------------+
)";
const std::string kBottom = R"(        | (q) Back
        +---------------------------------+
)";

}  // namespace

TEST_F(ExportRulesMenuTest, DefaultState) {
  EXPECT_EQ(Drawing(), kTop + R"(        | (1) Export ... [0] (All Brushes - DEFAULT)
        | (2) Additional Rule [0] (None - DEFAULT)
)" + kBottom);
}

TEST_F(ExportRulesMenuTest, BrushRange) {
  D_method = ExportBrushRange;
  EXPECT_EQ(Drawing(), kTop + R"(        | (1) Export ... [1] (Brush Range)
        | (2) Additional Rule [0] (None - DEFAULT)
        | (3) Toggle Number/Percent (Number - DEFAULT)
        | (4) Start Brush [1] (DEFAULT)
        | (5) End Brush [0] (Auto - DEFAULT)
)" + kBottom);
}

// Lines without a label end right after "] ".
TEST_F(ExportRulesMenuTest, SectionRangeWithValuesOffTheirDefaults) {
  D_method = ExportSectionRange;
  D_method2 = RuleNthSection;
  D_percent = true;
  D_start = 3;
  D_end2 = 5;
  D_nth = 0;
  EXPECT_EQ(Drawing(), kTop +
                           "        | (1) Export ... [2] (Section/Segment Range)\n"
                           "        | (2) Additional Rule [3] (Draw n-th Section only)\n"
                           "        | (3) Toggle Number/Percent (Percent)\n"
                           "        | (4) Start Section [3] \n"
                           "        | (5) End Section [0] (Auto - DEFAULT)\n"
                           "        | (6) Start Segment [1] (DEFAULT)\n"
                           "        | (7) End Segment [5] \n"
                           "        | (8) Set N [0] \n" +
                           kBottom);
}

TEST_F(ExportRulesMenuTest, RuleLabels) {
  const char* const rule2[] = {"(None - DEFAULT)", "(Random)", "(Draw n-th Brush only)",
                               "(Draw n-th Section only)", "(Draw n-th Segment only)"};
  for (int m = 0; m < 5; ++m) {
    D_method2 = m;
    const std::string d = Drawing();
    EXPECT_NE(d.find("        | (2) Additional Rule [" + std::to_string(m) + "] " + rule2[m] + "\n"),
              std::string::npos);
    EXPECT_EQ(d.find("(8) Set N [1] (DEFAULT)\n") != std::string::npos, m >= 2) << m;
  }
}

TEST_F(ExportRulesMenuTest, KeysWithoutAListedOption) {
  struct Case {
    int method;
    const char* keys;  // each redraws the menu and changes nothing
  };
  const Case cases[] = {{ExportAll, "3456780 9"}, {ExportBrushRange, "6789"}, {5, "34567"}, {-1, "34567"}};
  for (const Case& c : cases) {
    D_method = c.method;
    const std::string d = Drawing();
    for (const char* k = c.keys; *k; ++k) {
      if (*k == ' ') continue;
      EXPECT_EQ(Run(std::string(1, *k) + "q"), d + d) << c.method << " key " << *k;
    }
    EXPECT_FALSE(firstrun) << c.method;
    EXPECT_EQ(D_method, c.method);
    EXPECT_FALSE(D_percent);
  }
}

TEST_F(ExportRulesMenuTest, OtherKeysWarnWithoutRedrawing) {
  const std::string d = Drawing();
  for (const char key : std::string("aQx-")) {
    EXPECT_EQ(Run(std::string(1, key) + "q"), d + kInvalidChoice) << key;
  }
  EXPECT_FALSE(firstrun);
}

TEST_F(ExportRulesMenuTest, RulesCycleAndValuesOutsideTheSetStartOver) {
  struct Case {
    int& rule;
    int start;
    const char* input;
    int expected;
  };
  const Case cases[] = {
      {D_method, 0, "1", 1},        {D_method, 0, "111", 0},      {D_method, 5, "1", 0},
      {D_method, -1, "1", 0},       {D_method2, 0, "2222", 4},    {D_method2, 0, "22222", 0},
      {D_method2, 7, "2", 0},       {D_method2, -3, "2", -2},
  };
  for (const Case& c : cases) {
    c.rule = c.start;
    firstrun = false;
    Run(std::string(c.input) + "q");
    EXPECT_EQ(c.rule, c.expected) << c.start << " " << c.input;
    EXPECT_TRUE(firstrun) << c.input;
  }
}

TEST_F(ExportRulesMenuTest, ARuleOutsideItsSetHasNoLabel) {
  D_method = 5;
  D_method2 = 9;
  EXPECT_EQ(Drawing(), kTop +
                           "        | (1) Export ... [5] \n"
                           "        | (2) Additional Rule [9] \n" +
                           kBottom);
}

TEST_F(ExportRulesMenuTest, BoundsAreAskedForAndTakenAsTyped) {
  struct Case {
    const char* input;
    const char* prompt;
    int& field;
    int expected;
  };
  const Case cases[] = {
      {"4 7", "[INPUT] Specify Start: (Currently: 1)\n", D_start, 7},
      {"5 -2", "[INPUT] Specify End: (Currently: 0)\n", D_end, -2},
      {"6 0", "[INPUT] Specify Start 2: (Currently: 1)\n", D_start2, 0},
      {"7 999", "[INPUT] Specify End 2: (Currently: 0)\n", D_end2, 999},
      {"8 0", "[INPUT] Specify N: (Currently: 1)\n", D_nth, 0},
  };
  for (const Case& c : cases) {
    ReSettings();
    D_method = ExportSectionRange;
    D_method2 = RuleNthSegment;
    firstrun = false;
    const std::string d = Drawing();
    const std::string out = Run(std::string(c.input) + " q");
    EXPECT_EQ(out.rfind(d + c.prompt, 0), 0u) << c.input;
    EXPECT_EQ(c.field, c.expected) << c.input;
    EXPECT_TRUE(firstrun) << c.input;
  }
  EXPECT_NE(Drawing().find("        | (8) Set N [0] \n"), std::string::npos);
}

TEST_F(ExportRulesMenuTest, SwitchingRulesKeepsTheBounds) {
  D_method = ExportSectionRange;
  D_start2 = 3;
  D_percent = true;
  D_nth = 4;
  Run("1 1 1 2 2 2 2 2 q");
  EXPECT_EQ(D_method, ExportSectionRange);
  EXPECT_EQ(D_start2, 3);
  EXPECT_TRUE(D_percent);
  EXPECT_EQ(D_nth, 4);
  EXPECT_NE(Drawing().find("        | (6) Start Segment [3] \n"), std::string::npos);
}

TEST_F(ExportRulesMenuTest, PercentToggles) {
  D_method = ExportBrushRange;
  Run("3 q");
  EXPECT_TRUE(D_percent);
  EXPECT_TRUE(firstrun);
  Run("3 q");
  EXPECT_FALSE(D_percent);
}

TEST_F(ExportRulesMenuTest, UnreadableNumbersAreAskedForAgain) {
  D_method = ExportBrushRange;
  const std::string out = Run("4 x\n5 q");
  const std::string prompt = "[INPUT] Specify Start: (Currently: 1)\n";
  EXPECT_NE(out.find(prompt + warn_invnumber + "\n" + prompt), std::string::npos);
  EXPECT_EQ(D_start, 5);
}

TEST_F(ExportRulesMenuTest, EndOfInputEndsTheMenu) {
  D_method = ExportBrushRange;
  for (const char* input : {"", "x", "4", "3"}) {
    EXPECT_TRUE(WithConsole(input, menu_draw).ended) << input;
  }
}
