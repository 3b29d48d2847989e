// End-to-end sweep of hostile templates: absurd radii, texture sizes, scales
// and shifts, every texture switch at once, out-of-set rule and method
// numbers and output paths that cannot be created, run through both
// executables in batch mode. Every run must end in time with the status the
// program promises, write only finite numbers, write closed convex brushes
// wherever the user has not collapsed the geometry on purpose, and the two
// executables must write the same bytes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "support/BrushCheck.h"
#include "support/Process.h"

namespace {

const char* const kShapes[] = {"cylinder", "arch", "torus", "htorus", "sphere"};

// No single run of the sweep may take longer than this; a run that does is
// killed and fails.
constexpr unsigned kRunLimitSeconds = 20;

// What the written map file must pass.
enum class Expect {
  Valid,    // the whole brush check
  Numbers,  // only finite numbers
};

struct Case {
  const char* name;
  std::string lines;  // template lines after the batch switches and the shape
  // Shapes whose map gets only the number test (blank-separated): the case
  // stretches a brush to the limit of int against a width of a few hundred
  // units, which the brush check's tolerances, relative to the largest
  // coordinate, cannot judge, or makes rings cross the axis. Brushes that a
  // radius of 0 collapses are left out of the map, so those cases get the
  // whole check.
  std::string numbersOnly;
};

bool NumbersOnly(const Case& c, const std::string& shape) {
  return (" " + c.numbersOnly + " ").find(" " + shape + " ") != std::string::npos;
}

bool HasNonFiniteWord(const std::string& text) {
  return text.find("nan") != std::string::npos || text.find("inf") != std::string::npos;
}

// Every texture switch of every slot on at once, with a quarter-turned and a
// shifted slot, the matching and rounding scale sources and each H-range
// source method.
std::string EverySwitch(int method0, int method1) {
  std::string t;
  for (int s = 1; s <= 3; ++s) {
    const std::string p = std::to_string(s) + "_";
    t += p + "facealign 1\n" + p + "shear 1\n" + p + "v_wrap 1\n" + p + "v_seamless 1\n";
    t += p + "h_wrap 1\n" + p + "h_seamless 1\n" + p + "v_wrapam 3\n" + p + "h_wrapam 2\n";
    t += p + "scalesrc " + std::to_string(s % 3) + "\n";
  }
  t += "1_rot 90\n2_rot 180\n3_rot 270\n1_shiftx 7.5\n2_shifty -3\n3_hiftx 1000\n";
  t += "1_h_rangesrc " + std::to_string(method0) + "\n2_h_rangesrc " + std::to_string(method1) + "\n";
  return t;
}

// Face alignment and wrapping on every slot, so that the texture passes see
// the hostile values.
const std::string kTextured =
    "1_facealign 1\n2_facealign 1\n3_facealign 1\n1_v_wrap 1\n2_v_wrap 1\n3_v_wrap 1\n"
    "1_h_wrap 1\n2_h_wrap 1\n3_h_wrap 1\n1_v_seamless 1\n3_h_seamless 1\n";

std::string ForEverySlot(const std::string& suffix, const std::string& value) {
  return "1_" + suffix + " " + value + "\n2_" + suffix + " " + value + "\n3_" + suffix + " " + value + "\n";
}

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"radii 0", "rad 0\nrad2 0\nrad3 0\n" + kTextured, ""},
      {"inner radius 0", "rad 0\n" + kTextured, ""},
      {"negative radii", "rad -128\nrad2 -64\nrad3 -32\n" + kTextured, ""},
      {"negative inner radius", "rad -100\n" + kTextured, ""},
      {"radii 1", "rad 1\nrad2 1\nrad3 1\n" + kTextured, ""},
      {"radii 1 2 3", "rad 1\nrad2 2\nrad3 3\n" + kTextured, ""},
      {"radii 1e7", "rad 10000000\nrad2 20000000\nrad3 30000000\n" + kTextured, ""},
      {"radii at the int limit", "rad 2147483647\nrad2 2147483647\nrad3 2147483647\n" + kTextured, ""},
      {"inner radius at the int limit", "rad 2147483647\n" + kTextured, "arch"},
      {"radii at the negative int limit", "rad -2147483648\nrad2 -2147483648\nrad3 -2147483648\n" + kTextured, ""},
      {"radii out of order", "rad 512\nrad2 256\nrad3 128\n" + kTextured, ""},
      {"outer radius below the inner", "rad 300\nrad3 100\n" + kTextured, ""},
      {"half height at the int limit", "rad2 2147483647\n" + kTextured, "arch htorus"},
      {"negative half height", "rad2 -256\n" + kTextured, ""},
      {"half height 0", "rad2 0\n" + kTextured, ""},
      {"hollow wider than the tube", "rad 128\nrad2 400\nrad3 320\n" + kTextured, ""},
      {"hollow edge before the tube's centre", "rad 128\nrad2 150\nrad3 320\n" + kTextured, ""},
      {"hollow as wide as the tube", "rad 128\nrad2 320\nrad3 320\n" + kTextured, ""},
      {"texture sizes 0", ForEverySlot("sizex", "0") + ForEverySlot("sizey", "0") + EverySwitch(0, 1), ""},
      {"negative texture sizes", ForEverySlot("sizex", "-64") + ForEverySlot("sizey", "-1") + EverySwitch(1, 2), ""},
      {"texture sizes at the int limits",
       ForEverySlot("sizex", "2147483647") + ForEverySlot("sizey", "-2147483648") + EverySwitch(2, 3), ""},
      {"scales 0", ForEverySlot("scalex", "0") + ForEverySlot("scaley", "0") + EverySwitch(3, 0), ""},
      {"negative scales", ForEverySlot("scalex", "-2") + ForEverySlot("scaley", "-0.5") + EverySwitch(0, 3), ""},
      {"scales at the float limits",
       ForEverySlot("scalex", "3.4e38") + ForEverySlot("scaley", "1e-45") + EverySwitch(1, 0), ""},
      {"scales at the float limits, enlarged",
       "autoscale 1\nrad 33\nrad2 77\nrad3 101\n" + ForEverySlot("scalex", "3.4e38") + ForEverySlot("scaley", "-3.4e38") +
           EverySwitch(0, 1), ""},
      {"shifts beyond the float range", ForEverySlot("shiftx", "1e39") + ForEverySlot("shifty", "-1e39") + EverySwitch(0, 0), ""},
      {"shifts near the float limit", ForEverySlot("shiftx", "3.4e38") + ForEverySlot("shifty", "1e38") + EverySwitch(2, 1), ""},
      {"shifts -1e30", ForEverySlot("shiftx", "-1e30") + ForEverySlot("shifty", "-1e30") + EverySwitch(3, 3), ""},
      {"shift 3_hiftx 1e38", "3_hiftx 1e38\n3_shifty 1e38\n" + EverySwitch(1, 1), ""},
      {"every switch, symmetry lines", "sym 1\ntri 1\nres 24\nres2 48\n" + EverySwitch(0, 2), ""},
      {"every switch, odd radii", "rad 33\nrad2 77\nrad3 101\n" + EverySwitch(3, 1), ""},
      {"every switch, the finest mesh", "res 192\nres2 96\nsym 1\ntri 1\nrad 1000\nrad2 1500\nrad3 2000\n" +
                                            EverySwitch(2, 3) + "1_h_rangesrc 4\n1_h_range 150\n", ""},
      {"wrap amounts at the int limits",
       ForEverySlot("v_wrapam", "2147483647") + ForEverySlot("h_wrapam", "-2147483648") + EverySwitch(0, 1), ""},
      {"scale sources outside their set", ForEverySlot("scalesrc", "7") + EverySwitch(0, 0) + ForEverySlot("scalesrc", "-1"), ""},
      {"custom H-range faces beyond the faces",
       "sym 1\n1_h_rangesrc 4\n2_h_rangesrc 4\n1_h_range 99\n2_h_range 2147483647\n" + kTextured + "1_shear 1\n", ""},
      {"custom H-range faces below the first",
       "1_h_rangesrc 4\n2_h_rangesrc 4\n1_h_range -5\n2_h_range -2147483648\n" + kTextured, ""},
      {"H-range methods outside their set", "1_h_rangesrc 9\n2_h_rangesrc -4\n1_h_range 7\n" + kTextured, ""},
      {"rule 1 outside its set", "rule1 7\nrule2 2\nnth 2\n", ""},
      {"negative rule 1", "rule1 -1\nrule2 -3\n", ""},
      {"rule 2 outside its set", "rule1 1\nrule2 9\nstart1 2\nend1 5\n", ""},
      {"N of 0", "rule1 2\nrule2 2\nnth 0\n", ""},
      {"negative N for sections", "rule2 3\nnth -2\n", ""},
      {"negative N for segments", "rule2 4\nnth -1\nsym 1\n", ""},
      {"N at the int limit", "rule2 4\nnth 2147483647\n", ""},
      {"ranges beyond the group", "rule1 2\nstart1 2147483647\nend1 -2147483648\nstart2 -7\nend2 99999\n", ""},
      {"percent ranges at the int limits",
       "rule1 1\npercent 1\nstart1 -2147483648\nend1 2147483647\nrule2 1\n", ""},
      {"percent section ranges", "rule1 2\npercent 1\nstart1 50\nend1 2147483647\nstart2 -2147483648\nend2 75\nrule2 3\nnth 2\n", ""},
  };
  return cases;
}

struct BatchRun {
  ProcessResult result;
  std::string map, obj;
  bool hasMap = false, hasObj = false;
  double seconds = 0;
};

BatchRun RunTemplate(const std::string& exe, const std::string& text, const std::string& input) {
  TempDir dir;
  dir.Write("t.kvt", text);
  const auto start = std::chrono::steady_clock::now();
  BatchRun run;
  run.result = RunProgram(exe, {"t.kvt"}, input, dir.path(), kRunLimitSeconds);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.hasMap = dir.Exists("t.map");
  run.hasObj = dir.Exists("t.obj");
  run.map = dir.Read("t.map");
  run.obj = dir.Read("t.obj");
  return run;
}

// Runs the template through both executables and checks what they wrote.
void CheckTemplate(const std::string& label, const std::string& text, Expect expect, const std::string& input = "") {
  const BatchRun r = RunTemplate(Exe64(), text, input);
  ASSERT_EQ(r.result.status, 0) << label << "\n" << r.result.output;
  ASSERT_TRUE(r.hasMap && r.hasObj) << label;
  const MapCheck numbers = CheckMapNumbers(r.map);
  EXPECT_TRUE(numbers.ok) << label << ": " << numbers.error;
  if (expect == Expect::Valid) {
    const MapCheck full = CheckMapText(r.map);
    EXPECT_TRUE(full.ok) << label << ": " << full.error;
  }
  EXPECT_FALSE(HasNonFiniteWord(r.obj)) << label;
  if (Exe32().empty()) return;
  const BatchRun r32 = RunTemplate(Exe32(), text, input);
  EXPECT_EQ(r32.result.status, 0) << label;
  EXPECT_TRUE(r32.map == r.map) << label << ": the 32-bit map differs";
  EXPECT_TRUE(r32.obj == r.obj) << label << ": the 32-bit OBJ differs";
}

const std::string kBatch = "nomenu 1\nexmap 1\nexobj 1\n";

}  // namespace

// One test a shape, so that the shapes run in parallel (each case starts both
// executables, the 32-bit one perhaps through an emulator).
class HostileShape : public ::testing::TestWithParam<const char*> {};

TEST_P(HostileShape, EveryHostileValue) {
  const char* shape = GetParam();
  for (const Case& c : Cases()) {
    const std::string text = kBatch + "shape " + shape + "\n" + c.lines;
    CheckTemplate(std::string(shape) + ", " + c.name, text, NumbersOnly(c, shape) ? Expect::Numbers : Expect::Valid);
  }
}

INSTANTIATE_TEST_SUITE_P(HostileTemplate, HostileShape, ::testing::ValuesIn(kShapes),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

// The random rule over the largest hollow torus: 196 × 196 cells, far more
// than the random pattern has characters.
TEST(HostileTemplate, RandomRuleOnTheLargestHollowTorus) {
  const std::string text = kBatch + "shape htorus\nres 192\nres2 192\nsym 1\nrule2 1\n" + kTextured;
  const BatchRun r = RunTemplate(Exe64(), text, "");
  ASSERT_EQ(r.result.status, 0);
  const MapCheck check = CheckMapText(r.map);
  EXPECT_TRUE(check.ok) << check.error;
  EXPECT_GT(check.brushes, 196 * 196 / 3);
  EXPECT_LT(check.brushes, 196 * 196 * 2 / 3);
  EXPECT_FALSE(HasNonFiniteWord(r.obj));
}

// The custom scale source asks at the console once per section for each body
// slot, in batch mode too: unreadable answers and 0 are warned about and
// asked for again, and when the input ends every question left keeps the
// section's scale, so the build goes on and both files are written.
TEST(HostileTemplate, CustomScaleSourceAsksAtTheConsole) {
  struct Case {
    const char* shape;
    int asks;  // sections times wrapped body surfaces
  };
  const Case cases[] = {{"cylinder", 1}, {"arch", 2}, {"torus", 12}, {"htorus", 24}, {"sphere", 12}};
  const std::string prompt = "[INPUT] Enter new Value:\n";
  const std::string warning = "[WARNING] Invalid number! Please enter again.\n";
  const std::string zeroWarning = "[WARNING] Texture scale must not be 0 !\n";
  const auto count = [](const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
    return n;
  };
  for (const Case& c : cases) {
    const std::string textured = kBatch + "shape " + c.shape + "\n" + kTextured;
    const std::string text = textured + "1_scalesrc 3\n2_scalesrc 3\n3_scalesrc 3\n";
    // Answers: garbage first, then values at and beyond the float limits; the
    // cylinder and the arch are done before the 0.
    std::string answers = "abc\n1e39\n-1e39 rest\nnan\ninf\n.\n";
    const std::size_t garbage = 6;
    answers += "3.4e38\n-2\n0\n1e-45\n";
    const std::size_t zeros = c.asks > 2 ? 1 : 0;
    for (int i = 3; i < c.asks; ++i) answers += "0.5\n";
    CheckTemplate(std::string(c.shape) + ", custom scales", text, Expect::Valid, answers);
    const BatchRun r = RunTemplate(Exe64(), text, answers);
    EXPECT_EQ(count(r.result.output, prompt), static_cast<std::size_t>(c.asks) + garbage + zeros) << c.shape;
    EXPECT_EQ(count(r.result.output, warning), garbage) << c.shape;
    EXPECT_EQ(count(r.result.output, zeroWarning), zeros) << c.shape;

    // The input ends at the first question, or after one answer, with or
    // without its line end. Without an answer every section keeps its scale,
    // as if the slots had no custom source.
    const std::string kept = RunTemplate(Exe64(), textured, "").map;
    struct Ending {
      std::string input;
      int answers;
    };
    for (const Ending& e : {Ending{"", 0}, Ending{"2\n", 1}, Ending{"2", 1}, Ending{"abc", 0}, Ending{"0", 0}}) {
      const BatchRun ended = RunTemplate(Exe64(), text, e.input);
      EXPECT_EQ(ended.result.status, 0) << c.shape << " input: " << e.input;
      EXPECT_LT(ended.seconds, 10.0) << c.shape;
      EXPECT_EQ(count(ended.result.output, prompt), static_cast<std::size_t>(c.asks) + (e.input == "abc" || e.input == "0"))
          << c.shape << " input: " << e.input;
      EXPECT_TRUE(ended.hasMap && ended.hasObj) << c.shape << " input: " << e.input;
      EXPECT_EQ(ended.map == kept, e.answers == 0) << c.shape << " input: " << e.input;
    }
  }
}

// Output paths that cannot be created: the directory that "filepath" and the
// template's own path name does not exist. Each file is warned about by name,
// the run goes on with the next template and ends with status 1.
TEST(HostileTemplate, OutputDirectoryThatDoesNotExist) {
  TempDir dir;
  // Only the backslash separates directories in a template's words, so the
  // value "gone" is a prefix: with the template sub/t.kvt the files are
  // gonesub/t.map and gonesub/t.obj, in a directory that does not exist.
  dir.Write("sub/t.kvt", kBatch + "shape torus\nfilepath gone\n");
  dir.Write("ok.kvt", kBatch + "shape sphere\n");
  const ProcessResult r = RunProgram(Exe64(), {"sub/t.kvt", "ok.kvt"}, "", dir.path(), kRunLimitSeconds);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.output,
            "[WARNING] Could not create the file \"gonesub/t.map\"!\n"
            "[WARNING] Could not create the file \"gonesub/t.obj\"!\n"
            "PRESS ANY BUTTON...\n"
            "Exported To Map!!!\nExported To Obj!!!\nPRESS ANY BUTTON...\n");
  EXPECT_FALSE(std::filesystem::exists(dir.path() + "/gonesub"));
  const MapCheck check = CheckMapText(dir.Read("ok.map"));
  EXPECT_TRUE(check.ok) << check.error;

  // A directory in backslashes is part of the file name on this system: the
  // files are written beside the template.
  TempDir other;
  other.Write("t.kvt", kBatch + "filepath nowhere\\deeper\\\n");
  const ProcessResult written = RunProgram(Exe64(), {"t.kvt"}, "", other.path(), kRunLimitSeconds);
  EXPECT_EQ(written.status, 0);
  EXPECT_TRUE(other.Exists("nowhere\\deeper\\t.map"));
  EXPECT_TRUE(other.Exists("nowhere\\deeper\\t.obj"));
}

// Paths that name no template: endless devices, a directory, a file that
// does not exist. None is a regular file, so each is not available, and
// opens the sub menu (none asks to skip it), whose q goes on with the next;
// the run ends in time with status 1.
TEST(HostileTemplate, PathsThatNameNoTemplate) {
  TempDir dir;
  std::vector<std::string> paths = {".", "missing.kvt", std::string(5000, 'n') + ".kvt"};
  for (const char* device : {"/dev/zero", "/dev/urandom", "/dev/null"}) {
    if (std::filesystem::exists(device)) paths.push_back(device);
  }
  std::string input;
  for (std::size_t i = 0; i < paths.size(); ++i) input += "q\n";
  const auto start = std::chrono::steady_clock::now();
  const ProcessResult r = RunProgram(Exe64(), paths, input, dir.path(), kRunLimitSeconds);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(r.status, 1);
  EXPECT_LT(seconds, 10.0);
  std::size_t menus = 0;
  for (std::size_t p = r.output.find("Sub Menu"); p != std::string::npos; p = r.output.find("Sub Menu", p + 1)) ++menus;
  EXPECT_EQ(menus, paths.size());
  std::size_t missing = 0;
  for (std::size_t p = r.output.find("\" not available..."); p != std::string::npos;
       p = r.output.find("\" not available...", p + 1))
    ++missing;
  EXPECT_EQ(missing, paths.size());
}
