#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/Process.h"

namespace {

const std::string kSubMenuEnd = "  +------------------------------------------------------+\n";

// The last status box that the sub menu drew.
std::string LastSubMenu(const std::string& out) {
  const std::size_t end = out.rfind(kSubMenuEnd);
  if (end == std::string::npos) return "";
  const std::size_t start = out.rfind("  ++=====", end);
  return out.substr(start, end - start);
}

// The status box of the sub menu's pass number n (from 0).
std::string SubMenuPass(const std::string& out, int n) {
  std::size_t start = 0;
  for (int i = 0; i <= n; ++i) {
    start = out.find("  ++=====", start);
    if (start == std::string::npos) return "";
    if (i < n) ++start;
  }
  return out.substr(start, out.find(kSubMenuEnd, start) - start);
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(MenuSession, GenerateAndExportFromTheMenus) {
  for (const std::string& exe : {Exe64(), Exe32()}) {
    if (exe.empty()) continue;
    TempDir dir;
    const ProcessResult r = RunProgram(exe, {}, "1\ng\ne\no\nq\nq\n", dir.path());
    EXPECT_EQ(r.status, 0) << exe;
    EXPECT_TRUE(dir.Exists("generated_cylinder.map")) << exe;
    EXPECT_TRUE(dir.Exists("generated_cylinder.obj")) << exe;
    EXPECT_TRUE(Contains(r.output, "  |\n  | [INFO] Cylinder exported as MAP-File\n  |\n")) << exe;
    EXPECT_TRUE(Contains(r.output, "  |\n  | [INFO] Cylinder exported as OBJ-File\n  |\n")) << exe;
    EXPECT_TRUE(Contains(dir.Read("generated_cylinder.map"), "\"mapversion\" \"220\"")) << exe;
  }
}

TEST(MenuSession, TemplateLoadedFromTheSubMenu) {
  TempDir dir;
  dir.Write("maps\\arch1.kvt", "shape arch\nres 24\n");  // a backslash path, as the program reads it
  const ProcessResult r = RunProgram(Exe64(), {}, "1\nl maps\\arch1.kvt\ng\ne\nq\nq\n", dir.path());
  EXPECT_EQ(r.status, 0);
  const std::string loaded = SubMenuPass(r.output, 1);
  EXPECT_TRUE(Contains(loaded, "  ||    Name: arch1 ")) << loaded;
  EXPECT_TRUE(Contains(loaded, "  ||    Path: maps\\ ")) << loaded;
  EXPECT_TRUE(Contains(loaded, "  ||   Shape: Arch            |"));
  EXPECT_TRUE(Contains(loaded, "  ||   Res 1: 24              |"));
  EXPECT_TRUE(Contains(r.output, "  | [INFO] Settings from template file (arch1.kvt) loaded...\n  |\n"));
  EXPECT_TRUE(dir.Exists("maps\\arch1.map"));
}

TEST(MenuSession, MissingTemplate) {
  TempDir dir;
  const ProcessResult r = RunProgram(Exe64(), {}, "3\nm\n1\n24\nq\nl maps\\gone.kvt\nq\nq\n", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Contains(r.output, "  |\n  | [INFO] File \"gone\" not available...\n  |\n"));
  const std::string box = SubMenuPass(r.output, 2);
  EXPECT_TRUE(Contains(box, "  ||    Name: gone ")) << box;
  EXPECT_TRUE(Contains(box, "  ||    Path: maps\\ ")) << box;
  EXPECT_TRUE(Contains(box, "  ||   Shape: Torus  ")) << box;
  EXPECT_TRUE(Contains(box, "  ||   Res 1: 12  ")) << "the defaults: " << box;
}

TEST(MenuSession, LeavingAndReEnteringForgetsTheObject) {
  TempDir dir;
  const ProcessResult r = RunProgram(Exe64(), {}, "1\ng\nq\n1\nq\nq\n", dir.path());
  EXPECT_TRUE(Contains(SubMenuPass(r.output, 1), "| Brushes: 1 "));
  EXPECT_TRUE(Contains(LastSubMenu(r.output), "| Brushes: N/A "));
}

TEST(MenuSession, AfterAListingFloatsShowTenDigits) {
  TempDir dir;
  // The line end after s is the key the listing waits for.
  const ProcessResult r = RunProgram(Exe64(), {}, "1\nm\n3\n100.1\nq\ng\ns\nq\nq\n", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Contains(SubMenuPass(r.output, 2), "  ||   Rad 1: 100.1           |"));
  EXPECT_TRUE(Contains(r.output, "[MESSAGE] Display complete.\n\n[INPUT] Press any button to continue...\n"));
  EXPECT_TRUE(Contains(LastSubMenu(r.output), "  ||   Rad 1: 100.0999985     |"));
}

TEST(MenuSession, AFileThatCannotBeWrittenFailsABatchRun) {
  TempDir dir;
  dir.Write("t.kvt", "shape cylinder\n");
  std::filesystem::create_directory(dir.path() + "/t.map");  // in the way of the map file
  const ProcessResult batch = RunProgram(Exe64(), {"t.kvt"}, "g\ne\nq\n", dir.path());
  EXPECT_EQ(batch.status, 1);
  EXPECT_TRUE(Contains(batch.output, "\n  | [WARNING] Could not create the file \"t.map\"!\n"));
  EXPECT_FALSE(Contains(batch.output, "exported as MAP-File"));

  std::filesystem::create_directory(dir.path() + "/generated_cylinder.map");
  const ProcessResult interactive = RunProgram(Exe64(), {}, "1\ng\ne\nq\nq\n", dir.path());
  EXPECT_EQ(interactive.status, 0);
  EXPECT_FALSE(Contains(interactive.output, "exported as MAP-File"));
}

TEST(MenuSession, EndOfInputInEveryMenuEndsCleanly) {
  const char* const inputs[] = {
      "",          "1",          "1\nm",       "2\nm\nd",       "2\nm\nd\n4",   "1\nm\n3",
      "1\nm\n1\n36", "4\nm\n4\n1", "1\nt",       "1\nt\n1",       "1\nt\n1\nb\n64", "2\nt\n4\na",
      "1\nl",      "1\ng\ns",    "5\nt\n1\no\no\no\no",
  };
  for (const std::string& exe : {Exe64(), Exe32()}) {
    if (exe.empty()) continue;
    for (const char* input : inputs) {
      TempDir dir;
      const ProcessResult r = RunProgram(exe, {}, input, dir.path());
      EXPECT_EQ(r.status, 0) << exe << " input: " << input;
    }
  }
}

// The scale-down factor belongs to the model that was enlarged: a later
// build, of the same shape or of another, is written without it.
TEST(MenuSession, TheScaleDownFactorGoesWithTheEnlargedModel) {
  struct Case {
    const char* name;
    const char* input;
    const char* file;
    bool hasFactor;
  };
  // An arch of radius 90 has one decimal place: enlarged by 2.
  const Case cases[] = {
      {"the enlarged model", "2\nm\n3\n90\nq\ng\na\ne\nq\nq\n", "generated_arch.map", true},
      {"a new build of it", "2\nm\n3\n90\nq\ng\na\ng\ne\nq\nq\n", "generated_arch.map", false},
      {"another shape", "2\nm\n3\n90\nq\ng\na\nq\n5\ng\ne\nq\nq\n", "generated_shpere.map", false},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const ProcessResult r = RunProgram(Exe64(), {}, c.input, dir.path());
    EXPECT_EQ(r.status, 0) << c.name;
    const std::string map = dir.Read(c.file);
    ASSERT_FALSE(map.empty()) << c.name;
    const std::string factorLine = "{\n\"scalefactor\" \"0.500000\"\n";
    const bool factorFirst = map.compare(0, factorLine.size(), factorLine) == 0;
    EXPECT_EQ(factorFirst, c.hasFactor) << c.name;
    EXPECT_EQ(Contains(map, "scalefactor"), c.hasFactor) << c.name;
  }
}
