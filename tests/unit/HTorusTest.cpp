#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "generation/BaseShift.h"
#include "generation/Brush.h"
#include "generation/ExportSelection.h"
#include "settings/Settings.h"
#include "support/BrushCheck.h"
#include "support/ShapeFixture.h"

using HTorusTest = ShapeBuildTest<htorus>;

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
      const brush& cell = Brush(b);
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
        const brush& cell = Brush(s * P + k);
        const brush& nextSection = Brush(((s + 1) % Q) * P + k);
        const brush& nextSegment = Brush(s * P + (k + 1) % P);
        const std::string where = (sym ? "sym " : "") + std::to_string(s) + "/" + std::to_string(k);
        // The side at corner k' is A[2], B[2], B[1], A[1]; the next segment's
        // side at corner k lists the same corners as A[3], B[3], B[0], A[0]
        // of the same boundaries.
        const face& right = cell.faces[5];
        const face& left = nextSegment.faces[4];
        EXPECT_TRUE(SameVertex(right.verts[0], left.verts[3])) << where;
        EXPECT_TRUE(SameVertex(right.verts[1], left.verts[2])) << where;
        EXPECT_TRUE(SameVertex(right.verts[2], left.verts[1])) << where;
        EXPECT_TRUE(SameVertex(right.verts[3], left.verts[0])) << where;
        // Cell ends, both reversed: the end at s' and the next start at s'.
        const face& end = cell.faces[3];
        const face& start = nextSection.faces[2];
        for (int i = 0; i < 4; ++i) {
          bool found = false;
          for (int j = 0; j < 4; ++j) found = found || SameVertex(end.verts[i], start.verts[j]);
          EXPECT_TRUE(found) << where << " vertex " << i;
        }
      }
    }
  }
}

TEST_F(HTorusTest, BrushThirteenIsSectionOneSegmentOne) {
  Build();
  const brush& cell = Brush(13);
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
    ExpectVertex(Brush(11 * 12 + k).faces[4].verts[3], {radius[k] / 4, radius[k], height[k]},
                 "inner ring " + std::to_string(k));
  const vertex inner[4] = {{58, 232, 32}, {62, 248, 24}, {186, 186, 24}, {174, 174, 32}};
  const vertex outer[4] = {{62, 248, 96}, {74, 296, 72}, {222, 222, 72}, {186, 186, 96}};
  for (int i = 0; i < 4; ++i) {
    ExpectVertex(Brush(0).faces[0].verts[i], inner[3 - i], "inner wall (reversed), vertex " + std::to_string(i));
    ExpectVertex(Brush(0).faces[1].verts[i], outer[i], "outer wall, vertex " + std::to_string(i));
  }
  // The cell ends are reversed too, the sides are not.
  const vertex start[4] = {{62, 248, 24}, {74, 296, 72}, {62, 248, 96}, {58, 232, 32}};
  const vertex side[4] = {{58, 232, 32}, {62, 248, 96}, {186, 186, 96}, {174, 174, 32}};
  for (int i = 0; i < 4; ++i) {
    ExpectVertex(Brush(0).faces[2].verts[i], start[i], "start cell end, vertex " + std::to_string(i));
    ExpectVertex(Brush(0).faces[4].verts[i], side[i], "side at corner 0, vertex " + std::to_string(i));
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
      const brush& cell = Brush(b);
      EXPECT_EQ(cell.faces[1].hFace, b % P == c.face0) << where << " brush " << b;
      EXPECT_EQ(cell.faces[0].hFace, b % P == c.face1) << where << " brush " << b;
      for (int i = 2; i < 6; ++i) EXPECT_FALSE(cell.faces[i].hFace) << where;
    }
  }
}

// The sides between segments carry the hidden texture's world axes whatever
// the slots' alignment flags say, and only wrapping flags start the wrapping
// pass: horizontal wrapping alone leaves every scale at 1.
TEST_F(HTorusTest, SidesWorldAlignedAndHorizontalWrappingAloneRunsNoPass) {
  for (int s = 0; s < SlotCount; ++s) {
    facealign[s] = Hwrapping[s] = Shear[s] = true;
    G_ScaleX[s] = 2.0f;
  }
  Build();
  for (int b = 0; b < Group->bcount; ++b) {
    const brush& cell = Brush(b);
    for (int i = 4; i < 6; ++i) {
      const std::string where = "brush " + std::to_string(b) + " face " + std::to_string(i);
      ExpectAxes(cell.faces[i], WorldAligned(cell.faces[i]), where);
      EXPECT_EQ(cell.faces[i].shiftX, 0.0f) << where;
      EXPECT_EQ(cell.faces[i].shiftY, 0.0f) << where;
    }
    for (int i = 0; i < 6; ++i) EXPECT_EQ(cell.faces[i].scaleX, 1.0f) << "brush " << b << " face " << i;
  }
}

// With shear a face-aligned outer wall takes the negated horizontal base shift
// as its vertical shift even without horizontal wrapping.
TEST_F(HTorusTest, ShearWithoutHorizontalWrapping) {
  for (bool shear : {false, true}) {
    facealign[0] = true;
    Shear[0] = shear;
    Build();
    int nonzero = 0;
    for (int b = 0; b < Group->bcount; ++b) {
      const face& outer = Brush(b).faces[1];
      const float expected = shear ? ReducedShift(outer, -GetBaseShift(outer, hor), ver) : 0.0f;
      EXPECT_EQ(outer.shiftY, expected) << (shear ? "shear " : "") << "brush " << b;
      EXPECT_EQ(outer.shiftX, 0.0f) << "brush " << b;
      if (expected != 0.0f) ++nonzero;
    }
    if (shear) {
      EXPECT_GT(nonzero, Group->bcount / 2);
    }
  }
}

// After the reversal of the inner wall and the cell ends, a face-aligned
// inner wall has its horizontal axis and its horizontal shift negated, a
// face-aligned start end without shear both axes; with shear the start end
// keeps its axes and has its horizontal shift negated. The end at the
// section's end is reversed but never flipped.
TEST_F(HTorusTest, FlipsAfterTheReversal) {
  struct Case {
    bool align0, align1, align2, shear2;
  };
  const Case cases[] = {{true, false, false, false}, {false, true, false, false}, {false, false, true, false},
                        {false, false, true, true}};
  for (const Case& c : cases) {
    facealign[0] = c.align0;
    facealign[1] = c.align1;
    facealign[2] = c.align2;
    Shear[2] = c.shear2;
    wrapping[2] = c.shear2;  // gives the sheared ends a horizontal base shift
    Build();
    const std::string where = std::string("facealign ") + (c.align0 ? "1" : "0") + (c.align1 ? "1" : "0") +
                              (c.align2 ? "1" : "0") + (c.shear2 ? " shear" : "");
    int nonzero = 0;
    for (int b = 0; b < Group->bcount; ++b) {
      const face& inner = Brush(b).faces[0];
      ExpectAxes(inner, Aligned(inner, c.align1, true), where + " inner wall", c.align1, false);
      EXPECT_EQ(std::signbit(inner.shiftX), c.align1) << where << " brush " << b;
      const face& start = Brush(b).faces[2];
      const face& end = Brush(b).faces[3];
      const face startAxes = Aligned(start, c.align2, true);
      const face endAxes = Aligned(end, c.align2, true);
      ExpectAxes(start, startAxes, where + " start end", c.align2 && !c.shear2, c.align2 && !c.shear2);
      ExpectAxes(end, endAxes, where + " end end");
      if (c.shear2) {
        const float startShift = GetBaseShift(startAxes, hor);
        EXPECT_EQ(start.shiftX, ReducedShift(start, -startShift, hor)) << where << " brush " << b;
        EXPECT_EQ(end.shiftX, ReducedShift(end, GetBaseShift(endAxes, hor), hor)) << where << " brush " << b;
        if (startShift != 0.0f) ++nonzero;
      }
    }
    if (c.shear2) {
      EXPECT_GT(nonzero, Group->bcount / 2) << where;
    }
  }
}

// The build computes the export selection for its own group, by sections and
// segments: sections 2 to 3, segments 1 to 6 are brushes 12 to 17 and 24 to 29.
TEST_F(HTorusTest, ExportSelectionBySectionsAndSegments) {
  D_method = ExportSectionRange;
  D_start = 2;
  D_end = 3;
  D_start2 = 1;
  D_end2 = 6;
  Build();
  ASSERT_EQ(D_listSize, 144);
  for (int b = 0; b < 144; ++b)
    EXPECT_EQ(IsBrushSelected(b), (b >= 12 && b <= 17) || (b >= 24 && b <= 29)) << b;
}

// Ring radii are truncated to whole numbers. Where the wall between the two
// surfaces is thin against the resolution, this can line up a wall and a side
// of a cell in one plane, or bend a cell's profile inward; where the hollow is
// wider than the tube's distance from the axis, the outer surface would cross
// the axis, its rings would turn half a turn and its cells come out inside
// out. Every written cell must be a convex brush with faces in distinct
// planes; the outer surface is held at the axis.
TEST_F(HTorusTest, EveryCellStaysConvexWhenRadiiAreTruncatedOrReachTheAxis) {
  struct Case {
    Mesh mesh;
    bool reachesAxis;
  };
  const Case cases[] = {
      {{48, 48, false, 8, 20, 24}, false},      {{48, 12, true, 8, 20, 24}, false},
      {{24, 12, false, 8, 20, 24}, false},      {{12, 12, false, 128, 256, 100}, true},
      {{24, 12, true, 128, 256, 100}, true},    {{48, 24, false, 128, 256, 100}, true},
      {{12, 12, false, 10, 300, 12}, true},
  };
  for (const Case& c : cases) {
    const std::string where = Describe(c.mesh);
    SetMesh(c.mesh);
    Build();
    const MapCheck check = CheckGroupAsMap();
    EXPECT_TRUE(check.ok) << where << ": " << check.error;
    EXPECT_GT(check.brushes, Group->bcount / 2) << where;
    bool onAxis = false;
    for (int b = 0; b < Group->bcount; ++b) {
      const face& outer = Brush(b).faces[1];
      for (int i = 0; i < 4; ++i) onAxis = onAxis || (outer.verts[i].x == 0.0f && outer.verts[i].y == 0.0f);
    }
    EXPECT_EQ(onAxis, c.reachesAxis) << where;
  }
}

// The three radii in every order and with every sign: each describes a
// hollow torus (held at the axis where its outer surface would cross it)
// whose written cells are all convex brushes.
TEST_F(HTorusTest, EveryOrderAndSignOfTheRadiiGivesConvexCells) {
  const float triples[][3] = {{128, 256, 320}, {128, 256, 100}, {40, 41, 300}};
  const int orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
  for (const auto& radii : triples) {
    for (const auto& order : orders) {
      for (int signs = 0; signs < 8; ++signs) {
        rad = radii[order[0]] * ((signs & 1) ? -1.0f : 1.0f);
        rad2 = radii[order[1]] * ((signs & 2) ? -1.0f : 1.0f);
        rad3 = radii[order[2]] * ((signs & 4) ? -1.0f : 1.0f);
        Build();
        const MapCheck check = CheckGroupAsMap();
        EXPECT_TRUE(check.ok) << rad << " " << rad2 << " " << rad3 << ": " << check.error;
      }
    }
  }
}
