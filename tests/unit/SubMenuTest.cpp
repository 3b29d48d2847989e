#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "console/Driver.h"
#include "console/Menus.h"
#include "generation/Brush.h"
#include "settings/Settings.h"
#include "settings/Shape.h"
#include "settings/Template.h"
#include "support/ConsoleCapture.h"
#include "support/GlobalState.h"
#include "support/GroupBuilders.h"
#include "support/MenuText.h"
#include "support/Process.h"

namespace {

// The cylinder chosen in the main menu of a fresh interactive run.
class SubMenuTest : public ResetSettingsTest {
 protected:
  void SetUp() override {
    ResetSettingsTest::SetUp();
    SetShape(cylinder);
    firstrun = true;
  }

  // Runs the sub menu on the input and returns its passes: each one is what
  // the previous key's action printed followed by the drawing. The session
  // stops at the end of the input, so the object it made is still there.
  static std::vector<std::string> Passes(const std::string& input) {
    return SplitPasses(WithConsoleCutAtEnd(input, menu_sub).output, kSubMenuClosing);
  }

  // A current object of one brush with one face, as a build leaves it.
  static void MakeCurrentObject(const vertex& corner) {
    SetCapacities(4, 4, 4);
    SetVerts(NewGroup(1, 1).brushes[0].faces[0], {corner});
    firstrun = false;
  }

};

const std::string kStaleCylinder = R"(  ++=====================================================++
  ||                      Sub Menu                       ||
  ++--------------------------+--------------------------++
  ||    Name: generated_cylinder                         ||
  ||    Path:                                            ||
  ||   Shape: Cylinder        | Brushes: N/A             ||
  ||   Res 1: 12              |    Size: N/A             ||
  ||   Res 2: 12              | Decimal: 0               ||
  ||   Rad 1: 128             |   Tex 1: TNNL_W1218      ||
  ||   Rad 2: 256             |   Tex 2: TNNL_W12C17     ||
  ||   Rad 3: 320             |   Tex 3: TNNL_W12C       ||
  ++-----------------------------------------------------++
  |
  | (l) Load Settings from Template File
  | (m) Change Mesh Properties
  | (t) Change Texture Properties
  | (g) Generate Cylinder
  | (d) Load default values
  | (q) Back to Main-Menu
  +------------------------------------------------------+
)";

}  // namespace

TEST_F(SubMenuTest, RightAfterAShapeChoice) {
  const ConsoleResult r = WithConsole("q", menu_sub);
  EXPECT_EQ(r.output, kStaleCylinder);
  EXPECT_FALSE(r.ended);
}

TEST_F(SubMenuTest, StatusBoxKeepsItsWidthWithValuesThatFit) {
  cfname = std::string(43, 'n');
  cfpath = std::string(43, 'p');
  tex1 = std::string(16, 't');
  rad = 123456.0f;
  const std::vector<std::string> lines = Lines(WithConsole("q", menu_sub).output);
  ASSERT_GE(lines.size(), 13u);
  for (std::size_t i = 0; i < 12; ++i) {
    EXPECT_EQ(lines[i].size(), 59u) << lines[i];
    EXPECT_EQ(lines[i].substr(lines[i].size() - 2), i == 0 || i == 2 || i == 11 ? "++" : "||");
  }
  for (std::size_t i = 5; i <= 10; ++i) EXPECT_EQ(lines[i][30], '|') << lines[i];
  EXPECT_EQ(lines.back().size(), 58u);
}

TEST_F(SubMenuTest, LongValuesArePrintedWholeAndPushTheFrame) {
  cfname = std::string(50, 'n');
  tex1 = "A_VERY_LONG_TEXTURE_NAME";
  const std::string out = WithConsole("q", menu_sub).output;
  EXPECT_NE(out.find("  ||    Name: " + cfname + "||\n"), std::string::npos);
  EXPECT_NE(out.find("  ||   Rad 1: 128             |   Tex 1: A_VERY_LONG_TEXTURE_NAME||\n"),
            std::string::npos);
}

TEST_F(SubMenuTest, KeysOutsideTheChoicesAndWithoutAction) {
  struct Case {
    const char* input;
    std::string expected;
  };
  const std::string& d = kStaleCylinder;
  const Case cases[] = {
      // inside 'a' to 't' without action: warning, then a new drawing
      {"b q", d + kInvalidChoice + d},
      {"r q", d + kInvalidChoice + d},
      // outside: warning, and the next key is read without a drawing
      {"z q", d + kInvalidChoice},
      {"1 q", d + kInvalidChoice},
      {"G q", d + kInvalidChoice},
      // hidden options of a stale object: a new drawing without warning
      {"s q", d + d},
      {"e q", d + d},
      {"o q", d + d},
      {"a q", d + d},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithConsole(c.input, menu_sub).output, c.expected) << c.input;
    EXPECT_TRUE(Gmessage.empty()) << c.input;
    EXPECT_FALSE(Group) << c.input;
  }
}

TEST_F(SubMenuTest, GeneratingTheCylinderMakesItCurrent) {
  const std::vector<std::string> passes = Passes("g b");
  ASSERT_EQ(passes.size(), 3u);
  const std::string& current = passes[1];
  EXPECT_NE(current.find("  ||   Shape: Cylinder        | Brushes: 1               ||\n"), std::string::npos);
  EXPECT_NE(current.find("  ||   Res 2: 12              | Decimal: 0               ||\n"), std::string::npos);
  EXPECT_EQ(current.find("[WARNING] Some vertices"), std::string::npos);
  EXPECT_NE(current.find(R"(  ++-----------------------------------------------------++
  |
  | (l) Load Settings from Template File
  | (m) Change Mesh Properties
  | (t) Change Texture Properties
  | (g) Generate Cylinder
  | (s) Show generated Cylinder
  | (e) Export generated Cylinder as Map-File
  | (o) Export generated Cylinder as OBJ-File
  | (d) Load default values (Deletes current object!)
  | (q) Back to Main-Menu
  |
  | [INFO] Cylinder generated
  |
  +------------------------------------------------------+
)"),
            std::string::npos)
      << current;
  EXPECT_EQ(passes[2].find("[INFO]"), std::string::npos) << "a message is shown once";
  EXPECT_FALSE(firstrun);
  ASSERT_TRUE(Group);
  EXPECT_EQ(Group->bcount, 1);
}

TEST_F(SubMenuTest, DefaultsMarkTheObjectStaleAndKeepItsCount) {
  cfname = "mine";
  rad = 64.0f;
  const std::vector<std::string> passes = Passes("g d b");
  ASSERT_EQ(passes.size(), 4u);
  const std::string& reset = passes[2];
  EXPECT_NE(reset.find("  ||    Name: generated_cylinder "), std::string::npos);
  EXPECT_NE(reset.find("| Brushes: 1 "), std::string::npos);
  EXPECT_NE(reset.find("  ||   Rad 1: 128 "), std::string::npos);
  EXPECT_NE(reset.find("  | (d) Load default values\n  | (q) Back to Main-Menu\n"), std::string::npos);
  EXPECT_EQ(reset.find("(s) Show"), std::string::npos);
  EXPECT_NE(reset.find("  |\n  | [INFO] Default Settings loaded\n  |\n"), std::string::npos);
  EXPECT_EQ(passes[3].find("[INFO]"), std::string::npos);
  EXPECT_TRUE(firstrun);
}

TEST_F(SubMenuTest, DecimalPlacesAreWarnedAboutAndEnlargingRemovesThem) {
  MakeCurrentObject({0.5f, 0.25f, 0.125f});
  CurrentDeci = 3;
  const std::vector<std::string> passes = Passes("a");
  ASSERT_EQ(passes.size(), 2u);
  EXPECT_NE(passes[0].find(R"(  ++-----------------------------------------------------++
  |
  | [WARNING] Some vertices of the generated mesh contain up to [3] decimal places.
  |           In order to open it correctly in most editors,
  |           you can increase its size by using the appropiate option (a)!
  |
  | (l) Load Settings from Template File
)"),
            std::string::npos);
  EXPECT_NE(passes[0].find("| Decimal: 3 "), std::string::npos);
  EXPECT_NE(passes[0].find("  | (d) Load default values (Deletes current object!)\n"
                           "  | (a) Automatically enlarge Model (to get rid of decimal places)\n"
                           "  | (q) Back to Main-Menu\n"),
            std::string::npos);

  const vertex& v = Group->brushes[0].faces[0].verts[0];
  EXPECT_EQ(v.x, 4.0f);
  EXPECT_EQ(v.y, 2.0f);
  EXPECT_EQ(v.z, 1.0f);
  EXPECT_EQ(Group->brushes[0].faces[0].scaleX, 8.0f);
  EXPECT_EQ(CurrentDeci, 0);
  EXPECT_EQ(last_transfactor, 0.125f);
  EXPECT_FALSE(firstrun) << "the enlarged object stays current";
  EXPECT_NE(passes[1].find("  |\n"
                           "  | [INFO] Size of the model was doubled (3) times\n"
                           "  |        To regain its original size later, scale it down by [0.125000]\n"
                           "  |\n"),
            std::string::npos);
  EXPECT_NE(passes[1].find("| Decimal: 0 "), std::string::npos);
  EXPECT_EQ(passes[1].find("[WARNING]"), std::string::npos);
  EXPECT_EQ(passes[1].find("(a)"), std::string::npos);
}

TEST_F(SubMenuTest, EnlargeActsWhileStaleWithoutBeingListed) {
  MakeCurrentObject({0.5f, 0.0f, 0.0f});
  firstrun = true;
  CurrentDeci = 2;
  const std::vector<std::string> passes = Passes("a");
  ASSERT_EQ(passes.size(), 2u);
  EXPECT_NE(passes[0].find("up to [2] decimal places"), std::string::npos);
  EXPECT_EQ(passes[0].find("(a) Automatically"), std::string::npos);
  EXPECT_EQ(Group->brushes[0].faces[0].verts[0].x, 2.0f);
  EXPECT_EQ(CurrentDeci, 0);
}

TEST_F(SubMenuTest, LeavingDiscardsTheObject) {
  WithConsole("g q", menu_sub);
  EXPECT_FALSE(Group);
  EXPECT_TRUE(firstrun);
  EXPECT_NE(WithConsole("q", menu_sub).output.find("| Brushes: N/A "), std::string::npos);
}

TEST_F(SubMenuTest, WithoutAShapeGenerateBuildsNothing) {
  ResetAllGlobals();
  ReSettings();
  const std::vector<std::string> passes = Passes("g");
  ASSERT_EQ(passes.size(), 2u);
  EXPECT_NE(passes[0].find("  ||   Shape: None            | Brushes: N/A "), std::string::npos);
  EXPECT_NE(passes[0].find("  | (g) Generate None\n"), std::string::npos);
  EXPECT_NE(passes[1].find("| Brushes: 0 "), std::string::npos);
  EXPECT_EQ(passes[1].find("[INFO]"), std::string::npos);
  EXPECT_TRUE(firstrun);
}

TEST_F(SubMenuTest, RadiiFollowTheConsolePrecisionAfterAListing) {
  MakeCurrentObject({1.0f, 2.0f, 3.0f});
  rad = 0.1f;
  const std::vector<std::string> passes = Passes("sk");  // k: the key the listing waits for
  ASSERT_EQ(passes.size(), 2u);
  EXPECT_NE(passes[0].find("  ||   Rad 1: 0.1             |"), std::string::npos);
  EXPECT_NE(passes[1].find("  ||   Rad 1: 0.1000000015    |"), std::string::npos);
  EXPECT_NE(passes[1].find("[MESSAGE] Display complete."), std::string::npos);
}

// The end of the input is the menu's q: it leaves, and a generated object
// goes with it. The template prompt loads nothing.
TEST_F(SubMenuTest, EndOfInputLeavesTheMenu) {
  for (const char* input : {"", "b", "g", "g b", "l", "l  \n", "m", "t 1 c 2"}) {
    SetShape(torus);
    rad = 64.0f;
    Gmessage.clear();
    const ConsoleResult r = WithConsole(input, menu_sub);
    EXPECT_TRUE(r.ended) << input;
    EXPECT_TRUE(firstrun) << input;
    EXPECT_FALSE(Group) << input;
    EXPECT_TRUE(IsTorus) << input;
    EXPECT_EQ(rad, 64.0f) << input;
    EXPECT_EQ(r.output.find("not available"), std::string::npos) << input;
  }
}

// ---- Template loads ----------------------------------------------------------

class SubMenuTemplateTest : public SubMenuTest {
 protected:
  TempDir dir_;
};

TEST_F(SubMenuTemplateTest, TheObjectIsNamedAfterTheTypedPath) {
  const std::string path = dir_.Write("arch1.kvt", "shape arch\nres 24\n");
  const std::string base = path.substr(0, path.size() - 4);  // only a backslash ends a directory
  const std::vector<std::string> passes = Passes("l " + path + "\n");
  ASSERT_EQ(passes.size(), 2u);
  EXPECT_EQ(passes[1].rfind("Enter template file name (and full path, in case it differs from "
                            "Root-folder):  ++====",
                            0),
            0u);
  EXPECT_EQ(cfname, base);
  EXPECT_EQ(cfpath, "");
  EXPECT_TRUE(IsArch);
  EXPECT_EQ(res, 24);
  EXPECT_TRUE(TempLoaded);
  EXPECT_TRUE(firstrun);
  EXPECT_NE(passes[1].find("  | [INFO] Settings from template file (" + base + ".kvt) loaded...\n"),
            std::string::npos);
  EXPECT_NE(passes[1].find("  ||   Shape: Arch  "), std::string::npos);
}

TEST_F(SubMenuTemplateTest, TheTemplatesOwnNameAndDirectoryWin) {
  const std::string path = dir_.Write("arch1.kvt", "shape torus\nfilename tube\nfilepath out\\\n");
  const std::vector<std::string> passes = Passes("l " + path + "\n");
  ASSERT_EQ(passes.size(), 2u);
  EXPECT_EQ(cfname, "tube");
  EXPECT_EQ(cfpath, "out\\");
  EXPECT_NE(passes[1].find("  | [INFO] Settings from template file (tube.kvt) loaded...\n"),
            std::string::npos);
  EXPECT_NE(passes[1].find("  ||    Path: out\\  "), std::string::npos);
}

TEST_F(SubMenuTemplateTest, AMissingTemplateLeavesTheDefaults) {
  res = 48;
  const std::string path = dir_.path() + "/arch1.kvt";
  const std::string base = dir_.path() + "/arch1";
  const std::vector<std::string> passes = Passes("l " + path + "\n");
  ASSERT_EQ(passes.size(), 2u);
  EXPECT_EQ(res, 12);
  EXPECT_TRUE(IsCylinder) << "the shape stays selected";
  EXPECT_EQ(cfname, base);
  EXPECT_NE(passes[1].find("  |\n  | [INFO] File \"" + base + "\" not available...\n  |\n"),
            std::string::npos);
  EXPECT_EQ(passes[1].find("Settings from template"), std::string::npos);
}

// ---- Export ------------------------------------------------------------------

class SubMenuExportTest : public SubMenuTest {
 protected:
  void SetUp() override {
    SubMenuTest::SetUp();
    cfpath = dir_.path() + "/";
    cfname = "tube";
    MakeCurrentObject({1.0f, 2.0f, 3.0f});
  }
  TempDir dir_;
};

TEST_F(SubMenuExportTest, ExportWritesTheFileAndConfirms) {
  struct Case {
    const char* key;
    const char* file;
    const char* message;
  };
  const Case cases[] = {{"e", "tube.map", "  | [INFO] Cylinder exported as MAP-File\n"},
                        {"o", "tube.obj", "  | [INFO] Cylinder exported as OBJ-File\n"}};
  for (const Case& c : cases) {
    const std::vector<std::string> passes = Passes(c.key);
    ASSERT_EQ(passes.size(), 2u) << c.key;
    EXPECT_TRUE(dir_.Exists(c.file)) << c.key;
    EXPECT_NE(passes[1].find(c.message), std::string::npos) << c.key;
    EXPECT_FALSE(ExportFailed);
  }
}

// The failure is the pending status message: shown once, inside the redrawn
// menu just above its closing line, instead of above the menu where it would
// scroll away.
TEST_F(SubMenuExportTest, AFileThatCannotBeCreatedIsShownInTheMenu) {
  std::filesystem::create_directory(dir_.path() + "/tube.map");  // in the way of both files
  std::filesystem::create_directory(dir_.path() + "/tube.obj");
  for (const char* key : {"e", "o"}) {
    ExportFailed = false;
    const std::string file = dir_.path() + (key[0] == 'e' ? "/tube.map" : "/tube.obj");
    const std::vector<std::string> passes = Passes(std::string(key) + "a");  // a: redraw only
    ASSERT_EQ(passes.size(), 3u) << key;
    EXPECT_EQ(passes[1].rfind("  ++====", 0), 0u) << key << ": nothing before the menu";
    const std::string shown = "  |\n  | [WARNING] Could not create the file \"" + file + "\"!\n  |\n" + kSubMenuClosing;
    EXPECT_EQ(passes[1].substr(passes[1].size() - std::min(shown.size(), passes[1].size())), shown) << key;
    EXPECT_EQ(passes[1].find("exported as"), std::string::npos) << key;
    EXPECT_EQ(passes[2].find("[WARNING]"), std::string::npos) << key << ": shown once";
    EXPECT_TRUE(ExportFailed) << key;
  }
}
