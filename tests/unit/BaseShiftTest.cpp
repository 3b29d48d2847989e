#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>

#include "generation/BaseShift.h"
#include "generation/Brush.h"
#include "generation/TextureAxes.h"
#include "settings/Settings.h"
#include "support/GroupBuilders.h"
#include "support/ShapeFixture.h"

namespace {

class BaseShiftTest : public HandMadeFaceTest {
 protected:
  // A face of segment 0 of the slot.
  static face Face(std::initializer_list<vertex> vs, int slot = SlotOuter) {
    face f = MakeFace(vs);
    f.texId = slot;
    f.segment = 0;
    return f;
  }
};

// ---- Reference for the oblique solve ----------------------------------------
// R, the origin's foot on the plane through the origin parallel to the face,
// split along the edges a = P0 - P1 and b = P0 - P2 as R = s a - t b; the
// shift is |t| |b|, negative when R lies further from b than a does. Solved
// with the normal equations in double, independently of the row elimination.
struct Vec3 {
  double x, y, z;
};
Vec3 Sub(const vertex& p, const vertex& q) { return {double(p.x) - q.x, double(p.y) - q.y, double(p.z) - q.z}; }
double Dot(const Vec3& u, const Vec3& v) { return u.x * v.x + u.y * v.y + u.z * v.z; }
Vec3 Cross(const Vec3& u, const Vec3& v) {
  return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}
double Angle(const Vec3& u, const Vec3& v) { return std::acos(Dot(u, v) / std::sqrt(Dot(u, u) * Dot(v, v))); }

double ObliqueReference(const vertex& P0, const vertex& P1, const vertex& P2) {
  const Vec3 a = Sub(P0, P1), b = Sub(P0, P2);
  const Vec3 n = Cross(a, b);
  const Vec3 p{P0.x, P0.y, P0.z};
  const double h = Dot(p, n) / Dot(n, n);
  const Vec3 R{p.x - n.x * h, p.y - n.y * h, p.z - n.z * h};
  // [a.a  -a.b] [s]   [ a.R]
  // [-a.b  b.b] [t] = [-b.R]
  const double aa = Dot(a, a), ab = Dot(a, b), bb = Dot(b, b);
  const double det = aa * bb - ab * ab;
  const double t = (aa * -Dot(b, R) + ab * Dot(a, R)) / det;
  const double x = std::fabs(t) * std::sqrt(bb);
  return Angle(b, R) > Angle(b, a) ? -x : x;
}

}  // namespace

// ---- Direct projection ------------------------------------------------------

TEST_F(BaseShiftTest, WallInPlaneXIs100) {
  struct Case {
    const char* name;
    face f;
  };
  const Case cases[] = {
      {"above z = 0", Face({{100, 48, 64}, {100, 48, 0}, {100, 80, 0}, {100, 80, 64}})},
      {"mirrored below z = 0", Face({{100, 48, -64}, {100, 48, 0}, {100, 80, 0}, {100, 80, -64}})},
  };
  for (shape s : {cylinder, arch}) {
    SelectShapeFlags(s);
    for (const Case& c : cases) {
      EXPECT_NEAR(GetBaseShift(c.f, hor), -48.0f, 5e-5f) << ShapeName(s) << " " << c.name;
      EXPECT_NEAR(GetBaseShift(c.f, ver), 64.0f, 5e-5f) << ShapeName(s) << " " << c.name;
    }
  }
}

TEST_F(BaseShiftTest, HorizontalShiftIsNeverPositive) {
  // The same wall moved to the other side of the origin's foot.
  SelectShapeFlags(cylinder);
  const face f = Face({{100, -80, 64}, {100, -80, 0}, {100, -48, 0}, {100, -48, 64}});
  EXPECT_NEAR(GetBaseShift(f, hor), -80.0f, 5e-5f);
  EXPECT_NEAR(GetBaseShift(f, ver), 64.0f, 5e-5f);
}

TEST_F(BaseShiftTest, ShiftIsZeroWhereTheOriginProjectsOntoP0) {
  // P0 = (100, 0, 0) is the origin's foot: G is the zero vector, its cosine NaN.
  SelectShapeFlags(cylinder);
  const face f = Face({{100, 0, 64}, {100, 0, 0}, {100, 32, 0}, {100, 32, 64}});
  EXPECT_EQ(GetBaseShift(f, hor), 0.0f);
}

TEST_F(BaseShiftTest, DegenerateFacesGiveZero) {
  const float big = std::numeric_limits<float>::max();
  struct Case {
    const char* name;
    face f;
  };
  const Case cases[] = {
      {"four coinciding vertices", Face({{40, 30, -20}, {40, 30, -20}, {40, 30, -20}, {40, 30, -20}})},
      {"overflowing coordinates", Face({{big, 0, -big}, {-big, big, -big}, {big, big, big}, {-big, -big, -big}})},
  };
  for (shape s : {cylinder, arch, torus, htorus, sphere}) {
    SelectShapeFlags(s);
    for (int slot : {SlotOuter, SlotInner, SlotFloor}) {
      for (bool shear : {false, true}) {
        for (int k = 0; k < SlotCount; ++k) Shear[k] = shear;
        for (const Case& c : cases) {
          face f = c.f;
          f.texId = slot;
          AlignToFace(f);
          for (axis ax : {hor, ver}) {
            EXPECT_EQ(GetBaseShift(f, ax), 0.0f) << ShapeName(s) << " slot " << slot << " shear " << shear << " axis "
                                                 << ax << " " << c.name;
          }
        }
      }
    }
  }
}

// ---- Oblique solve ----------------------------------------------------------

class ObliqueShiftTest : public BaseShiftTest {
 protected:
  void SetUp() override {
    BaseShiftTest::SetUp();
    SelectShapeFlags(torus);
    Shear[SlotOuter] = true;
  }
};

TEST_F(ObliqueShiftTest, ShearedTorusFaceSolvedByEliminatingColumnA) {
  // a = (-30, 0, 0) has zeros in rows 1 and 2: t = -0.61538, |P0 - P2| = 10.247.
  const face f = Face({{100, 0, -32}, {130, 0, -32}, {131, 10, -30}, {101, 10, -30}});
  EXPECT_NEAR(GetBaseShift(f, hor), -6.3058f, 5e-5f);
  EXPECT_NEAR(GetBaseShift(f, hor), ObliqueReference(f.verts[0], f.verts[1], f.verts[3]), 1e-4);
  const float vertical = GetBaseShift(f, ver);
  Shear[SlotOuter] = false;
  EXPECT_EQ(GetBaseShift(f, ver), vertical) << "the vertical shift takes no oblique solve";
}

TEST_F(ObliqueShiftTest, FaceWhoseFirstThreeVerticesShareOneHeightGivesZero) {
  // Solved, R = (100, 20, 0) would split with t = 2, a shift of 2 |b|.
  const face f = Face({{100, 20, -32}, {130, 20, -32}, {131, 30, -32}, {101, 30, -32}});
  EXPECT_EQ(GetBaseShift(f, hor), 0.0f);
}

TEST_F(ObliqueShiftTest, SolveMatchesTheSplitOfRAlongTheTwoEdges) {
  // Planar parallelograms v3 = v0 + v2 - v1 in general position, with edges
  // along the axes and in the upper half (points 1, 0, 2).
  struct Case {
    const char* name;
    vertex v0, v1, v2;
  };
  const Case cases[] = {
      {"general, below", {100, 0, -32}, {128, 20, -30}, {131, 30, -20}},
      {"general, other slant", {-60, 90, -40}, {-20, 110, -50}, {-10, 100, -10}},
      {"a along y (rows 0 and 2 have a = 0)", {50, 100, -32}, {50, 130, -32}, {60, 131, -30}},
      {"b along z (rows 0 and 1 have b = 0)", {80, 40, -64}, {100, 70, -60}, {100, 70, -20}},
      {"a.y = 0: order (0, 1) has E2.a = 0", {100, 0, -32}, {130, 0, -27}, {131, 10, -20}},
      {"b.x = b.y: order (0, 1) leaves row 1 as it was", {100, 0, -32}, {130, 5, -30}, {140, 15, -28}},
      {"general, above", {100, 0, 32}, {128, 20, 30}, {131, 30, 20}},
      {"steep, above", {200, -50, 96}, {230, -40, 72}, {240, 10, 80}},
  };
  for (shape s : {torus, htorus, sphere}) {
    SelectShapeFlags(s);
    for (int slot : {SlotOuter, SlotInner}) {
      Shear[SlotOuter] = Shear[SlotInner] = false;
      Shear[slot] = true;
      for (const Case& c : cases) {
        const vertex v3{c.v0.x + c.v2.x - c.v1.x, c.v0.y + c.v2.y - c.v1.y, c.v0.z + c.v2.z - c.v1.z};
        const face f = Face({c.v0, c.v1, c.v2, v3}, slot);
        const bool upper = c.v0.z >= 0;
        const double expected =
            upper ? ObliqueReference(c.v1, c.v0, c.v2) : ObliqueReference(c.v0, c.v1, v3);
        EXPECT_NEAR(GetBaseShift(f, hor), expected, 1e-4 * std::fmax(1.0, std::fabs(expected)))
            << ShapeName(s) << " slot " << slot << " " << c.name;
      }
    }
  }
}

TEST_F(ObliqueShiftTest, UnshearedSlotUsesTheProjection) {
  // Shear of another slot does not switch the solve on.
  Shear[SlotOuter] = false;
  Shear[SlotInner] = true;
  const face f = Face({{100, 0, -32}, {130, 0, -32}, {131, 10, -30}, {101, 10, -30}});
  const float projected = GetBaseShift(f, hor);
  SelectShapeFlags(cylinder);
  EXPECT_EQ(projected, GetBaseShift(f, hor));
  EXPECT_GT(std::fabs(projected - -6.3058f), 1.0f);
}

// ---- Line intersection and the hollow torus's cell ends --------------------

TEST_F(BaseShiftTest, LineIntersection) {
  struct Case {
    const char* name;
    vertex P;
    vector d, e;
    vertex expected;
  };
  const Case cases[] = {
      // Rows 2 and 0 hold nothing; only the eighth pair, (0, 1), gives a finite x.
      {"eighth pair", {10, 5, 0}, {-1, 0, 0}, {0, 1, 0}, {0, 5, 0}},
      {"second pair", {300, 0, -32}, {-100, 0, 0}, {0, 0, -1}, {0, 0, -32}},
      // Skew lines: the first pair, (2, 1), decides; (0, 2) would give -10.
      {"first pair", {10, 20, 30}, {1, 1, 2}, {1, 1, 1}, {10, 10, 10}},
  };
  for (const Case& c : cases) {
    const vertex r = GetLineInt(c.P, c.d, Zero, c.e);
    EXPECT_FLOAT_EQ(r.x, c.expected.x) << c.name;
    EXPECT_FLOAT_EQ(r.y, c.expected.y) << c.name;
    EXPECT_FLOAT_EQ(r.z, c.expected.z) << c.name;
  }
}

TEST_F(BaseShiftTest, ParallelLinesGiveNoFiniteIntersection) {
  const vertex r = GetLineInt(vertex{0, 5, 0}, vector{1, 0, 0}, Zero, vector{1, 0, 0});
  EXPECT_FALSE(std::isfinite(r.x));
}

TEST_F(BaseShiftTest, HollowTorusCellEndHorizontalShift) {
  // Cell ends lie in a section boundary, here the plane y = 0.
  SelectShapeFlags(htorus);
  const face upper = Face({{200, 0, 32}, {300, 0, 32}, {300, 0, -32}, {200, 0, -32}}, SlotFloor);
  const face lower = Face({{200, 0, -32}, {300, 0, -32}, {300, 0, 32}, {200, 0, 32}}, SlotFloor);

  // Without shear: P0 = vertex 2 along the edge towards vertex 1.
  EXPECT_NEAR(GetBaseShift(upper, hor), -32.0f, 5e-5f);
  EXPECT_NEAR(GetBaseShift(lower, hor), -32.0f, 5e-5f);

  // With shear: where the edge through vertex 2 crosses the line of vecHor
  // through the origin, negative when P0 (vertex 1) lies below z = 0.
  Shear[SlotFloor] = true;
  face f = upper;
  AlignToFace(f);
  EXPECT_NEAR(GetBaseShift(f, hor), 32.0f, 5e-5f);
  f = lower;
  AlignToFace(f);
  EXPECT_NEAR(GetBaseShift(f, hor), -32.0f, 5e-5f);
  f = upper;
  f.vecHor = vector{1, 0, -1};  // reads the axis the face carries
  EXPECT_NEAR(GetBaseShift(f, hor), 32.0f * std::sqrt(2.0f), 1e-4f);
  f.vecHor = vector{1, 0, 0};  // parallel to the edge
  EXPECT_EQ(GetBaseShift(f, hor), 0.0f);
}

// ---- The sphere's three-vertex faces ----------------------------------------

TEST_F(BaseShiftTest, SphereTrianglesAreMeasuredInTheirOwnPlane) {
  // A three-vertex face has no vertex 3; its vertex 2 takes that place, so
  // the bottom triangle's horizontal shift runs along its ring edge (the
  // origin in place of the missing vertex would give -|P0| = -169.95).
  SelectShapeFlags(sphere);
  const int H = res / 2;
  face bottom = Face({{100, -50, -128}, {0, 0, -128}, {100, 50, -128}});
  bottom.segment = H;
  face top = Face({{0, 0, 128}, {100, -50, 128}, {100, 50, 128}});
  top.segment = 0;
  EXPECT_NEAR(GetBaseShift(bottom, hor), -50.0f, 5e-5f);
  EXPECT_NEAR(GetBaseShift(bottom, ver), 100.0f, 5e-5f);
  EXPECT_NEAR(GetBaseShift(top, hor), -50.0f, 5e-5f);
  EXPECT_EQ(GetBaseShift(top, ver), 0.0f);  // the pole is the origin's foot
}

// ---- Exact bits -------------------------------------------------------------

TEST_F(BaseShiftTest, BothBuildsComputeTheSameBits) {
  // The map file prints these numbers; the 32-bit and the 64-bit build must
  // agree to the last bit, so the trigonometry must not come from the C
  // library. This test runs in both test executables.
  // Slanted walls whose foot of the origin lies almost along T: the sine of
  // the small angle is taken in single precision, and R from the float
  // products N_k dist.
  SelectShapeFlags(cylinder);
  const face slanted1 = Face({{131, 1, 164}, {100, 1, 100}, {100, 78, 100}, {131, 78, 164}});
  EXPECT_EQ(GetBaseShift(slanted1, hor), -0x1.fffe5ep-1f);
  EXPECT_EQ(GetBaseShift(slanted1, ver), 0x1.99683ap+7f);
  const face slanted2 = Face({{131, 1, 220}, {100, 1, 156}, {100, 78, 156}, {131, 78, 220}});
  EXPECT_EQ(GetBaseShift(slanted2, hor), -0x1.001b4p+0f);

  SelectShapeFlags(torus);
  const face wall = Face({{62, 248, 96}, {74, 296, 72}, {222, 222, 72}, {186, 186, 96}});
  EXPECT_EQ(GetBaseShift(wall, hor), -0x1.08c018p+6f);  // projection: sin(acos c)
  EXPECT_EQ(GetBaseShift(wall, ver), -0x1.698364p+7f);
  Shear[SlotOuter] = true;
  EXPECT_EQ(GetBaseShift(wall, hor), 0x1.37b89ap+4f);  // oblique solve

  SelectShapeFlags(arch);
  Shear[SlotFloor] = true;
  face floor = Face({{58, 232, -256}, {62, 248, -256}, {186, 186, -256}, {174, 174, -256}}, SlotFloor);
  AlignToFace(floor);  // cos and sin of the edge's yaw
  EXPECT_EQ(floor.vecHor.x, -0x1.f0b686p-1f);
  EXPECT_EQ(floor.vecHor.y, 0x1.f0b67cp-3f);

  const VecRot r = GetVecRot(vector{3, 7, 2});
  EXPECT_EQ(r.yaw, 0x1.0b34a4p+6f);
  EXPECT_EQ(r.pitch, 0x1.d6dbfcp+3f);
}
