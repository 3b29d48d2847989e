#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "generation/Brush.h"
#include "generation/CleanUp.h"
#include "generation/Texturize.h"
#include "settings/Settings.h"
#include "support/GlobalState.h"
#include "support/GroupBuilders.h"
#include "support/ShapeFixture.h"

namespace {

bool SameBits(float a, float b) { return std::signbit(a) == std::signbit(b) && (a == b || (std::isnan(a) && std::isnan(b))); }

::testing::AssertionResult VecIs(const vector& v, float x, float y, float z) {
  if (SameBits(v.x, x) && SameBits(v.y, y) && SameBits(v.z, z)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << (std::signbit(v.x) ? "-" : "") << std::fabs(v.x) << ", "
                                       << (std::signbit(v.y) ? "-" : "") << std::fabs(v.y) << ", "
                                       << (std::signbit(v.z) ? "-" : "") << std::fabs(v.z) << ")";
}

// The reduction as two plain loops, each step rounded to float; it reports
// when the loops would never end or take too long to wait for.
enum class LoopEnd { Ended, Never, TooLong };

LoopEnd PlainLoops(float& x, float size, long long cap) {
  long long steps = 0;
  while (x < 0.0f) {
    const float next = x + size;
    if (next == x) return LoopEnd::Never;
    x = next;
    if (++steps > cap) return LoopEnd::TooLong;
  }
  while (x >= size) {
    const float next = x - size;
    if (next == x) return LoopEnd::Never;
    x = next;
    if (++steps > cap) return LoopEnd::TooLong;
  }
  return LoopEnd::Ended;
}

class CleanUpTest : public ResetSettingsTest {
 protected:
  void SetUp() override {
    ResetSettingsTest::SetUp();
    SetCapacities(1, 4, 4);
    NewGroup(1, 4);
    UseSettingsTextureSizes();
  }
  face& Face(int i = 0) { return Group->brushes[0].faces[i]; }

  // A face of the slot with the axes and values of the rotation examples.
  face& Example(int slot, int i = 0) {
    face& f = Face(i);
    f.texId = slot;
    f.vecHor = vector{1.0f, 0.0f, 0.0f};
    f.vecVer = vector{0.0f, 0.0f, -1.0f};
    f.shiftX = 10.0f;
    f.shiftY = 20.0f;
    f.scaleX = 2.0f;
    f.scaleY = 3.0f;
    f.rot = 0.0f;
    f.pos = PosNull;
    return f;
  }

  // The shift reduced into slot 0 with the texture size of its build.
  float Reduced(float shift, int size, axis a = hor) {
    BuildSizeX[0] = BuildSizeY[0] = size;
    face f;
    f.texId = 0;
    return ReducedShift(f, shift, a);
  }
};

}  // namespace

TEST_F(CleanUpTest, RotationTurnsAxesShiftsAndScales) {
  struct Case {
    float rot;
    float hor[3], ver[3];
    float shiftX, shiftY, scaleX, scaleY;
  };
  const float n0 = -0.0f;
  const Case cases[] = {
      {90.0f, {0, 0, -1}, {-1, n0, n0}, 20, 118, 3, 2},
      {180.0f, {-1, n0, n0}, {n0, n0, 1}, 118, 108, 2, 3},
      {270.0f, {n0, n0, 1}, {1, 0, 0}, 108, 10, 3, 2},
  };
  IsTorus = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rot);
    G_Rot[0] = c.rot;
    face& f = Example(0);
    CleanUp();
    EXPECT_TRUE(VecIs(f.vecHor, c.hor[0], c.hor[1], c.hor[2]));
    EXPECT_TRUE(VecIs(f.vecVer, c.ver[0], c.ver[1], c.ver[2]));
    EXPECT_EQ(f.shiftX, c.shiftX);
    EXPECT_EQ(f.shiftY, c.shiftY);
    EXPECT_EQ(f.scaleX, c.scaleX);
    EXPECT_EQ(f.scaleY, c.scaleY);
    EXPECT_EQ(f.rot, c.rot);
  }
}

TEST_F(CleanUpTest, UnrotatedAndHiddenFacesKeepTheirAxesAndRotation) {
  IsTorus = true;
  G_Rot[1] = 90.0f;
  G_ShiftX[1] = 5.0f;
  face& plain = Example(0, 0);  // slot 0, not rotated
  face& hidden = Example(SlotNull, 1);
  hidden.shiftX = 300.0f;
  CleanUp();
  EXPECT_TRUE(VecIs(plain.vecHor, 1, 0, 0));
  EXPECT_EQ(plain.rot, 0.0f);
  EXPECT_EQ(plain.shiftX, 10.0f);
  EXPECT_TRUE(VecIs(hidden.vecVer, 0, 0, -1));
  EXPECT_EQ(hidden.rot, 0.0f);
  EXPECT_EQ(hidden.shiftX, 300.0f) << "hidden faces get no user shift and no reduction";
  EXPECT_EQ(hidden.scaleX, 2.0f);
}

TEST_F(CleanUpTest, ShearedFacesCorrectTheirSigns) {
  struct Case {
    const char* name;
    bool sphere;
    int slot;
    int pos;
    float rot;
    float shiftX, shiftY;  // after the pass, sizes 128
  };
  const Case cases[] = {
      {"sphere without rotation", true, 0, PosNull, 0.0f, 10, 108},
      {"sphere 90", true, 0, PosNull, 90.0f, 108, 118},
      {"sphere 180", true, 0, PosNull, 180.0f, 118, 20},
      {"sphere 270", true, 0, PosNull, 270.0f, 20, 10},
      {"hollow torus cell end up 90", false, SlotFloor, PosUp, 90.0f, 108, 10},
      {"hollow torus cell end down 90", false, SlotFloor, PosDown, 90.0f, 20, 118},
      {"hollow torus cell end up 270", false, SlotFloor, PosUp, 270.0f, 20, 118},
      {"hollow torus cell end up 180", false, SlotFloor, PosUp, 180.0f, 118, 108},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IsSphere = c.sphere;
    IsHTorus = !c.sphere;
    Shear[c.slot] = true;
    G_Rot[c.slot] = c.rot;
    face& f = Example(c.slot);
    f.pos = c.pos;
    CleanUp();
    EXPECT_EQ(f.shiftX, c.shiftX);
    EXPECT_EQ(f.shiftY, c.shiftY);
    Shear[c.slot] = false;
    G_Rot[c.slot] = 0.0f;
  }
}

TEST_F(CleanUpTest, UserShiftIsAddedBeforeTheReduction) {
  IsTorus = true;
  G_ShiftX[0] = 200.0f;
  G_ShiftY[0] = -30.0f;
  face& f = Example(0);
  CleanUp();
  EXPECT_EQ(f.shiftX, 82.0f);
  EXPECT_EQ(f.shiftY, 118.0f);
}

TEST_F(CleanUpTest, ArchRoundsEveryVerticalShiftAndReducesOnlyBodySlots) {
  IsArch = true;
  face& up = Example(0, 0);
  up.shiftY = 12.5f;
  face& down = Example(2, 1);
  down.shiftY = -12.5f;
  face& hidden = Example(SlotNull, 2);
  hidden.shiftY = 300.5f;
  hidden.shiftX = -7.25f;
  CleanUp();
  EXPECT_EQ(up.shiftY, 13.0f);
  EXPECT_EQ(down.shiftY, 115.0f);
  EXPECT_EQ(hidden.shiftY, 301.0f) << "rounded but not reduced";
  EXPECT_EQ(hidden.shiftX, -7.25f);
}

TEST_F(CleanUpTest, ZeroShiftsKeepTheirSign) {
  IsSphere = true;
  Shear[0] = true;
  face& f = Example(0);
  f.shiftX = 0.0f;
  f.shiftY = 0.0f;  // negated by the sheared-sphere rule
  CleanUp();
  EXPECT_TRUE(SameBits(f.shiftX, 0.0f));
  EXPECT_TRUE(SameBits(f.shiftY, -0.0f));
}

TEST_F(CleanUpTest, RotatedSlotIsReducedByTheSizesOfItsBuild) {
  // After the turn both shifts are 200; with the exchange of the wrapping pass
  // in force shiftX is reduced by 256 and shiftY by 128, without it the other
  // way round.
  struct Case {
    bool wrappingPass;
    float shiftX, shiftY;
  };
  const Case cases[] = {{true, 200, 72}, {false, 72, 200}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wrappingPass);
    SetUp();
    IsTorus = true;
    G_Rot[0] = 90.0f;
    G_SizeX[0] = 256;
    G_SizeY[0] = 128;
    Group->sections = Group->segments = Group->surfaces = 1;
    Group->brushes[0].section = 0;
    face& f = Example(0);
    f.segment = 0;
    f.wrapped = true;
    f.scaleX = f.scaleY = 1.0f;
    f.shiftX = -200.0f;  // becomes shiftY = 200
    f.shiftY = 200.0f;   // becomes shiftX = 200
    UseSettingsTextureSizes();
    if (c.wrappingPass) Texturize();
    CleanUp();
    EXPECT_EQ(f.shiftX, c.shiftX);
    EXPECT_EQ(f.shiftY, c.shiftY);
    EXPECT_EQ(G_SizeX[0], 256) << "the settings keep their sizes";
  }
}

TEST_F(CleanUpTest, MiniShiftBringsShiftsIntoOneTextureSize) {
  struct Case {
    float shift;
    int size;
    float expected;
  };
  const Case cases[] = {
      {128.0f, 128, 0.0f},    {-256.0f, 128, 0.0f},   {127.5f, 128, 127.5f}, {210.0f, 128, 82.0f},
      {-10.0f, 128, 118.0f},  {-1e-10f, 128, 0.0f},   {1000.25f, 96, 40.25f}, {-1000.25f, 96, 55.75f},
      {5.0f, 1, 0.0f},        {0.5f, 1, 0.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.shift << " size " << c.size);
    EXPECT_TRUE(SameBits(Reduced(c.shift, c.size), c.expected));
    EXPECT_TRUE(SameBits(Reduced(c.shift, c.size, ver), c.expected));
  }
}

TEST_F(CleanUpTest, MiniShiftTakesTheSizeOfTheTurnedAxis) {
  BuildSizeX[1] = 64;
  BuildSizeY[1] = 256;
  struct Case {
    float rot;
    axis a;
    float expected;  // 356 reduced by 64 or by 256
  };
  const Case cases[] = {{0, hor, 36}, {0, ver, 100}, {180, hor, 36}, {180, ver, 100},
                        {90, hor, 100}, {90, ver, 36}, {270, hor, 100}, {270, ver, 36}};
  for (const Case& c : cases) {
    face f;
    f.texId = 1;
    f.rot = c.rot;
    f.shiftX = f.shiftY = 356.0f;
    MiniShift(f, c.a);
    EXPECT_EQ(c.a == hor ? f.shiftX : f.shiftY, c.expected) << c.rot << (c.a == hor ? " hor" : " ver");
  }
}

TEST_F(CleanUpTest, MiniShiftLeavesWhatItCannotReduce) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_TRUE(std::isnan(Reduced(nan, 128)));
  EXPECT_EQ(Reduced(inf, 128), 0.0f);
  EXPECT_EQ(Reduced(-inf, 128), 0.0f);
  EXPECT_EQ(Reduced(300.0f, 0), 300.0f);
  EXPECT_EQ(Reduced(-300.0f, -128), -300.0f);
  face hidden;
  hidden.shiftX = 300.0f;
  BuildSizeX[0] = 128;
  MiniShift(hidden, hor);
  EXPECT_EQ(hidden.shiftX, 300.0f) << "the hidden slot has no size";
}

// Where the plain loops end, the reduction gives exactly their result, also
// where the steps round (the spacing of the floats exceeds the size's lowest
// bit) and many steps are taken at once.
TEST_F(CleanUpTest, MiniShiftMatchesThePlainLoopsWhereTheyEnd) {
  struct Probe {
    float shift;
    int size;
  };
  std::vector<Probe> probes = {
      {6.0e8f, 96},        {-6.0e8f, 96},   {7.0e7f, 100},        {-7.0e7f, 100}, {3.4e7f, 3},
      {-3.4e7f, 3},        {1.0e9f, 255},   {5.4e8f, 96},         {0x1p25f, 3},   {0x1p25f + 4.0f, 3},
      {-0x1p24f, 1},   {3.0e7f, 16777215},   {-1e-30f, 3},   {0x1p29f, 96},
  };
  // A spread of magnitudes for several sizes.
  const int sizes[] = {1, 3, 96, 100, 128, 255, 1000};
  uint32_t seed = 12345;
  for (int size : sizes) {
    for (int i = 0; i < 12; ++i) {
      seed = seed * 1664525u + 1013904223u;
      const double exponent = -8.0 + 14.0 * (seed >> 8) / double(1u << 24);
      const float magnitude = static_cast<float>(size * std::pow(10.0, exponent));
      probes.push_back({(i % 2) ? -magnitude : magnitude, size});
    }
  }
  int compared = 0, rounded = 0;
  for (const Probe& p : probes) {
    float expected = p.shift;
    if (PlainLoops(expected, static_cast<float>(p.size), 20000000) != LoopEnd::Ended) continue;
    ++compared;
    const float got = Reduced(p.shift, p.size);
    EXPECT_TRUE(SameBits(got, expected)) << p.shift << " size " << p.size << ": " << got << " vs " << expected;
    double exact = std::fmod(static_cast<double>(p.shift), p.size);
    if (exact < 0) exact += p.size;
    if (static_cast<double>(expected) != exact) ++rounded;
  }
  EXPECT_GT(compared, 80);
  EXPECT_GT(rounded, 5) << "the probes must reach shifts where the plain steps round";
}

TEST_F(CleanUpTest, MiniShiftEndsWhereThePlainLoopsWouldNot) {
  struct Case {
    float shift;
    int size;
    float expected;  // the remainder
  };
  const Case cases[] = {
      {1e10f, 3, 1.0f},    {-1e10f, 3, 2.0f},       {1e12f, 128, 0.0f},
      {3e38f, 1000, -1.0f}, {-3e38f, 96, -1.0f},     {0x1p32f + 512.0f, 128, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.shift << " size " << c.size);
    float loop = c.shift;
    ASSERT_EQ(PlainLoops(loop, static_cast<float>(c.size), 1000), LoopEnd::Never);
    const float got = Reduced(c.shift, c.size);
    EXPECT_GE(got, 0.0f);
    EXPECT_LT(got, static_cast<float>(c.size));
    if (c.expected >= 0.0f) {
      EXPECT_EQ(got, c.expected);
    }
  }
}
