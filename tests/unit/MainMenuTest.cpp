#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/Menus.h"
#include "settings/Settings.h"
#include "support/ConsoleCapture.h"
#include "support/GlobalState.h"
#include "support/MenuText.h"
#include "support/Process.h"

namespace {

// The interactive run after the driver's reset.
class MainMenuTest : public ResetSettingsTest {
 protected:
  static std::string Run(const std::string& input) { return WithConsole(input, menu_main).output; }
};

const std::string kMainMenu = R"(++=======================================================================++
||     ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~    ||
||                                                                       ||
||     ##    ##                                                          ||
||     ##   ##                                                           ||
||     ##  ##                                                            ||
||     ## ##                                                             ||
||     ####      ######  ## ####  ##    ##  ######  ## ####   ######     ||
||     ####     ##    ## ###   ## ##    ##       ## ###   ## ##    ##    ||
||     ## ##    ##    ## ##        ##  ##   ####### ##    ## ########    ||
||     ##  ##   ##    ## ##        ##  ##  ##    ## ##    ## ##          ||
||     ##   ##  ##    ## ##         ####   ##   ### ##    ## ##    ##    ||
||     ##    ##  ######  ##          ##     #### ## ##    ##  ######     ||
||                                                                       ||
||     ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~    ||
||                                                                       ||
||     3D Shape Generator for Quake Map Format                           ||
||     v1.01a - January 16th, 2018                                       ||
||                                                                       ||
||     What do you want to do?                                           ||
||                                                                       ||
||     (1) Create Cylinder                                               ||
||     (2) Create Ring/Arch                                              ||
||     (3) Create Torus                                                  ||
||     (4) Create Hollow Torus                                           ||
||     (5) Create Sphere                                                 ||
||     (q) Quit Program                                                  ||
||                                                                       ||
++=======================================================================++
)";

// The last status box that the sub menu drew.
std::string LastSubMenu(const std::string& out) {
  const std::size_t end = out.rfind(kSubMenuClosing);
  if (end == std::string::npos) return "";
  const std::size_t start = out.rfind("  ++=====", end);
  return out.substr(start, end - start);
}

}  // namespace

TEST_F(MainMenuTest, Drawing) {
  const ConsoleResult r = WithConsole("q", menu_main);
  EXPECT_EQ(r.output, kMainMenu);
  EXPECT_FALSE(r.ended);
}

TEST_F(MainMenuTest, EveryLineIsFramedAndSeventyFiveWide) {
  const std::vector<std::string> lines = Lines(kMainMenu);
  ASSERT_EQ(lines.size(), 29u);
  const std::string border = "++" + std::string(71, '=') + "++";
  EXPECT_EQ(lines.front(), border);
  EXPECT_EQ(lines.back(), border);
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
    EXPECT_EQ(lines[i].size(), 75u) << i;
    EXPECT_EQ(lines[i].substr(0, 2), "||") << i;
    EXPECT_EQ(lines[i].substr(73), "||") << i;
    for (const char c : lines[i]) EXPECT_TRUE(c >= ' ' && c <= '~') << i;
  }
  EXPECT_EQ(lines[16], "||     3D Shape Generator for Quake Map Format                           ||");
  EXPECT_EQ(lines[15], "||" + std::string(71, ' ') + "||");
}

TEST_F(MainMenuTest, KeysWithoutAnAction) {
  // Inside '0' to 'q': warning and a new drawing; outside: warning only.
  for (const char key : std::string("Q06A9p")) {
    EXPECT_EQ(Run(std::string(1, key) + " q"), kMainMenu + kInvalidChoice + kMainMenu) << key;
  }
  for (const char key : std::string("rx/~")) {
    EXPECT_EQ(Run(std::string(1, key) + " q"), kMainMenu + kInvalidChoice) << key;
  }
}

TEST_F(MainMenuTest, AShapeChoiceOpensItsSubMenu) {
  const std::pair<char, const char*> cases[] = {
      {'1', "Cylinder        "}, {'2', "Arch            "}, {'3', "Torus           "},
      {'4', "Hollow Torus    "}, {'5', "Sphere          "}};
  for (const auto& [key, name] : cases) {
    firstrun = false;
    const std::string out = Run(std::string(1, key) + " q q");
    ASSERT_EQ(out.rfind(kMainMenu, 0), 0u) << key;
    EXPECT_NE(LastSubMenu(out).find(std::string("  ||   Shape: ") + name + "| Brushes: N/A "),
              std::string::npos)
        << key;
    EXPECT_EQ(out.substr(out.size() - kMainMenu.size()), kMainMenu) << "drawn again after the sub menu";
    EXPECT_TRUE(firstrun) << key;
  }
}

TEST_F(MainMenuTest, AChoiceAndAKeyTypedAheadOnOneLine) {
  const std::string out = Run("2g\nq\nq\n");
  EXPECT_NE(out.find("  | [INFO] Arch generated\n"), std::string::npos);
  EXPECT_FALSE(Group) << "leaving the sub menu discards the arch";
}

TEST_F(MainMenuTest, SettingsCarryOverToTheNextShape) {
  const std::string out = Run("2 m 1 24 3 100 q q 3 q q");
  const std::string box = LastSubMenu(out);
  EXPECT_NE(box.find("  ||    Name: generated_torus "), std::string::npos) << box;
  EXPECT_NE(box.find("  ||   Shape: Torus           |"), std::string::npos);
  EXPECT_NE(box.find("  ||   Res 1: 24              |"), std::string::npos);
  EXPECT_NE(box.find("  ||   Rad 1: 100             |   Tex 1: C3A2B_REAC1B    ||"), std::string::npos);
}

TEST_F(MainMenuTest, AfterATemplateLoadAShapeChoiceKeepsTheName) {
  TempDir dir;
  const std::string path = dir.Write("t.kvt", "shape arch\nfilename tube\n");
  const std::string out = Run("1 l " + path + " q 5 q q");
  const std::string box = LastSubMenu(out);
  EXPECT_NE(box.find("  ||    Name: tube "), std::string::npos) << box;
  EXPECT_NE(box.find("  ||   Shape: Sphere  "), std::string::npos) << box;
}

TEST_F(MainMenuTest, EndOfInputEndsTheMenu) {
  for (const char* input : {"", "x", "Q", "1", "3 m"}) {
    EXPECT_TRUE(WithConsole(input, menu_main).ended) << input;
  }
}
