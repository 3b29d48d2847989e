#include <gtest/gtest.h>

#include <string>

#include "generation/BaseShift.h"
#include "generation/Brush.h"
#include "generation/Circle.h"
#include "generation/ExportSelection.h"
#include "settings/Settings.h"
#include "support/ShapeFixture.h"

using TorusTest = ShapeBuildTest<torus>;

TEST_F(TorusTest, GroupCountsAndFaceFields) {
  struct Case {
    int res, res2;
    bool sym;
    int brushes;
  };
  const Case cases[] = {{12, 12, false, 12}, {12, 12, true, 16}, {24, 48, false, 48}, {48, 24, true, 28}};
  for (const Case& c : cases) {
    res = c.res;
    res2 = c.res2;
    Sym = c.sym;
    tex1 = "WALLTEX";
    texn = "HIDDEN";
    firstrun = true;
    Build();
    const std::string where = std::to_string(c.res) + "/" + std::to_string(c.res2) + (c.sym ? " sym" : "");
    EXPECT_EQ(Group->bcount, c.brushes) << where;
    EXPECT_EQ(Group->sections, c.brushes) << where;
    EXPECT_EQ(Group->segments, c.res) << where;
    EXPECT_EQ(Group->surfaces, 1) << where;
    for (int j = 0; j < Group->bcount; ++j) {
      const brush& b = Brush(j);
      ASSERT_EQ(b.fcount, c.res + 2) << where;
      EXPECT_EQ(b.section, j) << where;
      for (int i = 0; i < 2; ++i) {
        const face& cap = b.faces[i];
        EXPECT_EQ(cap.vcount, c.res) << where;
        EXPECT_EQ(cap.pos, i == 0 ? PosDown : PosUp) << where;
        EXPECT_EQ(cap.texture, "HIDDEN") << where;
        EXPECT_EQ(cap.texId, SlotNull) << where;
        EXPECT_FALSE(cap.wrapped) << where;
        EXPECT_FALSE(cap.hFace) << where;
        EXPECT_EQ(cap.segment, -1) << where;
      }
      for (int k = 0; k < c.res; ++k) {
        const face& wall = b.faces[k + 2];
        EXPECT_EQ(wall.vcount, 4) << where;
        EXPECT_EQ(wall.pos, PosFront) << where;
        EXPECT_EQ(wall.texture, "WALLTEX") << where;
        EXPECT_EQ(wall.texId, SlotOuter) << where;
        EXPECT_TRUE(wall.wrapped) << where;
        EXPECT_EQ(wall.segment, k) << where;
      }
    }
    EXPECT_FALSE(firstrun);
    EXPECT_EQ(Gmessage, "  | [INFO] Torus generated\n");
  }
}

// Ring k passes through cross-section corner k; at res2 12 its vertex 0 is
// (r / 4, r, h). The last brush's end cap lists vertex 0 of every ring.
TEST_F(TorusTest, RingRadiiAndHeights) {
  struct Case {
    float rad, rad3;
    float radius[12];
    float height[12];
  };
  const Case cases[] = {
      // t = 96, centre line 224.
      {128, 320,
       {248, 296, 320, 320, 296, 248, 200, 152, 128, 128, 152, 200},
       {96, 72, 24, -24, -72, -96, -96, -72, -24, 24, 72, 96}},
      // rad above rad3: t = -40, the cross-section is turned half a turn.
      {400, 320,
       {350, 330, 320, 320, 330, 350, 370, 390, 400, 400, 390, 370},
       {-40, -30, -10, 10, 30, 40, 40, 30, 10, -10, -30, -40}},
      // t = 96.5: the cross-section has the radius 96, the centre line stays at
      // 224.5, and 248.5 is truncated to 248.
      {128, 321,
       {248, 296, 320, 320, 296, 248, 200, 152, 128, 128, 152, 200},
       {96, 72, 24, -24, -72, -96, -96, -72, -24, 24, 72, 96}},
      // t = 95.5, cross-section radius 95: the sums 224.5 + x keep their
      // fraction until the truncation (248.25, 295.75, 319.5, 200.75, ...).
      {129, 320,
       {248, 295, 319, 319, 295, 248, 200, 153, 129, 129, 153, 200},
       {95, 71.25f, 23.75f, -23.75f, -71.25f, -95, -95, -71.25f, -23.75f, 23.75f, 71.25f, 95}},
  };
  for (const Case& c : cases) {
    rad = c.rad;
    rad3 = c.rad3;
    Build();
    const face& end = Brush(11).faces[1];
    ASSERT_EQ(end.vcount, 12);
    for (int k = 0; k < 12; ++k) {
      const std::string where = std::to_string(c.rad) + "/" + std::to_string(c.rad3) + " ring " + std::to_string(k);
      ExpectVertex(end.verts[k], {c.radius[k] / 4, c.radius[k], c.height[k]}, where);
    }
  }
}

TEST_F(TorusTest, FirstBrushWallAndStartCap) {
  Build();
  const vertex cap[12] = {{62, 248, 96},  {74, 296, 72},  {80, 320, 24},  {80, 320, -24},
                      {74, 296, -72}, {62, 248, -96}, {50, 200, -96}, {38, 152, -72},
                      {32, 128, -24}, {32, 128, 24},  {38, 152, 72},  {50, 200, 96}};
  // Brush 11 ends where brush 0 starts: its end cap is brush 0's start cap as
  // built; the start cap itself is reversed.
  const face& before = Brush(11).faces[1];
  const face& after = Brush(0).faces[0];
  for (int k = 0; k < 12; ++k) {
    ExpectVertex(before.verts[k], cap[k], "end cap of brush 11, vertex " + std::to_string(k));
    ExpectVertex(after.verts[k], cap[11 - k], "start cap of brush 0, vertex " + std::to_string(k));
  }
  const vertex wall[4] = {{62, 248, 96}, {74, 296, 72}, {222, 222, 72}, {186, 186, 96}};
  const face& w = Brush(0).faces[2];
  for (int i = 0; i < 4; ++i) ExpectVertex(w.verts[i], wall[i], "wall 0, vertex " + std::to_string(i));
  // The end cap is not reversed: it starts on boundary 1.
  ExpectVertex(Brush(0).faces[1].verts[0], {186, 186, 96}, "end cap of brush 0");
}

// With symmetry lines every ring gains the four axis points, so there are
// four more sections, while the cross-section keeps res corners.
TEST_F(TorusTest, SymmetryLinesOnTheRingsOnly) {
  Sym = true;
  Build();
  ASSERT_EQ(Group->bcount, 16);
  EXPECT_EQ(Group->segments, 12);
  const float radius[12] = {248, 296, 320, 320, 296, 248, 200, 152, 128, 128, 152, 200};
  const float height[12] = {96, 72, 24, -24, -72, -96, -96, -72, -24, 24, 72, 96};
  // Boundaries 0, 4, 8 and 12 are the axis points (0, r), (r, 0), (0, -r), (-r, 0).
  const struct {
    int brush;  // the brush whose end cap lies on the boundary
    float sx, sy;
  } axes[] = {{15, 0, 1}, {3, 1, 0}, {7, 0, -1}, {11, -1, 0}};
  for (const auto& a : axes) {
    const face& end = Brush(a.brush).faces[1];
    ASSERT_EQ(end.vcount, 12);
    for (int k = 0; k < 12; ++k)
      ExpectVertex(end.verts[k], {a.sx * radius[k], a.sy * radius[k], height[k]},
                   "brush " + std::to_string(a.brush) + " ring " + std::to_string(k));
  }
  // Between the axis points the rings keep the polygon's corners.
  ExpectVertex(Brush(0).faces[1].verts[0], {62, 248, 96}, "boundary 1");
}

TEST_F(TorusTest, HRangeFaceByMethod) {
  const HRangeCase cases[] = {
      {HRangeOuter, 0, 12, 2},   {HRangeLower, 0, 12, 5},   {HRangeInner, 0, 12, 8},
      {HRangeUpper, 0, 12, 11},  {HRangeOuter, 0, 24, 5},   {HRangeLower, 0, 48, 23},
      {HRangeInner, 0, 96, 71},  {HRangeUpper, 0, 192, 191},
      // Custom numbers and methods outside the set keep the stored face...
      {HRangeCustom, 7, 12, 7},  {5, 4, 12, 4},             {-1, 0, 12, 0},
      // ...unless it names no wall face: it is clamped to the last one, or 0.
      {HRangeCustom, 23, 12, 11}, {HRangeCustom, 12, 12, 11}, {7, 95, 24, 23},
      {HRangeCustom, -3, 12, 0},
  };
  for (const HRangeCase& c : cases) ExpectHRangeFace(c);
}

// Ring radii are the truncated sums. Where truncation bends the finely divided
// profile of the tube inward or lines up three corners (high resolutions),
// such a corner takes the ring of the corner before it, so its wall has no
// area and the brush stays convex; elsewhere every ring keeps its own radius.
TEST_F(TorusTest, CornersThatTruncationBendsInwardTakeThePreviousRing) {
  struct Case {
    int res;
    float rad, rad3;
    bool bent;  // the truncated profile is not convex
  };
  const Case cases[] = {{12, 128, 320, false}, {24, 100, 300, false}, {48, 128, 320, false},
                        {48, 400, 320, true},  {96, 128, 320, true},  {192, 129, 320, true}};
  for (const Case& c : cases) {
    res = c.res;
    rad = c.rad;
    rad3 = c.rad3;
    Build();
    const float t = (c.rad3 - c.rad) / 2;
    const circle section = build_circle(c.res, static_cast<int>(t));
    const face& end = Brush(11).faces[1];  // vertex k is vertex 0 of ring k: (r / 4, r, h)
    int collapsed = 0;
    for (int k = 0; k < c.res; ++k) {
      const vertex& v = end.verts[k];
      const vertex& before = end.verts[(k + c.res - 1) % c.res];
      const float radius = static_cast<float>(static_cast<int>(c.rad + t + section.x[k]));
      const bool own = v.y == radius && v.x == radius / 4 && v.z == section.y[k];
      const bool previous = v.x == before.x && v.y == before.y && v.z == before.z;
      EXPECT_TRUE(own || previous) << "res " << c.res << " ring " << k;
      if (!own) ++collapsed;
    }
    EXPECT_EQ(collapsed > 0, c.bent) << "res " << c.res << ": " << collapsed << " corners collapsed";
  }
}

// Faces of a world-aligned slot, and faces whose texture is the hidden one,
// get the axes of their plane. A world-aligned slot also takes no base shift
// and keeps the wrapping pass from running (the slot's scales would show it).
TEST_F(TorusTest, WorldAlignedWhenTheSlotIsOrTheTextureIsHidden) {
  struct Case {
    bool facealign;
    const char* tex1;
  };
  const Case cases[] = {{false, "WALL"}, {true, "NULL"}};
  for (const Case& c : cases) {
    facealign[0] = c.facealign;
    tex1 = c.tex1;
    wrapping[0] = Hwrapping[0] = true;
    G_ScaleX[0] = 2.0f;
    G_ScaleY[0] = 3.0f;
    Build();
    for (int j = 0; j < Group->bcount; ++j) {
      const brush& b = Brush(j);
      for (int i = 0; i < b.fcount; ++i) {
        const face& f = b.faces[i];
        const std::string where = std::string(c.tex1) + " brush " + std::to_string(j) + " face " + std::to_string(i);
        ExpectAxes(f, WorldAligned(f), where);
        if (c.facealign) continue;
        EXPECT_EQ(f.shiftX, 0.0f) << where;
        EXPECT_EQ(f.shiftY, 0.0f) << where;
        EXPECT_EQ(f.scaleX, 1.0f) << where;
        EXPECT_EQ(f.scaleY, 1.0f) << where;
      }
    }
  }
}

// Horizontal wrapping alone starts the wrapping pass (the walls take the
// slot's scales) and leaves every horizontal shift at 0.
TEST_F(TorusTest, HorizontalWrappingAloneStartsTheWrappingPass) {
  facealign[0] = true;
  Hwrapping[0] = true;
  G_ScaleX[0] = 2.0f;
  G_ScaleY[0] = 3.0f;
  Build();
  for (int j = 0; j < Group->bcount; ++j) {
    const brush& b = Brush(j);
    for (int i = 0; i < b.fcount; ++i) {
      const face& f = b.faces[i];
      EXPECT_EQ(f.shiftX, 0.0f) << "brush " << j << " face " << i;
      EXPECT_EQ(f.scaleX, i < 2 ? 1.0f : 2.0f) << "brush " << j << " face " << i;
      EXPECT_EQ(f.scaleY, i < 2 ? 1.0f : 3.0f) << "brush " << j << " face " << i;
    }
  }
}

// With shear every face-aligned wall takes the negated horizontal base shift
// as its vertical shift, not only the H-range source face.
TEST_F(TorusTest, ShearGivesEveryWallTheNegatedHorizontalShift) {
  facealign[0] = true;
  Hwrapping[0] = true;
  Shear[0] = true;
  Build();
  int nonzero = 0;
  for (int j = 0; j < Group->bcount; ++j) {
    const brush& b = Brush(j);
    for (int k = 0; k < res; ++k) {
      const face& f = b.faces[k + 2];
      const float base = GetBaseShift(f, hor);
      EXPECT_EQ(f.shiftY, ReducedShift(f, -base, ver)) << "brush " << j << " wall " << k;
      if (base != 0.0f) ++nonzero;
    }
  }
  EXPECT_GT(nonzero, Group->bcount);
}

// The build computes the export selection for its own group: one brush per
// section.
TEST_F(TorusTest, ExportSelectionCountsOneSegmentPerSection) {
  D_method2 = RuleNthSection;
  D_nth = 3;
  Build();
  ASSERT_EQ(D_listSize, 12);
  for (int j = 0; j < 12; ++j) EXPECT_EQ(IsBrushSelected(j), j % 3 == 2) << j;
}

// Radii at the limit of what a template can give: a ring radius past the
// range of int takes the largest int rather than a wrapped negative one.
TEST_F(TorusTest, RingRadiusBeyondTheIntRangeSaturates) {
  rad = 2000000000.0f;
  rad3 = 2147483648.0f;  // the largest int a template gives, as a float
  Build();
  const face& end = Brush(11).faces[1];  // vertex k is vertex 0 of ring k
  for (int k = 0; k < 12; ++k) EXPECT_GT(end.verts[k].y, 1.9e9f) << "ring " << k;
  EXPECT_EQ(end.verts[2].y, 2147483648.0f);
}
