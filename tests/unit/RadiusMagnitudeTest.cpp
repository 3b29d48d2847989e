// Radii are lengths: the builders take negative radii by their magnitude, the
// arch and the hollow torus take the walls of radii given out of order in
// order, and a half height beyond the range of int is held at its limit.
// Taken as given, such radii turn brushes inside out or make them cross the
// axis.
#include <gtest/gtest.h>

#include <string>

#include "export/MapWriter.h"
#include "generation/Brush.h"
#include "generation/Generate.h"
#include "settings/Settings.h"
#include "settings/Shape.h"
#include "support/BrushCheck.h"
#include "support/GlobalState.h"
#include "support/Process.h"

namespace {

struct Radii {
  float rad, rad2, rad3;
};

// Every slot face-aligned and wrapped, so that the texture passes measure the
// faces the radii give.
void TextureEverySlot() {
  for (int k = 0; k < SlotCount; ++k) {
    facealign[k] = wrapping[k] = Hwrapping[k] = seamless[k] = true;
  }
}

class RadiusMagnitudeTest : public ResetSettingsTest {
 protected:
  // Builds the shape with the radii and returns the map file written.
  static std::string MapOf(shape s, const Radii& r) {
    ReSettings();
    SetShape(s);
    TextureEverySlot();
    rad = r.rad;
    rad2 = r.rad2;
    rad3 = r.rad3;
    EXPECT_TRUE(Generate());
    TempDir dir;
    cfpath = dir.path() + "/";
    cfname = "m";
    EXPECT_TRUE(ExportToMap());
    return dir.Read("m.map");
  }
};

const char* Name(shape s) {
  static const char* const names[] = {"cylinder", "arch", "torus", "htorus", "sphere"};
  return names[s];
}

}  // namespace

TEST_F(RadiusMagnitudeTest, RadiiGivenOtherwiseBuildTheBodyOfTheirLengthsInOrder) {
  struct Case {
    shape s;
    Radii given;
    Radii same;  // radii that describe the same body
  };
  const Case cases[] = {
      {cylinder, {-128, 256, 320}, {128, 256, 320}},
      {cylinder, {-100, 256, 320}, {100, 256, 320}},
      {sphere, {-128, 256, 320}, {128, 256, 320}},
      {sphere, {-2147483648.0f, 256, 320}, {2147483648.0f, 256, 320}},
      {arch, {-128, -256, -320}, {128, 256, 320}},
      {arch, {-100, 256, 320}, {100, 256, 320}},
      {arch, {320, 256, 128}, {128, 256, 320}},  // inner radius beyond the outer
      {arch, {2000, 256, 320}, {320, 256, 2000}},  // the larger radius decides the half height
      {torus, {-128, 256, -320}, {128, 256, 320}},
      {torus, {-400, 256, 320}, {400, 256, 320}},
      {htorus, {-128, -256, -320}, {128, 256, 320}},
      {htorus, {-100, 256, 320}, {100, 256, 320}},
  };
  for (const Case& c : cases) {
    const std::string given = MapOf(c.s, c.given);
    const MapCheck check = CheckMapText(given);
    EXPECT_TRUE(check.ok) << Name(c.s) << " " << c.given.rad << "/" << c.given.rad2 << "/" << c.given.rad3 << ": "
                          << check.error;
    EXPECT_TRUE(given == MapOf(c.s, c.same)) << Name(c.s) << " " << c.given.rad << "/" << c.given.rad2 << "/"
                                             << c.given.rad3;
  }
}

// The hollow torus's radii give the tube's cross-section radius
// t = (rad3 - rad) / 2 and the hollow's h = rad2 - rad - t. Out of order, t
// turns negative, h has the other sign than t, or h is wider than t; every
// cell must still be a closed convex brush between the two surfaces.
TEST_F(RadiusMagnitudeTest, HollowTorusWithRadiiOutOfOrderHasClosedCells) {
  const Radii cases[] = {
      {300, 256, 100},  // the outer edge before the inner one: t < 0, h > 0
      {512, 256, 128},  // t < 0, h < 0
      {128, 150, 320},  // the hollow's edge before the tube's centre: h < 0
      {128, 400, 320},  // the hollow's edge beyond the tube's: h wider than t
      {128, 0, 320},    // h = -224, wider than t
      {400, 480, 100},  // t < 0 and h wider than t
  };
  for (const Radii& r : cases) {
    const MapCheck check = CheckMapText(MapOf(htorus, r));
    EXPECT_TRUE(check.ok) << r.rad << "/" << r.rad2 << "/" << r.rad3 << ": " << check.error;
    EXPECT_EQ(check.brushes, 144) << r.rad << "/" << r.rad2 << "/" << r.rad3;
  }
}

// A half height a little under 2^31 rounds up to 2^31 in float, beyond the
// range of int: held at the largest int rather than converted undefined
// (which gave the smallest int, a ceiling far below the floor).
TEST_F(RadiusMagnitudeTest, ArchHalfHeightBeyondTheRangeOfIntIsHeldAtItsLimit) {
  for (const float height : {2147483647.0f, 3.0e9f, -3.0e9f}) {
    ReSettings();
    SetShape(arch);
    rad2 = height;
    ASSERT_TRUE(Generate());
    const face& ceiling = Group->brushes[0].faces[1];
    ASSERT_EQ(ceiling.pos, PosUp);
    EXPECT_EQ(ceiling.verts[0].z, 2147483648.0f) << height;
    EXPECT_EQ(Group->brushes[0].faces[0].verts[0].z, -2147483648.0f) << height;
  }
}
