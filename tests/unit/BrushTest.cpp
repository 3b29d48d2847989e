#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "generation/Brush.h"
#include "generation/Generate.h"
#include "settings/Settings.h"
#include "support/GlobalState.h"
#include "support/GroupBuilders.h"
#include "support/ShapeFixture.h"

namespace {

class BrushTest : public GlobalStateTest {
 protected:
  void SetUp() override {
    GlobalStateTest::SetUp();
    SetCapacities(2, 6, 8);
  }
  static vertex V(float x, float y, float z) { return vertex{x, y, z}; }
};

bool Bits(float a, float b) { return std::signbit(a) == std::signbit(b) && a == b; }

}  // namespace

TEST_F(BrushTest, NewFaceHasTheConstructorValues) {
  face f;
  EXPECT_EQ(f.vcount, 0);
  EXPECT_EQ(f.texture, "NULL");
  EXPECT_EQ(f.vecHor.x, 0.0f);
  EXPECT_EQ(f.vecVer.z, 0.0f);
  EXPECT_EQ(f.shiftX, 0.0f);
  EXPECT_EQ(f.rot, 0.0f);
  EXPECT_EQ(f.scaleX, 1.0f);
  EXPECT_EQ(f.scaleY, 1.0f);
  EXPECT_FALSE(f.wrapped);
  EXPECT_FALSE(f.hFace);
  EXPECT_EQ(f.texId, SlotNull);
  EXPECT_EQ(f.segment, -1);
  EXPECT_EQ(f.pos, PosNull);
  EXPECT_EQ(f.orient(), "NULL");
  ASSERT_EQ(f.vmax, 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(f.verts[i].x, 0.0f);
}

TEST_F(BrushTest, OrientNamesEveryPosition) {
  const char* labels[] = {"NULL", "down", "up", "back", "front", "left", "right"};
  face f;
  for (int p = 0; p <= 6; ++p) {
    f.pos = p;
    EXPECT_EQ(f.orient(), labels[p]);
  }
}

TEST_F(BrushTest, RevOrderReversesTheVerticesInUse) {
  struct Case {
    int count;
    std::vector<float> expected;  // x of the vertices in use afterwards
  };
  const Case cases[] = {{4, {3, 2, 1, 0}}, {3, {2, 1, 0}}, {1, {0}}, {0, {}}, {5, {4, 3, 2, 1, 0}}};
  for (const Case& c : cases) {
    face f;
    for (int i = 0; i < 8; ++i) f.verts[i] = V(static_cast<float>(i), 0, 0);
    f.vcount = c.count;
    f.RevOrder();
    for (int i = 0; i < c.count; ++i) EXPECT_EQ(f.verts[i].x, c.expected[static_cast<size_t>(i)]);
    for (int i = c.count; i < 8; ++i) EXPECT_EQ(f.verts[i].x, static_cast<float>(i)) << "unused vertex moved";
  }
}

TEST_F(BrushTest, SetzChangesOnlyTheVerticesInUse) {
  face f;
  f.setz(5.0f);
  EXPECT_EQ(f.verts[0].z, 0.0f);
  f.vcount = 4;
  f.setz(-7.0f);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(f.verts[i].z, -7.0f);
  for (int i = 4; i < 8; ++i) EXPECT_EQ(f.verts[i].z, 0.0f);
}

TEST_F(BrushTest, AssignmentIsADeepCopy) {
  face a;
  a.vcount = 2;
  a.verts[0] = V(1, 2, 3);
  a.verts[5] = V(9, 9, 9);
  a.texture = TextureName("T");
  a.pos = PosUp;
  {
    face b;
    b = a;
    EXPECT_NE(b.verts.get(), a.verts.get());
    EXPECT_EQ(b.verts[0].y, 2.0f);
    EXPECT_EQ(b.verts[5].x, 9.0f);
    EXPECT_EQ(b.texture, "T");
    EXPECT_EQ(b.pos, PosUp);
    b.verts[0].x = 42.0f;
  }  // b's buffer is freed here, a's must survive (no double free under ASan)
  EXPECT_EQ(a.verts[0].x, 1.0f);
  face c(a);
  EXPECT_NE(c.verts.get(), a.verts.get());
  EXPECT_EQ(c.verts[0].z, 3.0f);
}

TEST_F(BrushTest, CopyFaceCopiesFieldsAndOnlyTheVerticesInUse) {
  face src;
  src.vcount = 2;
  src.verts[0] = V(1, 1, 1);
  src.verts[1] = V(2, 2, 2);
  src.verts[2] = V(3, 3, 3);
  src.shiftX = 4.0f;
  src.scaleY = 2.0f;
  src.wrapped = src.hFace = true;
  src.texId = SlotInner;
  src.segment = 7;
  face dst;
  dst.verts[2] = V(8, 8, 8);
  dst.CopyFace(src);
  EXPECT_EQ(dst.vcount, 2);
  EXPECT_EQ(dst.verts[1].x, 2.0f);
  EXPECT_EQ(dst.verts[2].x, 8.0f);
  EXPECT_EQ(dst.shiftX, 4.0f);
  EXPECT_EQ(dst.scaleY, 2.0f);
  EXPECT_TRUE(dst.wrapped && dst.hFace);
  EXPECT_EQ(dst.texId, SlotInner);
  EXPECT_EQ(dst.segment, 7);
}

TEST_F(BrushTest, CopyBrushIsDeepAndTakesSourceFirst) {
  brush a;
  a.fcount = 2;
  a.section = 3;
  a.faces[1].vcount = 1;
  a.faces[1].verts[0] = V(5, 6, 7);
  a.faces[1].texture = TextureName("X");
  brush b;
  CopyBrush(a, b);
  EXPECT_EQ(b.fcount, 2);
  EXPECT_EQ(b.section, 3);
  EXPECT_EQ(b.faces[1].verts[0].y, 6.0f);
  EXPECT_EQ(b.faces[1].texture, "X");
  b.faces[1].verts[0].y = 0.0f;
  EXPECT_EQ(a.faces[1].verts[0].y, 6.0f);
  brush c;
  c.CopyBrush(a);
  EXPECT_EQ(c.section, 3);
}

TEST_F(BrushTest, NewBrushAndGroupUseTheCapacities) {
  bgroup g;
  EXPECT_EQ(g.bcount, 0);
  EXPECT_EQ(g.bmax, 2);
  EXPECT_EQ(g.brushes[1].fmax, 6);
  EXPECT_EQ(g.brushes[1].section, -1);
  EXPECT_EQ(g.brushes[1].faces[0].vmax, 8);
  EXPECT_EQ(g.brushes[1].faces[1].vmax, 8);
  EXPECT_EQ(g.brushes[1].faces[2].vmax, 4);
  EXPECT_EQ(g.brushes[1].faces[5].vmax, 4);
  // The buffers of neighbouring faces do not overlap.
  EXPECT_EQ(g.brushes[1].faces[0].verts.get() + 8, g.brushes[1].faces[1].verts.get());
  EXPECT_EQ(g.brushes[1].faces[2].verts.get() + 4, g.brushes[1].faces[3].verts.get());
  // A face made on its own has maxV places.
  face alone;
  EXPECT_EQ(alone.vmax, 8);
}

// Only the first two faces of a brush may have more than four vertices; no
// builder may put more vertices into a face than it has places for.
TEST_F(BrushTest, EveryBuilderKeepsWithinTheVertexPlaces) {
  const shape shapes[] = {cylinder, arch, torus, htorus, sphere};
  for (const shape s : shapes) {
    for (int r : {12, 48, 192}) {
      for (int flags = 0; flags < 4; ++flags) {
        ReSettings();
        SelectShapeFlags(s);
        res = r;
        res2 = s == htorus ? 12 : r;
        Sym = (flags & 1) != 0;
        Tri = (flags & 2) != 0;
        ASSERT_TRUE(Generate());
        for (int b = 0; b < Group->bcount; ++b)
          for (int f = 0; f < Group->brushes[b].fcount; ++f)
            ASSERT_LE(Group->brushes[b].faces[f].vcount, Group->brushes[b].faces[f].vmax)
                << ShapeName(s) << " res " << r << " flags " << flags << " brush " << b << " face " << f;
      }
    }
  }
}

TEST(Vector, FlipNegatesInPlaceAndReturnsTheResult) {
  vector v{1.0f, -2.0f, 0.0f};
  const vector r = v.flip();
  EXPECT_EQ(v.x, -1.0f);
  EXPECT_EQ(v.y, 2.0f);
  EXPECT_TRUE(std::signbit(v.z));
  EXPECT_TRUE(Bits(r.x, -1.0f) && Bits(r.y, 2.0f) && Bits(r.z, -0.0f));
}

TEST(Equation, RowOperations) {
  equation e{2, 4, 6, 8};
  e.divide(2);
  EXPECT_TRUE(e.a == 1 && e.b == 2 && e.c == 3 && e.d == 4);
  e.multiply(-1);
  EXPECT_TRUE(e.a == -1 && e.d == -4);
  e.subtractEQ(equation{1, 1, 1, 1});
  EXPECT_TRUE(e.a == -2 && e.b == -3 && e.c == -4 && e.d == -5);
}

TEST(Equation, IsEqualComparesFloors) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_TRUE((equation{1.9f, 2.0f, -0.5f, 3.0f}).IsEqual(equation{1.1f, 2.99f, -0.1f, 3.5f}));
  EXPECT_FALSE((equation{1.0f, 2.0f, 0.0f, 3.0f}).IsEqual(equation{1.0f, 2.0f, -0.1f, 3.0f}));
  const equation withNan{nan, 0, 0, 0};
  EXPECT_FALSE(withNan.IsEqual(withNan));
}

TEST(Equation, IsValidRejectsNanAndInfinity) {
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_TRUE((equation{0, -0.0f, 1e38f, -1e-40f}).IsValid());
  EXPECT_FALSE((equation{0, inf, 0, 0}).IsValid());
  EXPECT_FALSE((equation{0, 0, 0, -inf}).IsValid());
  EXPECT_FALSE((equation{0, 0, std::numeric_limits<float>::quiet_NaN(), 0}).IsValid());
}

TEST(StreamOutput, WritesTheDiagnosticForms) {
  std::ostringstream s;
  s << equation{1, 2, 3, 4} << vertex{1, -2, 0.5f} << vector{0, 0, -1};
  EXPECT_EQ(s.str(), "[ 1, 2 = 3, 4 ]( 1 -2 0.5 )( 0 0 -1 )");
}

struct CapacityCase {
  const char* name;
  shape s;
  int res, res2;
  bool sym, tri;
  int maxB, maxF, maxV;
};

TEST_F(BrushTest, SetMaxObjectsPerShape) {
  const CapacityCase cases[] = {
      {"cylinder", cylinder, 12, 12, true, true, 1, 14, 12},
      {"cylinder 192", cylinder, 192, 12, false, false, 1, 194, 192},
      {"arch", arch, 24, 12, false, false, 24, 6, 8},
      {"arch sym tri", arch, 24, 12, true, true, 56, 6, 8},
      {"torus", torus, 12, 24, true, false, 28, 14, 12},
      {"hollow torus sym", htorus, 12, 24, true, false, 448, 6, 8},
      {"hollow torus largest", htorus, 192, 192, true, false, 38416, 6, 8},
      {"sphere", sphere, 12, 12, false, false, 12, 9, 8},
      {"sphere sym", sphere, 24, 12, true, false, 28, 15, 14},
  };
  for (const CapacityCase& c : cases) {
    SelectShapeFlags(c.s);
    res = c.res;
    res2 = c.res2;
    Sym = c.sym;
    Tri = c.tri;
    SetMaxObjects();
    EXPECT_EQ(maxB, c.maxB) << c.name;
    EXPECT_EQ(maxF, c.maxF) << c.name;
    EXPECT_EQ(maxV, c.maxV) << c.name;
  }
}

TEST_F(BrushTest, SetMaxObjectsWithoutShapeChangesNothing) {
  maxB = maxF = maxV = 0;
  res = 24;
  SetMaxObjects();
  EXPECT_EQ(maxB, 0);
  EXPECT_EQ(maxF, 0);
  EXPECT_EQ(maxV, 0);
}
