// Every brush that any settings give is written as a valid brush, and the OBJ
// file holds no face without area and none that lists a corner twice:
// thousands of settings drawn from a fixed pseudo-random sequence (the same
// on every run and in both builds), each built, enlarged and written as the
// batch mode does it. Drawn are every shape; resolutions 12 to 48, symmetry
// lines and triangulation; radii small, large, equal, out of order, negative,
// 0 and with fractions; and every texture setting of the three slots. A
// failing case prints its template (run it with the executable to see the
// files) and the values set besides it.
//
// KORVANE_PROPERTY_CASES and KORVANE_PROPERTY_SEED change the number of cases
// and the sequence, to search further than a test run does.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "export/MapWriter.h"
#include "export/ObjWriter.h"
#include "generation/Circle.h"
#include "generation/Generate.h"
#include "generation/Scale.h"
#include "settings/Settings.h"
#include "settings/Template.h"
#include "support/BrushCheck.h"
#include "support/ConsoleCapture.h"
#include "support/GlobalState.h"
#include "support/GroupCheck.h"
#include "support/Process.h"
#include "support/Random.h"

namespace {

// Fewer cases where the builds run many times slower: under the sanitizers,
// and in the 32-bit tests where an emulator runs them.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kDefaultCases = 150;
#elif defined(KORVANE_TESTS_EMULATED)
constexpr int kDefaultCases = 200;
#else
constexpr int kDefaultCases = 2000;
#endif
constexpr uint64_t kDefaultSeed = 0x6b6f7276616e65ULL;
// Failing cases printed before the test stops.
constexpr int kMaxReported = 5;

int EnvInt(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::atoi(value) : fallback;
}

// Draws from the sequence.
struct Draw {
  UnitSequence u;
  explicit Draw(uint64_t seed) : u(seed) {}
  // 0 .. n - 1.
  int Pick(int n) { return static_cast<int>(u.Next() * n); }
  bool Chance(double p) { return u.Next() < p; }
  template <typename T, size_t N>
  T OneOf(const T (&values)[N]) {
    return values[Pick(static_cast<int>(N))];
  }
};

// One drawn case: the template text, and the radii with fractions that are
// set after loading it (templates take whole radii; the mesh properties menu
// takes fractions).
struct Case {
  std::string templ;
  bool fractional = false;
  float radii[3] = {};
  std::string console;  // answers to the custom scale prompt
};

struct TemplateText {
  std::ostringstream text;
  template <typename T>
  void Key(const std::string& key, const T& value) {
    text << key << ' ' << value << '\n';
  }
};

// A radius: mostly small, often of a usual size, sometimes large; equal to
// one drawn before, 0 or negative now and then. Large ones go up to 2^16:
// beyond about 2^18 a float can no longer hold every corner of a polygon of
// 48 corners (a grid of radius / 64), its faces are no longer flat, and the
// map file's planes miss the points of other faces by float roundings.
int DrawRadius(Draw& d, const int* earlier, int count) {
  if (count > 0 && d.Chance(0.15)) return earlier[d.Pick(count)];
  int r = 0;
  const double kind = d.u.Next();
  if (kind < 0.5) r = 1 + d.Pick(64);
  else if (kind < 0.78) r = 65 + d.Pick(960);
  else if (kind < 0.97) r = 1025 + d.Pick((1 << 16) - 1024);
  if (d.Chance(0.15)) r = -r;
  return r;
}

void DrawSlot(Draw& d, TemplateText& t, int slot, int faces, std::string& console) {
  const std::string p = std::to_string(slot + 1) + "_";
  const int sizes[] = {1, 16, 32, 64, 100, 128, 256, 512, 1024};
  const char* const scales[] = {"1", "0.5", "2", "0.25", "3", "-1", "0.1", "-0.75", "16"};
  const char* const shifts[] = {"0", "8", "-13.5", "100", "0.25"};
  const char* const rotations[] = {"0", "90", "180", "270"};
  t.Key(p + "facealign", d.Chance(0.7) ? 1 : 0);
  t.Key(p + "shear", d.Chance(0.3) ? 1 : 0);
  t.Key(p + "v_wrap", d.Chance(0.6) ? 1 : 0);
  t.Key(p + "v_seamless", d.Chance(0.5) ? 1 : 0);
  t.Key(p + "v_wrapam", d.Chance(0.7) ? 0 : 1 + d.Pick(8));
  t.Key(p + "h_wrap", d.Chance(0.5) ? 1 : 0);
  t.Key(p + "h_seamless", d.Chance(0.5) ? 1 : 0);
  t.Key(p + "h_wrapam", d.Chance(0.7) ? 0 : 1 + d.Pick(8));
  t.Key(p + "sizex", d.OneOf(sizes));
  t.Key(p + "sizey", d.OneOf(sizes));
  t.Key(p + "scalex", d.OneOf(scales));
  t.Key(p + "scaley", d.OneOf(scales));
  t.Key(p + (slot == 2 ? "hiftx" : "shiftx"), d.OneOf(shifts));
  t.Key(p + "shifty", d.OneOf(shifts));
  t.Key(p + "rot", d.OneOf(rotations));
  const int source = d.Chance(0.1) ? ScaleSrcCustom : d.Pick(3);
  t.Key(p + "scalesrc", source);
  if (source == ScaleSrcCustom && console.empty()) console = d.OneOf(scales);
  if (slot < BodySlotCount) {
    t.Key(p + "h_rangesrc", d.Pick(5));
    t.Key(p + "h_range", 1 + d.Pick(faces + 6));
  }
}

Case DrawCase(Draw& d) {
  static const char* const shapes[] = {"cylinder", "arch", "torus", "htorus", "sphere"};
  // Every resolution; the larger ones, which take longest, less often.
  const int resolutions[] = {12, 12, 12, 24, 24, 24, 48, 48};
  Case c;
  TemplateText t;
  t.Key("nomenu", 1);
  t.Key("exmap", 1);
  t.Key("exobj", 1);
  t.Key("shape", d.OneOf(shapes));
  const int resolution = d.OneOf(resolutions);
  t.Key("res", resolution);
  t.Key("res2", d.OneOf(resolutions));
  t.Key("sym", d.Chance(0.4) ? 1 : 0);
  t.Key("tri", d.Chance(0.4) ? 1 : 0);
  t.Key("autoscale", d.Chance(0.3) ? 1 : 0);
  int radii[3];
  for (int i = 0; i < 3; ++i) radii[i] = DrawRadius(d, radii, i);
  t.Key("rad", radii[0]);
  t.Key("rad2", radii[1]);
  t.Key("rad3", radii[2]);
  c.fractional = d.Chance(0.25);
  for (int i = 0; i < 3; ++i) {
    const double fraction = d.Chance(0.5) ? d.Pick(8) / 8.0 : d.u.Next();
    const double r = radii[i] + (radii[i] < 0 ? -fraction : fraction);
    c.radii[i] = c.fractional ? static_cast<float>(r) : static_cast<float>(radii[i]);
  }
  t.Key("1_tex", "OUTER");
  t.Key("2_tex", "INNER");
  t.Key("3_tex", "FLOOR");
  t.Key("n_tex", d.Chance(0.1) ? "OUTER" : "HIDDEN");
  for (int s = 0; s < SlotCount; ++s) DrawSlot(d, t, s, resolution + 4, c.console);
  c.templ = t.text.str();
  return c;
}

std::string Describe(int index, const Case& c) {
  std::ostringstream s;
  s << "case " << index << ", template:\n" << c.templ;
  if (c.fractional) {
    s << "with the radii set after loading (as the mesh properties menu takes them): " << c.radii[0] << " "
      << c.radii[1] << " " << c.radii[2] << "\n";
  }
  if (!c.console.empty()) s << "answering the custom scale prompt with " << c.console << "\n";
  return s.str();
}

// Loads, builds, enlarges and writes the case as the batch mode does; returns
// the first fault found, or "".
std::string RunCase(const Case& c, const TempDir& dir) {
  ResetAllGlobals();
  if (!LoadTemplate(dir.Write("case.kvt", c.templ))) return "the template could not be read";
  if (c.fractional) {
    rad = c.radii[0];
    rad2 = c.radii[1];
    rad3 = c.radii[2];
  }
  cfpath = dir.path() + "/";
  cfname = "case";
  // One answer for each prompt: once per section (52 at most) for each body
  // slot that asks.
  std::string input;
  for (int i = 0; i < 2 * 52; ++i) input += c.console + "\n";
  bool built = false;
  WithConsole(c.console.empty() ? std::string() : input, [&built] {
    built = Generate();
    if (autoscale && CurrentDeci != 0) {
      Scale(static_cast<float>(n_pow(2, CurrentDeci)), all);
      float scaleDown = 1.0f;
      for (int i = 0; i < CurrentDeci; ++i) scaleDown = scaleDown / 2.0f;
      last_transfactor = scaleDown;
    }
  });
  if (!built) return "nothing was built";
  std::string where;
  if (!GroupIsFinite(&where)) return "a number in the group is not finite: " + where;
  if (!ExportToMap() || !ExportToObj()) return "a file could not be written";
  const MapCheck map = CheckMapText(dir.Read("case.map"));
  if (!map.ok) return "map file: " + map.error;
  const ObjCheck obj = CheckObjText(dir.Read("case.obj"));
  if (!obj.ok) return "OBJ file: " + obj.error;
  if (obj.groups != map.brushes) {
    return "the OBJ file has " + std::to_string(obj.groups) + " brushes, the map file " +
           std::to_string(map.brushes);
  }
  return std::string();
}

}  // namespace

TEST(BrushPropertyTest, DrawnSettingsGiveValidBrushesAndObjFaces) {
  const int cases = EnvInt("KORVANE_PROPERTY_CASES", kDefaultCases);
  const uint64_t seed = static_cast<uint64_t>(EnvInt("KORVANE_PROPERTY_SEED", 0)) + kDefaultSeed;
  Draw d(seed);
  TempDir dir;
  int reported = 0;
  for (int i = 0; i < cases && reported < kMaxReported; ++i) {
    const Case c = DrawCase(d);
    const std::string fault = RunCase(c, dir);
    if (fault.empty()) continue;
    ADD_FAILURE() << fault << "\n" << Describe(i, c);
    ++reported;
  }
  ResetAllGlobals();
}

// Settings that the drawn cases found at fault, each once written with a
// texture scale of 0 or with cells inside out.
TEST(BrushPropertyTest, FoundCasesStayValid) {
  const char* const found[] = {
      // "Round X" of an X scale of 0.25 gave a Y scale of 0.
      "shape arch\n1_facealign 1\n1_v_wrap 1\n1_scalex 0.25\n1_scalesrc 2\n",
      // The H-range source face on the axis measures 0; with a wrap amount the
      // fitted Y scale was 0.
      "shape torus\nres 24\nrad 0\nrad3 580\n1_facealign 1\n1_v_wrap 1\n1_h_wrap 1\n1_h_seamless 1\n1_h_wrapam 6\n"
      "1_h_rangesrc 2\n",
      // Cell ends whose measured corner lies on the axis measure 0; the
      // proportion gave them a Y scale of 0.
      "shape htorus\nsym 1\nrad -29\nrad2 57\nrad3 0\n1_facealign 1\n1_v_wrap 1\n3_facealign 1\n",
      // The tube's centre line on the axis: half the cells lie on the axis,
      // without area, and must not be taken for faulty cells.
      "shape htorus\nres 48\nres2 24\nrad 0\nrad2 41259\nrad3 0\n",
  };
  TempDir dir;
  for (const char* text : found) {
    Case c;
    c.templ = std::string("nomenu 1\nexmap 1\nexobj 1\n") + text;
    const std::string fault = RunCase(c, dir);
    EXPECT_TRUE(fault.empty()) << fault << "\n" << c.templ;
  }
  ResetAllGlobals();
}
