// Every brush of the torus, the sphere and the hollow torus is a closed convex
// solid whose faces list their vertices clockwise as seen from outside, for
// every resolution, with and without symmetry lines, for radii on and off the
// grid and with the texture passes at work.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "generation/Brush.h"
#include "generation/Generate.h"
#include "settings/Settings.h"
#include "settings/Template.h"
#include "support/BrushCheck.h"
#include "support/GlobalState.h"
#include "support/Process.h"

namespace {

bool Spans(const vertex& a, const vertex& b, const vertex& c) {
  const double ux = static_cast<double>(b.x) - a.x, uy = static_cast<double>(b.y) - a.y,
               uz = static_cast<double>(b.z) - a.z;
  const double vx = static_cast<double>(c.x) - a.x, vy = static_cast<double>(c.y) - a.y,
               vz = static_cast<double>(c.z) - a.z;
  return uy * vz - uz * vy != 0.0 || uz * vx - ux * vz != 0.0 || ux * vy - uy * vx != 0.0;
}

// Three vertices of the face, in its own cyclic order, a third of the way
// round from each other where they span the plane; false for a face without
// area.
bool SpreadPoints(const face& f, int out[3]) {
  const int n = f.vcount;
  if (n < 3) return false;
  for (int a = 0; a < n; ++a) {
    const int b = (a + n / 3) % n, c = (a + 2 * n / 3) % n;
    if (Spans(f.verts[a], f.verts[b], f.verts[c])) {
      out[0] = a, out[1] = b, out[2] = c;
      return true;
    }
  }
  for (int a = 0; a < n; ++a)
    for (int b = a + 1; b < n; ++b)
      for (int c = b + 1; c < n; ++c)
        if (Spans(f.verts[a], f.verts[b], f.verts[c])) {
          out[0] = a, out[1] = b, out[2] = c;
          return true;
        }
  return false;
}

void Append(std::string& out, float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g ", static_cast<double>(value));
  out += text;
}

// The group as map text with every number exact (nine significant digits hold
// any float) and every face given by well spread vertices: the check then
// sees the builder's own planes. The map file's six decimals cannot hold the
// plane of a face whose first vertices lie close together (the caps of a
// torus of 192 by 192, the meridian faces of a fine sphere near its poles).
std::string ExactMapText() {
  std::string out = "{\n\"classname\" \"worldspawn\"\n";
  for (int b = 0; b < Group->bcount; ++b) {
    const brush& br = Group->brushes[b];
    out += "{\n";
    for (int i = 0; i < br.fcount; ++i) {
      const face& f = br.faces[i];
      int p[3];
      if (!SpreadPoints(f, p)) continue;
      for (int k = 0; k < 3; ++k) {
        out += "( ";
        Append(out, f.verts[p[k]].x);
        Append(out, f.verts[p[k]].y);
        Append(out, f.verts[p[k]].z);
        out += ") ";
      }
      out += f.texture + " [ ";
      Append(out, f.vecHor.x);
      Append(out, f.vecHor.y);
      Append(out, f.vecHor.z);
      Append(out, f.shiftX);
      out += "] [ ";
      Append(out, f.vecVer.x);
      Append(out, f.vecVer.y);
      Append(out, f.vecVer.z);
      Append(out, f.shiftY);
      out += "] ";
      Append(out, f.rot);
      Append(out, f.scaleX);
      Append(out, f.scaleY);
      out += "\n";
    }
    out += "}\n";
  }
  out += "}\n\n";
  return out;
}

struct Case {
  int shape;  // 2 torus, 3 hollow torus, 4 sphere
  int res, res2;
  bool sym;
  float rad, rad2, rad3;
  bool textured;  // face alignment with wrapping on every slot
  bool file;      // check the map file itself, else the exact text
};

std::string Name(const Case& c) {
  char text[128];
  std::snprintf(text, sizeof text, "%s %d/%d%s radii %g/%g/%g%s", c.shape == 2 ? "torus" : c.shape == 3 ? "htorus" : "sphere",
                c.res, c.res2, c.sym ? " sym" : "", static_cast<double>(c.rad), static_cast<double>(c.rad2),
                static_cast<double>(c.rad3), c.textured ? " textured" : "");
  return text;
}

class ValidityTest : public ResetSettingsTest {
 protected:
  static void Build(const Case& c) {
    IsTorus = c.shape == 2;
    IsHTorus = c.shape == 3;
    IsSphere = c.shape == 4;
    res = c.res;
    res2 = c.res2;
    Sym = c.sym;
    rad = c.rad;
    rad2 = c.rad2;
    rad3 = c.rad3;
    for (int s = 0; s < SlotCount; ++s) {
      facealign[s] = wrapping[s] = Hwrapping[s] = c.textured;
      seamless[s] = Hseamless[s] = c.textured;
    }
    ASSERT_TRUE(Generate());
  }

  static void Check(const Case& c, int expectedBrushes) {
    const MapCheck m = c.file ? CheckGroupAsMap() : CheckMapText(ExactMapText());
    EXPECT_TRUE(m.ok) << Name(c) << (c.file ? " (map file): " : " (exact): ") << m.error;
    EXPECT_EQ(m.brushes, expectedBrushes) << Name(c);
  }
};

}  // namespace

TEST_F(ValidityTest, Torus) {
  const Case cases[] = {
      {2, 12, 12, false, 128, 256, 320, false, true},   {2, 12, 12, true, 128, 256, 320, true, true},
      {2, 24, 48, true, 100, 256, 300, true, true},     {2, 48, 24, false, 400, 256, 320, false, true},
      {2, 48, 12, true, 129, 256, 321, true, true},     {2, 96, 12, false, 128, 256, 320, true, true},
      {2, 96, 96, true, 200, 256, 520, false, true},    {2, 96, 192, false, 128, 256, 320, false, true},
      {2, 192, 12, false, 400, 256, 320, true, true},   {2, 192, 96, true, 100, 256, 300, false, false},
      {2, 192, 48, false, 1000, 256, 2000, false, true}, {2, 192, 192, true, 128, 256, 320, true, false},
  };
  for (const Case& c : cases) {
    Build(c);
    Check(c, c.res2 + (c.sym ? 4 : 0));
  }
}

TEST_F(ValidityTest, Sphere) {
  const Case cases[] = {
      {4, 12, 12, false, 128, 256, 320, false, true}, {4, 24, 12, false, 100, 256, 320, true, true},
      {4, 48, 12, true, 300, 256, 320, true, true},   {4, 96, 12, false, 128, 256, 320, true, true},
      {4, 96, 12, false, 100, 256, 320, false, false}, {4, 192, 12, false, 1000, 256, 320, true, true},
      {4, 192, 12, false, 128, 256, 320, true, false}, {4, 192, 12, false, 100, 256, 320, false, false},
  };
  for (const Case& c : cases) {
    Build(c);
    Check(c, c.res);
  }
}

TEST_F(ValidityTest, HollowTorus) {
  const Case cases[] = {
      {3, 12, 12, false, 128, 256, 320, false, true},  {3, 12, 12, true, 128, 256, 320, true, true},
      {3, 24, 48, true, 100, 250, 333, true, true},    {3, 48, 24, false, 64, 200, 256, false, true},
      {3, 96, 12, true, 200, 400, 520, true, true},    {3, 12, 192, false, 129, 300, 321, true, true},
      // The largest: 38,416 cells; with the default radii some inner walls
      // have collapsed to a line.
      {3, 192, 192, true, 128, 256, 320, true, true},
  };
  for (const Case& c : cases) {
    Build(c);
    Check(c, (c.res + (c.sym ? 4 : 0)) * (c.res2 + (c.sym ? 4 : 0)));
  }
}

// The example templates load the settings their comments describe, build
// without menus and give valid brushes.
TEST_F(ValidityTest, ExampleTemplates) {
  struct Example {
    const char* file;
    bool* shapeFlag;
    int res, res2;
    float rad, rad2, rad3;
    bool sym;
    int brushes;
  };
  const Example examples[] = {
      {"torus.kvt", &IsTorus, 24, 48, 256, 256, 512, true, 52},
      {"sphere.kvt", &IsSphere, 24, 12, 384, 256, 320, false, 24},
      {"htorus.kvt", &IsHTorus, 12, 24, 256, 480, 544, false, 288},
  };
  for (const Example& e : examples) {
    ASSERT_TRUE(LoadTemplate(SourceDir() + "/examples/" + e.file)) << e.file;
    EXPECT_TRUE(*e.shapeFlag) << e.file;
    EXPECT_TRUE(nomenu && exmap && exobj) << e.file;
    EXPECT_EQ(res, e.res) << e.file;
    EXPECT_EQ(res2, e.res2) << e.file;
    EXPECT_EQ(rad, e.rad) << e.file;
    EXPECT_EQ(rad2, e.rad2) << e.file;
    EXPECT_EQ(rad3, e.rad3) << e.file;
    EXPECT_EQ(Sym, e.sym) << e.file;
    EXPECT_TRUE(facealign[SlotOuter] && wrapping[SlotOuter] && Hwrapping[SlotOuter]) << e.file;
    ASSERT_TRUE(Generate()) << e.file;
    const MapCheck m = CheckGroupAsMap();
    EXPECT_TRUE(m.ok) << e.file << ": " << m.error;
    EXPECT_EQ(m.brushes, e.brushes) << e.file;
  }
  EXPECT_TRUE(facealign[SlotInner] && wrapping[SlotInner] && facealign[SlotFloor]);
  EXPECT_EQ(G_HFMethod[SlotInner], HRangeInner);
}
