#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "console/ConsoleInput.h"
#include "console/Menus.h"
#include "settings/Settings.h"
#include "settings/Shape.h"
#include "support/ConsoleCapture.h"
#include "support/GlobalState.h"

namespace {

// An object that was current, with decimal places recorded, so that the
// tests see what a change forgets.
class PropsMenuTest : public ResetSettingsTest {
 protected:
  void Select(shape s) {
    SetShape(s);
    firstrun = false;
    CurrentDeci = 3;
  }
  static std::string Run(const std::string& input) { return WithConsole(input, menu_props).output; }
  static std::string Drawing() { return Run("q"); }
};

const std::string kHollowTorusDefaults = R"(    +---------------------------------------------+
    |            Mesh Properties Menu             |
    +---------------------------------------------+
    |
    | (1) Specify Resolution 1 [12] (default)
    | (2) Specify Resolution 2 [12] (default)
    | (3) Specify Radius 1 [128] (default)
    | (4) Specify Radius 2 [256] (default)
    | (5) Specify Radius 3 [320] (default)
    | (s) Add Symmetry Lines [OFF]
    | (d) Limit Brush Export
    | (q) Back
    +---------------------------------------------+
)";

// The keys of the "    | (k) " lines of a drawing, in order.
std::string ListedKeys(const std::string& drawing) {
  std::string keys;
  const std::string head = "    | (";
  for (std::size_t p = drawing.find(head); p != std::string::npos; p = drawing.find(head, p + 1)) {
    keys.push_back(drawing[p + head.size()]);
  }
  return keys;
}

const shape kShapes[] = {cylinder, arch, torus, htorus, sphere};

}  // namespace

TEST_F(PropsMenuTest, HollowTorusAtTheDefaults) {
  Select(htorus);
  EXPECT_EQ(Drawing(), kHollowTorusDefaults);
}

TEST_F(PropsMenuTest, EachShapeListsItsOptions) {
  const std::string listed[] = {"13q", "135sdtq", "1235sdq", "12345sdq", "13sdq"};
  for (int i = 0; i < 5; ++i) {
    Select(kShapes[i]);
    EXPECT_EQ(ListedKeys(Drawing()), listed[i]) << i;
  }
  Select(arch);
  Sym = Tri = true;
  rad3 = 400.0f;
  const std::string drawing = Drawing();
  EXPECT_NE(drawing.find("    | (5) Specify Radius 3 [400]\n"), std::string::npos);
  EXPECT_NE(drawing.find("    | (s) Add Symmetry Lines [ON]\n"), std::string::npos);
  EXPECT_NE(drawing.find("    | (t) Triangulate [ON]\n"), std::string::npos);
}

TEST_F(PropsMenuTest, UnlistedKeysRedrawAndOthersWarn) {
  for (const shape s : kShapes) {
    Select(s);
    const std::string d = Drawing();
    const std::string listed = ListedKeys(d);
    for (const char key : std::string("12345dst")) {
      if (listed.find(key) != std::string::npos) continue;
      EXPECT_EQ(Run(std::string(1, key) + "q"), d + d) << s << key;
      EXPECT_FALSE(firstrun) << s << key;
      EXPECT_EQ(CurrentDeci, 3) << s << key;
    }
    for (const char key : std::string("xQ6a")) {
      EXPECT_EQ(Run(std::string(1, key) + "q"), d + "[WARNING] Invalid choice!\n") << s << key;
    }
  }
}

TEST_F(PropsMenuTest, ResolutionIsAskedForUntilValid) {
  Select(torus);
  const std::string d = Drawing();
  const std::string out = Run("1 36 abc\n24 q");
  const std::string prompt = "[INPUT] Resolution 1 (must be 12, 24, 48, 96 or 192): (Currently: 12)\n";
  const std::string warning = "[WARNING] Entered number \"36\" invalid (must be 12, 24, 48, 96,...)! Please enter again: \n";
  const std::string expected = prompt + warning + warn_invnumber + "\n" + warning;
  EXPECT_EQ(out.rfind(d + expected, 0), 0u) << out;
  EXPECT_EQ(res, 24);
  EXPECT_NE(out.find("    | (1) Specify Resolution 1 [24]\n"), std::string::npos);
  EXPECT_TRUE(firstrun);
  EXPECT_EQ(CurrentDeci, 0);

  Select(torus);
  const std::string out2 = Run("2 48 q");
  EXPECT_NE(out2.find("[INPUT] Resolution 2 (must be 12, 24, 48, 96 or 192): (Currently: 12)\n"),
            std::string::npos);
  EXPECT_EQ(res2, 48);
}

TEST_F(PropsMenuTest, TheSameResolutionStillMarksTheObjectStale) {
  Select(cylinder);
  Run("1 12 q");
  EXPECT_EQ(res, 12);
  EXPECT_TRUE(firstrun);
  EXPECT_EQ(CurrentDeci, 0);
}

TEST_F(PropsMenuTest, RadiiPushTheOuterRadii) {
  struct Case {
    shape s;
    const char* input;
    float rad, rad2, rad3;
  };
  const Case cases[] = {
      {htorus, "3 300", 300, 428, 320},  {htorus, "3 400", 400, 528, 592},
      {arch, "3 400", 400, 528, 320},    {torus, "3 400", 400, 528, 320},
      {cylinder, "3 400", 400, 256, 320}, {sphere, "3 -5", -5, 256, 320},
      {htorus, "3 64", 64, 256, 320},    {htorus, "4 400", 128, 400, 464},
      {htorus, "4 300", 128, 300, 320},  {htorus, "5 330", 128, 256, 330},
      {arch, "5 200", 128, 256, 200},    {torus, "5 129.5", 128, 256, 129.5f},
      // reaching a radius exactly pushes it too
      {htorus, "3 320", 320, 448, 512},  {arch, "3 256", 256, 384, 320},
      {htorus, "4 320", 128, 320, 384},
  };
  for (const Case& c : cases) {
    ReSettings();
    Select(c.s);
    Run(std::string(c.input) + " q");
    EXPECT_EQ(rad, c.rad) << c.input << " shape " << c.s;
    EXPECT_EQ(rad2, c.rad2) << c.input << " shape " << c.s;
    EXPECT_EQ(rad3, c.rad3) << c.input << " shape " << c.s;
    EXPECT_TRUE(firstrun) << c.input;
    EXPECT_EQ(CurrentDeci, 0) << c.input;
  }
}

TEST_F(PropsMenuTest, AnUnchangedRadiusChangesNothing) {
  for (const char* input : {"3 128", "4 256", "5 320"}) {
    Select(htorus);
    Run(std::string(input) + " q");
    EXPECT_FALSE(firstrun) << input;
    EXPECT_EQ(CurrentDeci, 3) << input;
  }
}

TEST_F(PropsMenuTest, RadiiNotAboveTheirInnerRadiusAreRefused) {
  struct Case {
    shape s;
    const char* input;
    std::string warningAndPrompt;
    float rad2, rad3;
  };
  const Case cases[] = {
      {htorus, "4 128 300",
       "[WARNING] Radius 2 must be greater than Radius 1 (128) !\n[INPUT] Specify Radius 2: (Currently: 256)\n",
       300, 320},
      {htorus, "5 200 330",
       "[WARNING] Radius 3 must be greater than Radius 2 (256) !\n[INPUT] Specify Radius 3: (Currently: 320)\n",
       256, 330},
      {arch, "5 100 330",
       "[WARNING] Radius 3 must be greater than Radius 1 (128) !\n[INPUT] Specify Radius 3: (Currently: 320)\n",
       256, 330},
  };
  for (const Case& c : cases) {
    ReSettings();
    Select(c.s);
    const std::string out = Run(std::string(c.input) + " q");
    EXPECT_NE(out.find(c.warningAndPrompt), std::string::npos) << c.input << "\n" << out;
    EXPECT_EQ(rad2, c.rad2) << c.input;
    EXPECT_EQ(rad3, c.rad3) << c.input;
  }
}

TEST_F(PropsMenuTest, SwitchesToggleAndMarkStale) {
  Select(arch);
  Run("s q");
  EXPECT_TRUE(Sym);
  EXPECT_TRUE(firstrun);
  EXPECT_EQ(CurrentDeci, 3) << "switches keep the decimal places";
  Run("s t t t q");
  EXPECT_FALSE(Sym);
  EXPECT_TRUE(Tri);
}

TEST_F(PropsMenuTest, ExportRulesOpenAndReturnHere) {
  Select(sphere);
  const std::string d = Drawing();
  const std::string out = Run("d q q");
  ASSERT_EQ(out.rfind(d, 0), 0u);
  EXPECT_EQ(out.substr(d.size()).rfind("        +---------------------------------+\n"
                                       "        |           Export Rules          |\n",
                                       0),
            0u);
  EXPECT_EQ(out.substr(out.size() - d.size()), d);
  EXPECT_FALSE(firstrun) << "opening the rules changes nothing";
}

TEST_F(PropsMenuTest, RadiiFollowTheConsolePrecision) {
  Select(htorus);
  rad = 0.1f;
  std::cout.precision(10);
  const std::string out = Run("3 0.1 4 0.1 q");
  EXPECT_NE(out.find("    | (3) Specify Radius 1 [0.1000000015]\n"), std::string::npos);
  EXPECT_NE(out.find("[INPUT] Specify Radius 1: (Currently: 0.1000000015)\n"), std::string::npos);
  EXPECT_NE(out.find("[WARNING] Radius 2 must be greater than Radius 1 (0.1000000015) !\n"),
            std::string::npos);
}

TEST_F(PropsMenuTest, UnreadableNumbersAreAskedForAgain) {
  Select(sphere);
  const std::string out = Run("3 abc def\n64 q");
  const std::string prompt = "[INPUT] Specify Radius 1: (Currently: 128)\n";
  EXPECT_NE(out.find(prompt + warn_invnumber + "\n" + prompt), std::string::npos);
  EXPECT_EQ(rad, 64.0f);
}

TEST_F(PropsMenuTest, EndOfInputEndsTheMenu) {
  Select(htorus);
  for (const char* input : {"", "x", "1", "1 36", "3", "4 100", "5 1"}) {
    EXPECT_TRUE(WithConsole(input, menu_props).ended) << input;
  }
  EXPECT_EQ(res, 12) << "a refused resolution is never stored";
}
