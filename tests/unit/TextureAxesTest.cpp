#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>

#include "generation/Brush.h"
#include "generation/PortableMath.h"
#include "generation/TextureAxes.h"
#include "generation/VectorMath.h"
#include "settings/Settings.h"
#include "support/GroupBuilders.h"
#include "support/ShapeFixture.h"

namespace {

std::string Str(const vector& v) {
  return "(" + std::to_string(v.x) + ", " + std::to_string(v.y) + ", " + std::to_string(v.z) + ")";
}

bool Same(const vector& a, const vector& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

bool Finite(const vector& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

class TextureAxesTest : public HandMadeFaceTest {
 protected:
  static face Face(std::initializer_list<vertex> vs) { return MakeFace(vs); }
};

const vector U_X{1, 0, 0}, U_Y{0, 1, 0};
const vector V_NegY{0, -1, 0}, V_NegZ{0, 0, -1};

}  // namespace

// ---- World alignment ------------------------------------------------------

TEST_F(TextureAxesTest, WorldAlignSortsTheNormalIntoAPlane) {
  struct Case {
    const char* name;
    vertex v1, v2;  // vertex 0 is the origin; the normal is v1 x v2
    int code;
  };
  const Case cases[] = {
      {"up (0,0,1)", {1, 0, 0}, {0, 1, 0}, PlaneXY},
      {"down (0,0,-1)", {0, 1, 0}, {1, 0, 0}, PlaneXY},
      {"exactly 45 degrees (0,-1,1)", {1, 0, 0}, {0, 1, 1}, PlaneXY},
      {"steeper than 45 (0,-1.1,1)", {1, 0, 0}, {0, 1, 1.1f}, PlaneXZ},
      {"along +y", {0, 0, 1}, {1, 0, 0}, PlaneXZ},
      {"along -y", {1, 0, 0}, {0, 0, 1}, PlaneXZ},
      {"along +x", {0, 1, 0}, {0, 0, 1}, PlaneYZ},
      {"along -x", {0, 0, 1}, {0, 1, 0}, PlaneYZ},
      {"diagonal (1,1,0): 45 counts as x", {0, 0, 1}, {1, -1, 0}, PlaneYZ},
      {"diagonal (-1,1,0): 135 counts as x", {0, 0, 1}, {1, 1, 0}, PlaneYZ},
      {"(1,0.9,0) nearer x", {0, 0, 1}, {0.9f, -1, 0}, PlaneYZ},
      {"(0.9,1,0) nearer y", {0, 0, 1}, {1, -0.9f, 0}, PlaneXZ},
  };
  for (const Case& c : cases) {
    face f = Face({vertex{}, c.v1, c.v2});
    EXPECT_EQ(GetWorldAlign(f), c.code) << c.name;
    AlignToWorld(f);
    const vector u = c.code == PlaneYZ ? U_Y : U_X;
    const vector v = c.code == PlaneXY ? V_NegY : V_NegZ;
    EXPECT_TRUE(Same(f.vecHor, u)) << c.name << " U " << Str(f.vecHor);
    EXPECT_TRUE(Same(f.vecVer, v)) << c.name << " V " << Str(f.vecVer);
  }
}

TEST_F(TextureAxesTest, AlignToWorldChangesOnlyTheNamedComponents) {
  struct Case {
    const char* name;
    vertex v1, v2;
    vector hor, ver;  // expected from the start values (2, 3, 5) and (7, 8, 9)
  };
  const Case cases[] = {
      {"horizontal", {1, 0, 0}, {0, 1, 0}, {1, 3, 5}, {7, -1, 9}},
      {"facing y", {0, 0, 1}, {1, 0, 0}, {1, 3, 5}, {7, 8, -1}},
      {"facing x", {0, 1, 0}, {0, 0, 1}, {2, 1, 5}, {7, 8, -1}},
      {"no normal", {1, 1, 1}, {2, 2, 2}, {2, 3, 5}, {7, 8, 9}},
  };
  for (const Case& c : cases) {
    face f = Face({vertex{}, c.v1, c.v2});
    f.vecHor = vector{2, 3, 5};
    f.vecVer = vector{7, 8, 9};
    AlignToWorld(f);
    EXPECT_TRUE(Same(f.vecHor, c.hor)) << c.name << " U " << Str(f.vecHor);
    EXPECT_TRUE(Same(f.vecVer, c.ver)) << c.name << " V " << Str(f.vecVer);
  }
}

TEST_F(TextureAxesTest, FaceWithoutAnyNormalKeepsItsAxes) {
  const face collinear = Face({{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}});
  const face point = Face({{5, 5, 5}, {5, 5, 5}, {5, 5, 5}, {5, 5, 5}});
  for (const face* src : {&collinear, &point}) {
    face f = *src;
    EXPECT_EQ(GetWorldAlign(f), PlaneNone);
    AlignToWorld(f);
    EXPECT_TRUE(Same(f.vecHor, vector{})) << Str(f.vecHor);
    EXPECT_TRUE(Same(f.vecVer, vector{})) << Str(f.vecVer);
  }
}

TEST_F(TextureAxesTest, WorldAlignFindsThePlaneWhenTwoOfTheFirstThreeVerticesCoincide) {
  // Truncated ring radii can put two corners of a face on one point; the
  // plane then comes from the other vertices instead of zero axes.
  struct Case {
    const char* name;
    face f;
    int code;
  };
  const Case cases[] = {
      {"0 = 1, wall x = 100", Face({{100, 0, 64}, {100, 0, 64}, {100, 32, 0}, {100, 32, 64}}), PlaneYZ},
      {"1 = 2, wall y = 50", Face({{0, 50, 64}, {0, 50, 0}, {0, 50, 0}, {32, 50, 64}}), PlaneXZ},
      {"0 = 2, floor", Face({{10, 10, -8}, {40, 10, -8}, {10, 10, -8}, {10, 40, -8}}), PlaneXY},
      {"0 = 1 = 2, floor", Face({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {10, 0, 0}, {0, 10, 0}}), PlaneXY},
  };
  for (const Case& c : cases) {
    face f = c.f;
    EXPECT_EQ(GetWorldAlign(f), c.code) << c.name;
    AlignToWorld(f);
    EXPECT_FALSE(Same(f.vecHor, vector{})) << c.name;
  }
}

TEST_F(TextureAxesTest, WorldAlignSearchStopsAtTheVerticesInUse) {
  // Vertex 3 lies off the line, but the face uses three vertices only.
  face f = Face({{0, 0, 0}, {0, 0, 0}, {10, 0, 0}});
  f.verts[3] = vertex{0, 10, 0};
  EXPECT_EQ(GetWorldAlign(f), PlaneNone);
}

// ---- Yaw and pitch --------------------------------------------------------

TEST_F(TextureAxesTest, VecRotGivesYawAndPitchInDegrees) {
  struct Case {
    vector v;
    float yaw, pitch;
  };
  const Case cases[] = {
      {{1, 0, 0}, 360, 360},   // y = 0 and z = 0 count as not positive
      {{0, 1, 0}, 90, 360},    //
      {{-1, 0, 0}, 180, 360},  //
      {{0, -1, 0}, 270, 360},  //
      {{-1, -0.0f, 0}, 180, 360},
      {{1, 0, 1}, 360, 45},
      {{0, 1, -1}, 90, 315},
  };
  for (const Case& c : cases) {
    const VecRot r = GetVecRot(c.v);
    EXPECT_EQ(r.yaw, c.yaw) << Str(c.v);
    EXPECT_EQ(r.pitch, c.pitch) << Str(c.v);
  }
  const VecRot up = GetVecRot(vector{0, 0, 1});
  EXPECT_TRUE(std::isnan(up.yaw) && std::isnan(up.pitch));
}

// ---- Face alignment -------------------------------------------------------

TEST_F(TextureAxesTest, CylinderSideFaceAxes) {
  SelectShapeFlags(cylinder);
  face f = Face({{1, 0, 1}, {1, 0, -1}, {0, 1, -1}, {0, 1, 1}});
  f.texId = SlotOuter;
  AlignToFace(f);
  EXPECT_EQ(f.vecHor.x, 0.70710677f);
  EXPECT_EQ(f.vecHor.y, -0.70710677f);
  EXPECT_EQ(f.vecHor.z, 0.0f);
  EXPECT_TRUE(Same(f.vecVer, vector{0, 0, -1})) << Str(f.vecVer);
}

namespace {

// The edge frame of the points p0, p1, p2 as face alignment defines it.
struct Frame {
  vector E, H, W, Alpha;  // Alpha: the sheared arch floor's horizontal axis
};

Frame FrameOf(const vertex& p0, const vertex& p1, const vertex& p2) {
  const vector A = GetVector(p0, p1);
  const vector B = GetVector(p0, p2);
  const vector N = Normalize(GetCross(B, A));
  Frame fr;
  fr.H = Normalize(GetCross(N, B));
  fr.E = Normalize(GetCross(N, fr.H));
  fr.W = Normalize(GetCross(A, N));
  const double alpha = (static_cast<double>(GetVecRot(A).yaw) - 90.0) * DegreePi / 180.0;
  fr.Alpha = vector{-static_cast<float>(kvmath::Cos(alpha)), -static_cast<float>(kvmath::Sin(alpha)), -fr.E.z};
  return fr;
}

enum Dir { E, H, W, NegE, NegH, NegW, Alpha, Keep };

vector Pick(const Frame& fr, Dir d) {
  switch (d) {
    case E: return fr.E;
    case H: return fr.H;
    case W: return fr.W;
    case NegE: return vector{-fr.E.x, -fr.E.y, -fr.E.z};
    case NegH: return vector{-fr.H.x, -fr.H.y, -fr.H.z};
    case NegW: return vector{-fr.W.x, -fr.W.y, -fr.W.z};
    case Alpha: return fr.Alpha;
    case Keep: break;
  }
  return vector{9, 9, 9};
}

}  // namespace

TEST_F(TextureAxesTest, FaceAxesByShapeSlotShearAndPosition) {
  // A tilted planar quadrilateral, neither a parallelogram nor right-angled,
  // so the three vertex choices give three different frames and E, H, W are
  // all distinct. Its corners are placed so that the chosen p0, p1, p2 are
  // always the same three points.
  const vertex a{0, 0, 0}, b{8, 0, 4}, c{10, 8, 7}, d{0, 8, 2};
  const Frame fr = FrameOf(a, b, d);
  enum Order { O013, O102, O012 };
  struct Case {
    ::shape shape;
    int slot;
    int shearMask;  // bit k: Shear[k]
    int pos;
    int segment;
    Order order;
    Dir hor, ver;
  };
  const Case cases[] = {
      {cylinder, 0, 0, PosFront, 0, O013, E, H},
      {cylinder, 0, 7, PosFront, 0, O013, E, H},
      {arch, 0, 7, PosFront, 0, O013, E, H},
      {arch, 1, 7, PosBack, 0, O013, E, H},
      {arch, 2, 0, PosDown, 0, O013, E, H},
      {arch, 2, 4, PosDown, 0, O013, Alpha, H},
      {arch, 2, 4, PosUp, 0, O013, Alpha, H},
      {arch, 2, 3, PosUp, 0, O013, E, H},
      {torus, 0, 0, PosFront, 0, O013, NegH, E},
      {torus, 0, 1, PosFront, 0, O013, NegH, NegW},
      {torus, 0, 6, PosFront, 0, O013, NegH, E},
      {htorus, 0, 0, PosFront, 0, O013, NegH, E},
      {htorus, 0, 1, PosFront, 0, O013, NegH, NegW},
      {htorus, 1, 0, PosBack, 0, O013, NegH, E},
      {htorus, 1, 2, PosBack, 0, O013, NegH, NegW},
      {htorus, 1, 1, PosBack, 0, O013, NegH, E},
      {htorus, 2, 4, PosUp, 0, O013, W, H},
      {htorus, 2, 4, PosDown, 0, O013, W, H},
      {htorus, 2, 0, PosUp, 0, O013, NegE, H},
      {htorus, 2, 0, PosDown, 0, O013, E, NegH},
      {htorus, 2, 0, PosFront, 0, O013, E, H},
      {htorus, 2, 3, PosDown, 0, O013, E, NegH},
      {htorus, 3, 7, PosLeft, 0, O013, Keep, Keep},
      {sphere, 0, 0, PosNull, 3, O102, H, E},
      {sphere, 0, 1, PosNull, 3, O102, H, NegW},
      {sphere, 0, 0, PosNull, 0, O102, H, E},
      {sphere, 0, 0, PosNull, 6, O012, NegH, E},
      {sphere, 0, 1, PosNull, 6, O012, NegH, NegW},
      {sphere, 2, 4, PosNull, 3, O102, H, E},
  };
  for (const Case& t : cases) {
    SelectShapeFlags(t.shape);
    for (int k = 0; k < SlotCount; ++k) Shear[k] = ((t.shearMask >> k) & 1) != 0;
    face f;
    f.vcount = 4;
    switch (t.order) {  // puts a, b, d where the rule picks p0, p1, p2
      case O013: f.verts[0] = a, f.verts[1] = b, f.verts[2] = c, f.verts[3] = d; break;
      case O102: f.verts[1] = a, f.verts[0] = b, f.verts[2] = d, f.verts[3] = c; break;
      case O012: f.verts[0] = a, f.verts[1] = b, f.verts[2] = d, f.verts[3] = c; break;
    }
    f.texId = t.slot;
    f.pos = t.pos;
    f.segment = t.segment;
    f.vecHor = vector{9, 9, 9};
    f.vecVer = vector{9, 9, 9};
    AlignToFace(f);
    const std::string name = std::string(ShapeName(t.shape)) + " slot " + std::to_string(t.slot) + " shear " +
                             std::to_string(t.shearMask) + " pos " + std::to_string(t.pos) + " segment " +
                             std::to_string(t.segment);
    EXPECT_TRUE(Same(f.vecHor, Pick(fr, t.hor))) << name << " U " << Str(f.vecHor);
    EXPECT_TRUE(Same(f.vecVer, Pick(fr, t.ver))) << name << " V " << Str(f.vecVer);
  }
}

TEST_F(TextureAxesTest, ShearedArchFloorAxisLiesAtRightAnglesToTheEdgeInThePlan) {
  // On a horizontal floor the rotated edge direction is the in-face normal
  // of the edge p0-p1.
  SelectShapeFlags(arch);
  Shear[SlotFloor] = true;
  face f = Face({{0, 0, -256}, {30, 40, -256}, {70, 10, -256}, {40, -30, -256}});
  f.texId = SlotFloor;
  f.pos = PosDown;
  AlignToFace(f);
  EXPECT_NEAR(f.vecHor.x, -0.8f, 1e-6f);
  EXPECT_NEAR(f.vecHor.y, 0.6f, 1e-6f);
  EXPECT_EQ(f.vecHor.z, 0.0f);
}

TEST_F(TextureAxesTest, FaceWithoutUsableEdgesGetsTheWorldAxesOfItsPlane) {
  struct Case {
    const char* name;
    ::shape shape;
    int slot;
    int shearMask;
    face f;
    vector hor, ver;
  };
  const Case cases[] = {
      // p0 = p1: a corner collapsed onto its neighbour.
      {"torus wall, 0 = 1", torus, 0, 0, Face({{100, 0, 64}, {100, 0, 64}, {100, 32, 0}, {100, 32, 64}}), U_Y, V_NegZ},
      // p0, p1, p2 (0, 1, 3) on one line, vertex 2 off it.
      {"cylinder side, 0 1 3 collinear", cylinder, 0, 0, Face({{0, 50, 0}, {10, 50, 0}, {10, 50, 64}, {20, 50, 0}}),
       U_X, V_NegZ},
      // The sphere's top triangle at a pole ring of radius 0.
      {"sphere top triangle collapsed", sphere, 0, 0, Face({{0, 0, 128}, {0, 0, 128}, {0, 0, 128}}), vector{},
       vector{}},
      // A vertical edge p0-p1 has no yaw.
      {"sheared arch floor, vertical edge", arch, 2, 4, Face({{0, 20, 0}, {0, 20, 10}, {10, 20, 10}, {10, 20, 0}}),
       U_X, V_NegZ},
      {"every vertex on one point", htorus, 1, 2, Face({{7, 7, 7}, {7, 7, 7}, {7, 7, 7}, {7, 7, 7}}), vector{},
       vector{}},
  };
  for (const Case& c : cases) {
    SelectShapeFlags(c.shape);
    for (int k = 0; k < SlotCount; ++k) Shear[k] = ((c.shearMask >> k) & 1) != 0;
    face f = c.f;
    f.texId = c.slot;
    f.segment = 0;
    f.vecHor = vector{0, 0, 5};  // the fallback starts from zero axes
    f.vecVer = vector{5, 0, 0};
    AlignToFace(f);
    EXPECT_TRUE(Finite(f.vecHor) && Finite(f.vecVer)) << c.name;
    EXPECT_TRUE(Same(f.vecHor, c.hor)) << c.name << " U " << Str(f.vecHor);
    EXPECT_TRUE(Same(f.vecVer, c.ver)) << c.name << " V " << Str(f.vecVer);
  }
}
