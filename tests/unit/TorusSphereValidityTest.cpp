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
#include "support/ShapeFixture.h"

namespace {

struct Case {
  ::shape shape;
  int res, res2;
  bool sym;
  float rad, rad2, rad3;
  bool textured;  // face alignment with wrapping on every slot
};

std::string Name(const Case& c) {
  char text[128];
  std::snprintf(text, sizeof text, "%s %d/%d%s radii %g/%g/%g%s", ShapeName(c.shape), c.res, c.res2,
                c.sym ? " sym" : "", static_cast<double>(c.rad), static_cast<double>(c.rad2),
                static_cast<double>(c.rad3), c.textured ? " textured" : "");
  return text;
}

class ValidityTest : public ResetSettingsTest {
 protected:
  static void Build(const Case& c) {
    SelectShapeFlags(c.shape);
    SetMesh({c.res, c.res2, c.sym, c.rad, c.rad2, c.rad3});
    for (int s = 0; s < SlotCount; ++s) {
      facealign[s] = wrapping[s] = Hwrapping[s] = c.textured;
      seamless[s] = Hseamless[s] = c.textured;
    }
    ASSERT_TRUE(Generate());
  }

  static void Check(const Case& c, int expectedBrushes) {
    const MapCheck m = CheckGroupAsMap();
    EXPECT_TRUE(m.ok) << Name(c) << ": " << m.error;
    EXPECT_EQ(m.brushes, expectedBrushes) << Name(c);
  }
};

}  // namespace

TEST_F(ValidityTest, Torus) {
  const Case cases[] = {
      {torus, 12, 12, false, 128, 256, 320, false},    {torus, 12, 12, true, 128, 256, 320, true},
      {torus, 24, 48, true, 100, 256, 300, true},      {torus, 48, 24, false, 400, 256, 320, false},
      {torus, 48, 12, true, 129, 256, 321, true},      {torus, 96, 12, false, 128, 256, 320, true},
      {torus, 96, 96, true, 200, 256, 520, false},     {torus, 96, 192, false, 128, 256, 320, false},
      {torus, 192, 12, false, 400, 256, 320, true},    {torus, 192, 96, true, 100, 256, 300, false},
      {torus, 192, 48, false, 1000, 256, 2000, false}, {torus, 192, 192, true, 128, 256, 320, true},
  };
  for (const Case& c : cases) {
    Build(c);
    Check(c, c.res2 + (c.sym ? 4 : 0));
  }
}

TEST_F(ValidityTest, Sphere) {
  const Case cases[] = {
      {sphere, 12, 12, false, 128, 256, 320, false}, {sphere, 24, 12, false, 100, 256, 320, true},
      {sphere, 48, 12, true, 300, 256, 320, true},   {sphere, 96, 12, false, 128, 256, 320, true},
      {sphere, 96, 12, false, 100, 256, 320, false}, {sphere, 192, 12, false, 1000, 256, 320, true},
      {sphere, 192, 12, false, 128, 256, 320, true}, {sphere, 192, 12, false, 100, 256, 320, false},
  };
  for (const Case& c : cases) {
    Build(c);
    Check(c, c.res);
  }
}

TEST_F(ValidityTest, HollowTorus) {
  const Case cases[] = {
      {htorus, 12, 12, false, 128, 256, 320, false},
      {htorus, 12, 12, true, 128, 256, 320, true},
      {htorus, 24, 48, true, 100, 250, 333, true},
      {htorus, 48, 24, false, 64, 200, 256, false},
      {htorus, 96, 12, true, 200, 400, 520, true},
      {htorus, 12, 192, false, 129, 300, 321, true},
      // The largest: 38,416 cells; with the default radii some inner walls
      // have collapsed to a line.
      {htorus, 192, 192, true, 128, 256, 320, true},
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
