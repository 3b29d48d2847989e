#include <gtest/gtest.h>

#include <string>

#include "console/Menus.h"
#include "settings/Settings.h"
#include "settings/Shape.h"
#include "support/ConsoleCapture.h"
#include "support/GlobalState.h"
#include "support/MenuText.h"

namespace {

class TexMenuTest : public ResetSettingsTest {
 protected:
  void Select(shape s) {
    SetShape(s);
    firstrun = false;
  }
  static std::string Run(const std::string& input) { return WithConsole(input, menu_tex).output; }
  static std::string Drawing() { return Run("q"); }
};

const std::string kTop = R"(    +---------------------------------------------+
    |                Textures Menu                |
    +---------------------------------------------+
    |
)";
const std::string kBottom = R"(    | (d) Load Default Textures
    | (q) Back to Sub Menu
    |
    +---------------------------------------------+
)";

// Shapes of one body slot, and shapes with inner body and floor slots.
const std::string kCylinder = kTop + R"(    | (1) Modify Outer Body Texture
    | (4) Modify NULL Texture
)" + kBottom;
const std::string kArch = kTop + R"(    | (1) Modify Outer Body Texture
    | (2) Modify Inner Body Texture
    | (3) Modify Floor Texture
    | (4) Modify NULL Texture
)" + kBottom;

}  // namespace

TEST_F(TexMenuTest, SlotsOfEachShape) {
  const std::pair<shape, const std::string*> cases[] = {
      {cylinder, &kCylinder}, {arch, &kArch}, {torus, &kCylinder}, {htorus, &kArch}, {sphere, &kCylinder}};
  for (const auto& [s, expected] : cases) {
    Select(s);
    EXPECT_EQ(Drawing(), *expected) << s;
  }
}

TEST_F(TexMenuTest, InnerSlotsOnlyWhereTheShapeHasThem) {
  for (const shape s : {cylinder, torus, sphere}) {
    Select(s);
    EXPECT_EQ(Run("2 3 q"), kCylinder + kCylinder + kCylinder) << s;
    EXPECT_FALSE(firstrun);
  }
  Select(htorus);
  EXPECT_NE(Run("2 q q").find("        | (a) Set Inner Body Texture ["), std::string::npos);
  EXPECT_NE(Run("3 q q").find("        | (a) Set Floor Texture ["), std::string::npos);
}

TEST_F(TexMenuTest, OtherKeysWarnWithoutRedrawing) {
  Select(cylinder);
  for (const char key : std::string("DQx5a")) {
    EXPECT_EQ(Run(std::string(1, key) + "q"), kCylinder + kInvalidChoice) << key;
  }
}

TEST_F(TexMenuTest, DefaultsRestoreOnlyTheNames) {
  Select(torus);
  def_tex1 = "D1";
  def_tex2 = "D2";
  def_tex3 = "D3";
  tex1 = tex2 = tex3 = texn = "TYPED";
  G_SizeX[0] = 64;
  G_ScaleY[1] = 2.0f;
  facealign[2] = true;
  EXPECT_EQ(Run("d q"), kCylinder + "[MESSAGE] Default Textures loaded!\n\n" + kCylinder);
  EXPECT_EQ(tex1, "D1");
  EXPECT_EQ(tex2, "D2");
  EXPECT_EQ(tex3, "D3");
  EXPECT_EQ(texn, "NULL");
  EXPECT_EQ(G_SizeX[0], 64);
  EXPECT_EQ(G_ScaleY[1], 2.0f);
  EXPECT_TRUE(facealign[2]);
  EXPECT_TRUE(firstrun);
}

TEST_F(TexMenuTest, DefaultsMarkStaleEvenWhenNothingChanges) {
  Select(arch);
  tex1 = def_tex1;
  Run("d q");
  EXPECT_TRUE(firstrun);
}

TEST_F(TexMenuTest, ChoicesTypedAheadOnOneLine) {
  Select(sphere);
  const std::string out = Run("1q\nq\n");
  const std::string slot = WithConsole("q", [] { menu_tex2(SlotOuter); }).output;
  EXPECT_EQ(out, kCylinder + slot + kCylinder);
  EXPECT_FALSE(firstrun) << "leaving a slot unchanged keeps the object current";
  EXPECT_NE(Run("4 q q").find("        | (a) Set NULL Texture [NULL] (default)\n"), std::string::npos);
}

TEST_F(TexMenuTest, EndOfInputEndsTheMenu) {
  Select(arch);
  for (const char* input : {"", "x", "1", "2 a"}) {
    EXPECT_TRUE(WithConsole(input, menu_tex).ended) << input;
  }
}
