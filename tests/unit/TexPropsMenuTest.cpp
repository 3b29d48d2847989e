#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <iostream>
#include <string>

#include "console/ConsoleInput.h"
#include "console/Menus.h"
#include "settings/Settings.h"
#include "settings/Shape.h"
#include "support/ConsoleCapture.h"
#include "support/GlobalState.h"
#include "support/MenuText.h"

namespace {

// A current object, so that the tests see which keys mark it stale.
class TexPropsMenuTest : public ResetSettingsTest {
 protected:
  void Select(shape s) {
    SetShape(s);
    firstrun = false;
  }
  static ConsoleResult Run(int slot, const std::string& input) {
    return WithConsole(input, [slot] { menu_tex2(slot); });
  }
  static std::string Drawing(int slot) { return Run(slot, "q").output; }
};

const std::string kTop = R"(        +------------------------------+
        |    Set Texture Properties    |
        +------------------------------+
)";
const std::string kBack = R"(        | (q) Back
        +------------------------------+
)";

// Options (b) to (g) at the defaults.
const std::string kSizeToAlignmentDefaults = R"(        | (b) Set Texture Size X/Y [128] [128] (default)
        | (c) Set Texture Scale X/Y [1] [1] (default)
        | (d) Toggle Alternative Scale Source [Global] (default)
        | (e) Set Texture Shift X/Y [0] [0] (default)
        | (f) Switch Texture Rotation [0] (default)
        | (g) Toggle Texture Alignment [World]
)";
const std::string kVerticalDefaults = R"(        |
        | ...... Vertical Wrapping .......
        | (i) Toggle Texture Wrapping [OFF]
        | (j) Toggle Seamless Texture Wrapping [OFF]
        | (k) Set Wrapping Amount [0] [Auto]
        | .............................
        |
)";

const std::string kArchOuterDefaults = kTop + "        | (a) Set Outer Body Texture [TNNL_W12C16] (default)\n" +
                                       kSizeToAlignmentDefaults + "        | (h) Enable Texture Shear [OFF]\n" +
                                       kVerticalDefaults + R"(        | ...... Horizontal Wrapping .......
        | (l) Toggle Horizontal Wrapping [OFF]
        | (m) Toggle Seamless Horizontal Wrapping [OFF]
        | (n) Set Horizontal Wrapping Amount [0] [Auto]
        | (o) Set H-Range Source-Face [Outer <3>] (default)
        | .............................
        |
)" + kBack;

// The arch's drawing without (h) and the horizontal block.
const std::string kCylinderOuterDefaults = kTop + "        | (a) Set Outer Body Texture [TNNL_W1218] (default)\n" +
                                           kSizeToAlignmentDefaults + kVerticalDefaults + kBack;

const std::string kNullSlot = kTop + "        | (a) Set NULL Texture [NULL] (default)\n" + kBack;

}  // namespace

TEST_F(TexPropsMenuTest, ArchOuterBodyAtTheDefaults) {
  Select(arch);
  EXPECT_EQ(Drawing(SlotOuter), kArchOuterDefaults);
}

TEST_F(TexPropsMenuTest, CylinderHasNoShearAndNoHorizontalBlock) {
  Select(cylinder);
  EXPECT_EQ(Drawing(SlotOuter), kCylinderOuterDefaults);
}

TEST_F(TexPropsMenuTest, TheHiddenSlotHasOnlyItsName) {
  for (const shape s : {cylinder, htorus}) {
    Select(s);
    EXPECT_EQ(Drawing(SlotNull), kNullSlot);
  }
}

TEST_F(TexPropsMenuTest, TheFloorHasNoHRangeSource) {
  Select(htorus);
  const std::string d = Drawing(SlotFloor);
  EXPECT_TRUE(Contains(d, "        | (a) Set Floor Texture [C3A2B_REAC5] (default)\n"));
  EXPECT_TRUE(Contains(d, "        | (n) Set Horizontal Wrapping Amount [0] [Auto]\n"
                          "        | .............................\n"));
  EXPECT_FALSE(Contains(d, "(o)"));
}

TEST_F(TexPropsMenuTest, ValuesOffTheirDefaults) {
  Select(htorus);
  const int s = SlotInner;
  tex2 = "MYTEX";
  G_SizeX[s] = 64;
  G_ScaleX[s] = 0.5f;
  G_ScaleY[s] = 2.0f;
  SYMethod[s] = ScaleSrcCustom;
  G_ShiftX[s] = -8.0f;
  G_Rot[s] = 270.0f;
  facealign[s] = Shear[s] = wrapping[s] = seamless[s] = Hwrapping[s] = true;
  wrapam[s] = 3;
  Hwrapam[s] = 2;
  G_HFMethod[s] = HRangeCustom;
  G_HFace[s] = 7;
  EXPECT_EQ(Drawing(s), kTop + R"(        | (a) Set Inner Body Texture [MYTEX]
        | (b) Set Texture Size X/Y [64] [128]
        | (c) Set Texture Scale X/Y [0.5] [2]
        | (d) Toggle Alternative Scale Source [Custom]
        | (e) Set Texture Shift X/Y [-8] [0]
        | (f) Switch Texture Rotation [270]
        | (g) Toggle Texture Alignment [Face]
        | (h) Enable Texture Shear [ON]
        |
        | ...... Vertical Wrapping .......
        | (i) Toggle Texture Wrapping [ON]
        | (j) Toggle Seamless Texture Wrapping [ON]
        | (k) Set Wrapping Amount [3] [Custom]
        | .............................
        |
        | ...... Horizontal Wrapping .......
        | (l) Toggle Horizontal Wrapping [ON]
        | (m) Toggle Seamless Horizontal Wrapping [OFF]
        | (n) Set Horizontal Wrapping Amount [2] [Custom]
        | (o) Set H-Range Source-Face [Custom <8>]
        | .............................
        |
)" + kBack);
}

TEST_F(TexPropsMenuTest, KeysWithoutAListedOptionChangeNothing) {
  struct Case {
    shape s;
    int slot;
    const char* keys;
  };
  const Case cases[] = {
      {arch, SlotNull, "bcdefghijklmnopr"},
      {cylinder, SlotOuter, "hlmnopr"},
      {arch, SlotFloor, "opr"},
      {htorus, SlotInner, "pr"},
  };
  for (const Case& c : cases) {
    Select(c.s);
    const std::string d = Drawing(c.slot);
    for (const char* k = c.keys; *k; ++k) {
      EXPECT_EQ(Run(c.slot, std::string(1, *k) + "q").output, d + d) << c.slot << " key " << *k;
    }
    EXPECT_FALSE(firstrun) << c.slot;
    EXPECT_EQ(Drawing(c.slot), d);
  }
}

TEST_F(TexPropsMenuTest, OtherKeysWarnWithoutRedrawing) {
  Select(torus);
  const std::string d = Drawing(SlotOuter);
  for (const char key : std::string("ABQs1z")) {
    EXPECT_EQ(Run(SlotOuter, std::string(1, key) + "q").output, d + kInvalidChoice) << key;
  }
  EXPECT_FALSE(firstrun);
}

TEST_F(TexPropsMenuTest, EveryChangeMarksTheObjectStale) {
  struct Case {
    const char* input;
    std::function<bool()> changed;
  };
  const int s = SlotOuter;
  const Case cases[] = {
      {"a NAME1", [] { return tex1 == "NAME1"; }},
      {"b 64 32", [] { return G_SizeX[0] == 64 && G_SizeY[0] == 32; }},
      {"c 2 -0.5", [] { return G_ScaleX[0] == 2.0f && G_ScaleY[0] == -0.5f; }},
      {"d", [] { return SYMethod[0] == ScaleSrcMatchX; }},
      {"e 1.5 -3", [] { return G_ShiftX[0] == 1.5f && G_ShiftY[0] == -3.0f; }},
      {"f", [] { return G_Rot[0] == 90.0f; }},
      {"g", [] { return facealign[0]; }},
      {"h", [] { return Shear[0]; }},
      {"i", [] { return wrapping[0]; }},
      {"j", [] { return seamless[0]; }},
      {"k 5", [] { return wrapam[0] == 5; }},
      {"l", [] { return Hwrapping[0]; }},
      {"m", [] { return Hseamless[0]; }},
      {"n -4", [] { return Hwrapam[0] == -4; }},
      {"o", [] { return G_HFMethod[0] == HRangeLower; }},
      {"b 128 128", [] { return G_SizeX[0] == 128; }},  // the same values count as a change
      {"g g", [] { return !facealign[0]; }},
  };
  for (const Case& c : cases) {
    ReSettings();
    Select(torus);
    const ConsoleResult r = Run(s, std::string(c.input) + " q");
    EXPECT_FALSE(r.ended) << c.input;
    EXPECT_TRUE(c.changed()) << c.input;
    EXPECT_TRUE(firstrun) << c.input;
  }
  Select(torus);
  Run(s, "q");
  EXPECT_FALSE(firstrun);
}

TEST_F(TexPropsMenuTest, PromptsShowTheCurrentValues) {
  Select(arch);
  const int s = SlotFloor;
  tex3 = "FLOOR";
  G_ScaleX[s] = 0.1f;
  G_ShiftY[s] = 2.5f;
  wrapam[s] = 7;
  const std::string out = Run(s, "a F2 b 16 8 c 1 1 e 0 0 k 0 n 1 q").output;
  for (const char* prompt : {
           "[INPUT] Texture 3 Name: (Currently: FLOOR)\n",
           "[INPUT] New Texture Size X: (Currently: 128)\n",
           "[INPUT] New Texture Size Y: (Currently: 128)\n",
           "[INPUT] New Texture Scale X: (Currently: 0.1)\n",
           "[INPUT] New Texture Scale Y: (Currently: 1)\n",
           "[INPUT] New Texture Shift X: (Currently: 0)\n",
           "[INPUT] New Texture Shift Y: (Currently: 2.5)\n",
           "[INPUT] New Texture Wrapping Amount: (Currently: 7)\n",
           "[INPUT] New Horizontal Wrapping Amount: (Currently: 0)\n",
       }) {
    EXPECT_TRUE(Contains(out, prompt)) << prompt;
  }
  const std::pair<int, const char*> names[] = {
      {SlotOuter, "[INPUT] Texture 1 Name: (Currently: "},
      {SlotInner, "[INPUT] Texture 2 Name: (Currently: "},
      {SlotNull, "[INPUT] Hidden Texture Name: (Currently: NULL)\n"}};
  for (const auto& [slot, prompt] : names) {
    EXPECT_TRUE(Contains(Run(slot, "a X q").output, prompt)) << slot;
  }
  EXPECT_EQ(tex3, "F2");
  EXPECT_EQ(texn, "X");
}

TEST_F(TexPropsMenuTest, ANameTypedAheadLeavesTheRestForTheMenu) {
  Select(sphere);
  const ConsoleResult r = Run(SlotNull, "a NAME1 q\n");
  EXPECT_FALSE(r.ended);
  EXPECT_EQ(texn, "NAME1");
  EXPECT_EQ(r.output, kNullSlot + "[INPUT] Hidden Texture Name: (Currently: NULL)\n" + kTop +
                          "        | (a) Set NULL Texture [NAME1]\n" + kBack);
}

TEST_F(TexPropsMenuTest, RotationExchangesTheSizes) {
  Select(arch);
  G_SizeY[0] = 64;
  Run(SlotOuter, "f q");
  EXPECT_EQ(G_Rot[0], 90.0f);
  EXPECT_EQ(G_SizeX[0], 64);
  EXPECT_EQ(G_SizeY[0], 128);
  EXPECT_TRUE(Contains(Drawing(SlotOuter), "        | (f) Switch Texture Rotation [90]\n"));
  Run(SlotOuter, "f f q");
  EXPECT_EQ(G_Rot[0], 270.0f);
  Run(SlotOuter, "f q");
  EXPECT_EQ(G_Rot[0], 0.0f);
  EXPECT_EQ(G_SizeX[0], 128);
  EXPECT_EQ(G_SizeY[0], 64);
  EXPECT_TRUE(Contains(Drawing(SlotOuter), "        | (b) Set Texture Size X/Y [128] [64]\n"));
}

TEST_F(TexPropsMenuTest, ScaleSourceCyclesAndValuesOutsideStartOver) {
  Select(arch);
  const char* const labels[] = {" [Global] (default)", " [Match X Scale] (Auto)",
                                " [Round X Scale] (Auto)", " [Custom]", " [Global] (default)"};
  for (const char* label : labels) {
    EXPECT_TRUE(Contains(Drawing(SlotInner),
                         std::string("        | (d) Toggle Alternative Scale Source") + label + "\n"))
        << label;
    Run(SlotInner, "d q");
  }
  SYMethod[1] = 7;
  EXPECT_TRUE(Contains(Drawing(SlotInner), "        | (d) Toggle Alternative Scale Source\n"));
  Run(SlotInner, "d q");
  EXPECT_EQ(SYMethod[1], 0);
  SYMethod[1] = -2;
  Run(SlotInner, "d q");
  EXPECT_EQ(SYMethod[1], -1);
}

TEST_F(TexPropsMenuTest, HRangeLabelsFollowTheFacesOffered) {
  struct Case {
    shape s;
    int res;
    bool sym;
    const char* outer;
    const char* lower;
    const char* inner;
    const char* upper;
  };
  const Case cases[] = {
      {sphere, 12, false, "1.5", "3", "4.5", "6"},
      {htorus, 12, true, "4", "8", "12", "16"},
      {htorus, 12, false, "3", "6", "9", "12"},
      {torus, 24, false, "6", "12", "18", "24"},
      {torus, 12, true, "3", "6", "9", "12"},  // symmetry lines add faces on the hollow torus only
  };
  for (const Case& c : cases) {
    Select(c.s);
    res = c.res;
    Sym = c.sym;
    G_HFMethod[0] = HRangeOuter;
    const std::string prefix = "        | (o) Set H-Range Source-Face";
    EXPECT_TRUE(Contains(Drawing(SlotOuter), prefix + " [Outer <" + c.outer + ">] (default)\n")) << c.s;
    const std::string out = Run(SlotOuter, "o o o q").output;
    EXPECT_TRUE(Contains(out, prefix + " [Lower <" + c.lower + ">]\n")) << c.s;
    EXPECT_TRUE(Contains(out, prefix + " [Inner <" + c.inner + ">]\n")) << c.s;
    EXPECT_TRUE(Contains(out, prefix + " [Upper <" + c.upper + ">]\n")) << c.s;
    EXPECT_FALSE(Contains(out, "[INPUT]")) << c.s;
    EXPECT_EQ(G_HFMethod[0], HRangeUpper);
  }
  G_HFMethod[0] = 9;
  EXPECT_TRUE(Contains(Drawing(SlotOuter), "        | (o) Set H-Range Source-Face\n"));
}

TEST_F(TexPropsMenuTest, TheCustomFaceIsAskedForAndKeptWithinTheFaces) {
  struct Case {
    shape s;
    int res;
    bool sym;
    int answer;
    int stored;
    std::string prompt;
  };
  const std::string sphereMax = "max Faces: 6)\n";
  const Case cases[] = {
      {sphere, 12, false, 9, 5, sphereMax},
      {sphere, 12, false, 6, 5, sphereMax},
      {sphere, 12, false, 1, 0, sphereMax},
      {sphere, 12, false, 0, 0, sphereMax},
      {torus, 24, false, -3, 0, "max Faces: 24)\n"},
      {htorus, 12, true, 16, 15, "max Faces: 16)\n"},
      {htorus, 12, true, 17, 15, "max Faces: 16)\n"},
      {torus, 12, false, INT_MIN, 0, "max Faces: 12)\n"},
      {torus, 12, false, INT_MAX, 11, "max Faces: 12)\n"},
  };
  for (const Case& c : cases) {
    Select(c.s);
    res = c.res;
    Sym = c.sym;
    G_HFMethod[0] = HRangeUpper;
    G_HFace[0] = 2;
    const std::string out = Run(SlotOuter, "o " + std::to_string(c.answer) + " q").output;
    EXPECT_TRUE(Contains(out, "[INPUT] Custom H-Range Source-Face: (Currently: 3, " + c.prompt))
        << c.answer;
    EXPECT_EQ(G_HFMethod[0], HRangeCustom);
    EXPECT_EQ(G_HFace[0], c.stored) << c.answer;
    EXPECT_TRUE(Contains(Drawing(SlotOuter),
                         " [Custom <" + std::to_string(c.stored + 1) + ">]\n"))
        << c.answer;
  }
  // Leaving the custom method asks nothing and keeps the face.
  const std::string out = Run(SlotOuter, "o q").output;
  EXPECT_FALSE(Contains(out, "[INPUT]"));
  EXPECT_EQ(G_HFMethod[0], HRangeOuter);
  EXPECT_EQ(G_HFace[0], 11);
}

TEST_F(TexPropsMenuTest, SizesOfZeroOrLessAndScalesOfZeroAreAskedForAgain) {
  Select(arch);
  const std::string out = Run(SlotOuter, "b 0 -5 64 32 c 0 2 0 0.5 q").output;
  const std::string sizeX = "[INPUT] New Texture Size X: (Currently: 128)\n";
  const std::string sizeWarning = "[WARNING] Texture size must be greater than 0 !\n";
  EXPECT_TRUE(Contains(out, sizeX + sizeWarning + sizeX + sizeWarning + sizeX +
                                "[INPUT] New Texture Size Y: (Currently: 128)\n"));
  const std::string scaleY = "[INPUT] New Texture Scale Y: (Currently: 1)\n";
  EXPECT_TRUE(Contains(out, scaleY + "[WARNING] Texture scale must not be 0 !\n" + scaleY));
  EXPECT_EQ(G_SizeX[0], 64);
  EXPECT_EQ(G_SizeY[0], 32);
  EXPECT_EQ(G_ScaleX[0], 2.0f);
  EXPECT_EQ(G_ScaleY[0], 0.5f);
}

TEST_F(TexPropsMenuTest, UnreadableNumbersAreAskedForAgain) {
  Select(torus);
  const std::string out = Run(SlotOuter, "c x y\n2 3 k 1.5x\nq").output;
  const std::string prompt = "[INPUT] New Texture Scale X: (Currently: 1)\n";
  EXPECT_TRUE(Contains(out, prompt + warn_invnumber + "\n" + prompt));
  EXPECT_EQ(G_ScaleX[0], 2.0f);
  EXPECT_EQ(G_ScaleY[0], 3.0f);
  EXPECT_EQ(wrapam[0], 1) << "an integer takes the leading digits";
}

TEST_F(TexPropsMenuTest, FloatsFollowTheConsolePrecision) {
  Select(arch);
  G_ScaleX[0] = 0.1f;
  EXPECT_TRUE(Contains(Drawing(SlotOuter), "        | (c) Set Texture Scale X/Y [0.1] [1]\n"));
  std::cout.precision(10);
  const std::string out = Run(SlotOuter, "c 1 1 q").output;
  EXPECT_TRUE(Contains(out, "        | (c) Set Texture Scale X/Y [0.1000000015] [1]\n"));
  EXPECT_TRUE(Contains(out, "[INPUT] New Texture Scale X: (Currently: 0.1000000015)\n"));
  EXPECT_TRUE(Contains(out, "        | (c) Set Texture Scale X/Y [1] [1] (default)\n"));
}

// The end of the input leaves the menu; a prompt it cuts off keeps the value
// it would have changed, also after a refused answer.
TEST_F(TexPropsMenuTest, EndOfInputEndsTheMenu) {
  Select(htorus);
  for (const char* input : {"", "x", "a", "b 64", "c", "e 1", "k", "n", "o o o o", "b 0", "c 2 0"}) {
    EXPECT_TRUE(Run(SlotOuter, input).ended) << input;
  }
  EXPECT_EQ(tex1, def_tex1);
  EXPECT_EQ(G_SizeX[0], 64);
  EXPECT_EQ(G_SizeY[0], 128);
  EXPECT_EQ(G_ScaleX[0], 2.0f);
  EXPECT_EQ(G_ScaleY[0], 1.0f);
  EXPECT_EQ(G_ShiftX[0], 1.0f);
  EXPECT_EQ(G_ShiftY[0], 0.0f);
  EXPECT_EQ(wrapam[0], 0);
  EXPECT_EQ(Hwrapam[0], 0);
  EXPECT_EQ(G_HFMethod[0], HRangeCustom);
  EXPECT_EQ(G_HFace[0], 0);
}
