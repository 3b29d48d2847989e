#include <gtest/gtest.h>

#include <string>

#include "generation/Brush.h"
#include "generation/Generate.h"
#include "settings/Settings.h"
#include "support/GlobalState.h"

namespace {

struct P3 {
  float x, y, z;
};

void ExpectVertex(const vertex& v, const P3& p, const std::string& where) {
  EXPECT_EQ(v.x, p.x) << where;
  EXPECT_EQ(v.y, p.y) << where;
  EXPECT_EQ(v.z, p.z) << where;
}

bool Same(const vertex& a, const vertex& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

class HTorusTest : public ResetSettingsTest {
 protected:
  void SetUp() override {
    ResetSettingsTest::SetUp();
    IsHTorus = true;
  }
  static void Build() { ASSERT_TRUE(Generate()); }
  static const brush& B(int b) { return Group->brushes[b]; }
};

}  // namespace

TEST_F(HTorusTest, CellOrderAndFaceFields) {
  struct Case {
    int res, res2;
    bool sym;
    int sections, segments;
  };
  const Case cases[] = {{12, 12, false, 12, 12}, {12, 12, true, 16, 16}, {24, 12, false, 12, 24}};
  for (const Case& c : cases) {
    res = c.res;
    res2 = c.res2;
    Sym = c.sym;
    firstrun = true;
    tex1 = "OUTER";
    tex2 = "INNER";
    tex3 = "ENDS";
    texn = "HIDDEN";
    Build();
    const std::string where = std::to_string(c.res) + "/" + std::to_string(c.res2) + (c.sym ? " sym" : "");
    ASSERT_EQ(Group->bcount, c.sections * c.segments) << where;
    EXPECT_EQ(Group->sections, c.sections) << where;
    EXPECT_EQ(Group->segments, c.segments) << where;
    EXPECT_EQ(Group->surfaces, 2) << where;
    EXPECT_FALSE(firstrun) << where;
    EXPECT_EQ(Gmessage, "  | [INFO] Hollow Torus generated\n");
    const struct {
      int pos;
      const char* texture;
      int texId;
      bool wrapped;
      bool hasSegment;
    } roles[6] = {{PosBack, "INNER", SlotInner, true, true},  {PosFront, "OUTER", SlotOuter, true, true},
                  {PosDown, "ENDS", SlotFloor, false, true},  {PosUp, "ENDS", SlotFloor, false, true},
                  {PosLeft, "HIDDEN", SlotNull, false, false}, {PosRight, "HIDDEN", SlotNull, false, false}};
    for (int b = 0; b < Group->bcount; ++b) {
      const brush& cell = B(b);
      const int section = b / c.segments;
      const int segment = b % c.segments;
      ASSERT_EQ(cell.fcount, 6) << where;
      EXPECT_EQ(cell.section, section) << where << " brush " << b;
      for (int i = 0; i < 6; ++i) {
        const face& f = cell.faces[i];
        EXPECT_EQ(f.vcount, 4) << where;
        EXPECT_EQ(f.pos, roles[i].pos) << where << " face " << i;
        EXPECT_EQ(f.texture, roles[i].texture) << where << " face " << i;
        EXPECT_EQ(f.texId, roles[i].texId) << where << " face " << i;
        EXPECT_EQ(f.wrapped, roles[i].wrapped) << where << " face " << i;
        EXPECT_EQ(f.segment, roles[i].hasSegment ? segment : -1) << where << " brush " << b << " face " << i;
      }
    }
  }
}

// The cells share their corners with their neighbours: a cell's end at
// boundary s' is its next section's start, its side at corner k' the next
// segment's side at corner k; the last section and the last segment close on
// boundary 0 and corner 0.
TEST_F(HTorusTest, CellsCloseAroundBothCircles) {
  for (bool sym : {false, true}) {
    Sym = sym;
    Build();
    const int P = Group->segments;
    const int Q = Group->sections;
    for (int s = 0; s < Q; ++s) {
      for (int k = 0; k < P; ++k) {
        const brush& cell = B(s * P + k);
        const brush& nextSection = B(((s + 1) % Q) * P + k);
        const brush& nextSegment = B(s * P + (k + 1) % P);
        const std::string where = (sym ? "sym " : "") + std::to_string(s) + "/" + std::to_string(k);
        // The side at corner k' is A[2], B[2], B[1], A[1]; the next segment's
        // side at corner k lists the same corners as A[3], B[3], B[0], A[0]
        // of the same boundaries.
        const face& right = cell.faces[5];
        const face& left = nextSegment.faces[4];
        EXPECT_TRUE(Same(right.verts[0], left.verts[3])) << where;
        EXPECT_TRUE(Same(right.verts[1], left.verts[2])) << where;
        EXPECT_TRUE(Same(right.verts[2], left.verts[1])) << where;
        EXPECT_TRUE(Same(right.verts[3], left.verts[0])) << where;
        // Cell ends, both reversed: the end at s' and the next start at s'.
        const face& end = cell.faces[3];
        const face& start = nextSection.faces[2];
        for (int i = 0; i < 4; ++i) {
          bool found = false;
          for (int j = 0; j < 4; ++j) found = found || Same(end.verts[i], start.verts[j]);
          EXPECT_TRUE(found) << where << " vertex " << i;
        }
      }
    }
  }
}

TEST_F(HTorusTest, BrushThirteenIsSectionOneSegmentOne) {
  Build();
  const brush& cell = B(13);
  EXPECT_EQ(cell.section, 1);
  EXPECT_EQ(cell.faces[0].segment, 1);
  EXPECT_EQ(cell.faces[1].segment, 1);
  // Its outer wall starts at corner 1 of the cross-section on boundary 1.
  ExpectVertex(cell.faces[1].verts[0], {222, 222, 72}, "outer wall of brush 13");
}

// Default radii 128, 256, 320: t = 96, h = 32; the hollow spans 192 to 256.
TEST_F(HTorusTest, InnerRingsAndFirstCellWalls) {
  Build();
  const float radius[12] = {232, 248, 256, 256, 248, 232, 216, 200, 192, 192, 200, 216};
  const float height[12] = {32, 24, 8, -8, -24, -32, -32, -24, -8, 8, 24, 32};
  // The side at corner k of the last section's cells lists I(k, 0) last.
  for (int k = 0; k < 12; ++k)
    ExpectVertex(B(11 * 12 + k).faces[4].verts[3], {radius[k] / 4, radius[k], height[k]},
                 "inner ring " + std::to_string(k));
  const P3 inner[4] = {{58, 232, 32}, {62, 248, 24}, {186, 186, 24}, {174, 174, 32}};
  const P3 outer[4] = {{62, 248, 96}, {74, 296, 72}, {222, 222, 72}, {186, 186, 96}};
  for (int i = 0; i < 4; ++i) {
    ExpectVertex(B(0).faces[0].verts[i], inner[3 - i], "inner wall (reversed), vertex " + std::to_string(i));
    ExpectVertex(B(0).faces[1].verts[i], outer[i], "outer wall, vertex " + std::to_string(i));
  }
  // The cell ends are reversed too, the sides are not.
  const P3 start[4] = {{62, 248, 24}, {74, 296, 72}, {62, 248, 96}, {58, 232, 32}};
  const P3 side[4] = {{58, 232, 32}, {62, 248, 96}, {186, 186, 96}, {174, 174, 32}};
  for (int i = 0; i < 4; ++i) {
    ExpectVertex(B(0).faces[2].verts[i], start[i], "start cell end, vertex " + std::to_string(i));
    ExpectVertex(B(0).faces[4].verts[i], side[i], "side at corner 0, vertex " + std::to_string(i));
  }
}

TEST_F(HTorusTest, HRangeFaces) {
  struct Case {
    int res;
    bool sym;
    int method0, stored0, method1, stored1;
    int face0, face1;
  };
  const Case cases[] = {
      {12, false, HRangeOuter, 0, HRangeInner, 0, 2, 8},
      {12, false, HRangeLower, 0, HRangeUpper, 0, 5, 11},
      {12, true, HRangeOuter, 0, HRangeInner, 0, 3, 11},
      {12, true, HRangeLower, 0, HRangeUpper, 0, 7, 15},
      {24, true, HRangeInner, 0, HRangeOuter, 0, 20, 6},
      // Custom numbers stand while they name a segment; beyond the last
      // segment (from a larger resolution or a build with symmetry lines) or
      // below 0 they are clamped.
      {12, false, HRangeCustom, 4, HRangeCustom, 9, 4, 9},
      {12, false, HRangeCustom, 12, HRangeCustom, -2, 11, 0},
      {12, true, HRangeCustom, 15, 6, 40, 15, 15},
  };
  for (const Case& c : cases) {
    res = c.res;
    Sym = c.sym;
    G_HFMethod[0] = c.method0;
    G_HFace[0] = c.stored0;
    G_HFMethod[1] = c.method1;
    G_HFace[1] = c.stored1;
    Build();
    const std::string where = "res " + std::to_string(c.res) + (c.sym ? " sym" : "") + " methods " +
                              std::to_string(c.method0) + "/" + std::to_string(c.method1);
    EXPECT_EQ(G_HFace[0], c.face0) << where;
    EXPECT_EQ(G_HFace[1], c.face1) << where;
    const int P = Group->segments;
    for (int b = 0; b < Group->bcount; ++b) {
      const brush& cell = B(b);
      EXPECT_EQ(cell.faces[1].hFace, b % P == c.face0) << where << " brush " << b;
      EXPECT_EQ(cell.faces[0].hFace, b % P == c.face1) << where << " brush " << b;
      for (int i = 2; i < 6; ++i) EXPECT_FALSE(cell.faces[i].hFace) << where;
    }
  }
}
