#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "generation/BaseShift.h"
#include "generation/Brush.h"
#include "generation/Circle.h"
#include "generation/ExportSelection.h"
#include "settings/Settings.h"
#include "support/ShapeFixture.h"

using SphereTest = ShapeBuildTest<sphere>;

TEST_F(SphereTest, GroupCountsAndFaceFields) {
  struct Case {
    int res, faces, meridianVerts;
  };
  const Case cases[] = {{12, 9, 8}, {24, 15, 14}, {192, 99, 98}};
  for (const Case& c : cases) {
    res = c.res;
    tex1 = "SURFACE";
    texn = "HIDDEN";  // the meridian faces keep "NULL" all the same
    firstrun = true;
    Build();
    const int H = c.res / 2;
    const std::string where = "res " + std::to_string(c.res);
    EXPECT_EQ(Group->bcount, c.res) << where;
    EXPECT_EQ(Group->sections, c.res) << where;
    EXPECT_EQ(Group->segments, H + 1) << where;
    EXPECT_EQ(Group->surfaces, 1) << where;
    for (int j = 0; j < Group->bcount; ++j) {
      const brush& b = Brush(j);
      ASSERT_EQ(b.fcount, c.faces) << where;
      EXPECT_EQ(b.section, j) << where;
      for (int i = 0; i < 2; ++i) {
        const face& m = b.faces[i];
        EXPECT_EQ(m.vcount, c.meridianVerts) << where;
        EXPECT_EQ(m.texture, "NULL") << where;
        EXPECT_EQ(m.texId, SlotNull) << where;
        EXPECT_EQ(m.segment, -1) << where;
        EXPECT_FALSE(m.wrapped) << where;
        EXPECT_EQ(m.pos, PosNull) << where;
      }
      for (int k = 0; k <= H; ++k) {
        const face& f = b.faces[k + 2];
        const bool pole = (k == 0 || k == H);
        EXPECT_EQ(f.vcount, pole ? 3 : 4) << where << " band " << k;
        EXPECT_EQ(f.texture, "SURFACE") << where;
        EXPECT_EQ(f.texId, SlotOuter) << where;
        EXPECT_EQ(f.segment, k) << where;
        EXPECT_TRUE(f.wrapped) << where;
        EXPECT_EQ(f.pos, PosNull) << where;
        // The unused fourth place of a triangle keeps the zero vertex.
        if (pole) ExpectVertex(f.verts[3], {0, 0, 0}, where + " triangle " + std::to_string(k));
      }
    }
    EXPECT_FALSE(firstrun) << where;
    EXPECT_EQ(Gmessage, "  | [INFO] Sphere generated\n");
  }
}

// The last brush's end meridian face uses the rings' closing entry, which is
// vertex 0: it is brush 0's start meridian face as built.
TEST_F(SphereTest, RingsPolesAndStartMeridian) {
  Build();
  const vertex meridian[8] = {{0, 0, 128},   {8, 32, 128},  {24, 96, 96},   {32, 128, 32},
                          {32, 128, -32}, {24, 96, -96}, {8, 32, -128}, {0, 0, -128}};
  const face& before = Brush(11).faces[1];
  const face& after = Brush(0).faces[0];
  for (int i = 0; i < 8; ++i) {
    ExpectVertex(before.verts[i], meridian[i], "end meridian of brush 11, vertex " + std::to_string(i));
    ExpectVertex(after.verts[i], meridian[7 - i], "start meridian of brush 0, vertex " + std::to_string(i));
  }
  // Rings 0 .. 5 have the radii 32, 96, 128, 128, 96, 32: at ring vertex 3
  // (the polygon's corner (128, -32) scaled) they lie at (r, -r / 4).
  const float radius[6] = {32, 96, 128, 128, 96, 32};
  const float height[6] = {128, 96, 32, -32, -96, -128};
  const face& m3 = Brush(2).faces[1];  // at ring vertex 3
  for (int i = 0; i < 6; ++i)
    ExpectVertex(m3.verts[i + 1], {radius[i], -radius[i] / 4, height[i]}, "ring " + std::to_string(i));
  // The poles are flat caps of triangles around the pole vertex.
  for (int j = 0; j < 12; ++j) {
    const face& top = Brush(j).faces[2];
    const face& bottom = Brush(j).faces[8];
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(top.verts[i].z, 128.0f) << "brush " << j;
      EXPECT_EQ(bottom.verts[i].z, -128.0f) << "brush " << j;
    }
    ExpectVertex(top.verts[0], {0, 0, 128}, "top pole of brush " + std::to_string(j));
    ExpectVertex(bottom.verts[1], {0, 0, -128}, "bottom pole of brush " + std::to_string(j));
  }
}

TEST_F(SphereTest, SurfaceFacesBetweenTheMeridians) {
  Build();
  const brush& b = Brush(0);
  const face& A = Brush(11).faces[1];  // brush 0's start meridian as built
  const face& E = b.faces[1];
  const struct {
    int face;
    int n;
    const vertex* v[4];
  } cases[] = {
      {2, 3, {&A.verts[0], &A.verts[1], &E.verts[1], nullptr}},
      {3, 4, {&A.verts[1], &A.verts[2], &E.verts[2], &E.verts[1]}},
      {7, 4, {&A.verts[5], &A.verts[6], &E.verts[6], &E.verts[5]}},
      {8, 3, {&A.verts[6], &A.verts[7], &E.verts[6], nullptr}},
  };
  for (const auto& c : cases) {
    const face& f = b.faces[c.face];
    ASSERT_EQ(f.vcount, c.n);
    for (int i = 0; i < c.n; ++i)
      ExpectVertex(f.verts[i], *c.v[i], "face " + std::to_string(c.face) + " vertex " + std::to_string(i));
  }
}

TEST_F(SphereTest, HRangeFace) {
  const HRangeCase cases[] = {
      {HRangeOuter, 0, 12, 3},   {HRangeLower, 0, 12, 3},  {HRangeInner, 0, 12, 1},
      {HRangeUpper, 0, 12, 3},   {HRangeInner, 0, 192, 24}, {HRangeLower, 0, 96, 24},
      // Custom numbers: past the bottom triangle or below 0 fall back to the
      // equator band; the pole triangles 0 and H stand.
      {HRangeCustom, 7, 12, 3},  {HRangeCustom, 0, 12, 0}, {HRangeCustom, 6, 12, 6},
      {HRangeCustom, -1, 12, 3}, {9, 5, 12, 5},             {HRangeCustom, 30, 24, 6},
  };
  for (const HRangeCase& c : cases) ExpectHRangeFace(c);
}

TEST_F(SphereTest, SymmetryLinesChangeNothing) {
  res = 24;
  rad = 100;
  Build();
  // Keep a copy of the geometry built without symmetry lines.
  std::unique_ptr<bgroup> without = std::move(Group);
  Sym = true;
  Build();
  ASSERT_EQ(Group->bcount, without->bcount);
  EXPECT_EQ(Group->segments, without->segments);
  for (int j = 0; j < Group->bcount; ++j) {
    const brush& a = without->brushes[j];
    const brush& b = Brush(j);
    ASSERT_EQ(a.fcount, b.fcount);
    for (int i = 0; i < a.fcount; ++i) {
      ASSERT_EQ(a.faces[i].vcount, b.faces[i].vcount);
      for (int v = 0; v < a.faces[i].vcount; ++v)
        ExpectVertex(b.faces[i].verts[v], a.faces[i].verts[v],
                     "brush " + std::to_string(j) + " face " + std::to_string(i));
    }
  }
}

// Ring radii are the meridian's x truncated. Where truncation bends the finely
// divided profile inward or lines up three corners (high resolutions), such a
// ring takes the place of the ring before it, so its band has no area and
// the wedge stays convex; the poles keep the meridian's heights.
TEST_F(SphereTest, RingsThatTruncationBendsInwardTakeThePreviousRing) {
  struct Case {
    int res;
    float rad;
    bool bent;  // the truncated profile is not convex
  };
  const Case cases[] = {{12, 100, false}, {48, 300, false}, {96, 128, true}, {96, 100, true}, {192, 1000, true}};
  for (const Case& c : cases) {
    res = c.res;
    rad = c.rad;
    Build();
    const int H = c.res / 2;
    const circle meridian = build_circle(c.res, static_cast<int>(c.rad));
    const face& m = Brush(c.res - 1).faces[1];  // vertex i + 1 is vertex 0 of ring i
    ExpectVertex(m.verts[0], {0, 0, meridian.y[0]}, "top pole");
    ExpectVertex(m.verts[H + 1], {0, 0, meridian.y[H - 1]}, "bottom pole");
    int collapsed = 0;
    for (int i = 0; i < H; ++i) {
      const vertex& v = m.verts[i + 1];
      const vertex& above = m.verts[i];
      const int radius = static_cast<int>(meridian.x[i]);
      const bool own = v.y == static_cast<float>(radius) && v.x == build_circle(c.res, radius).x[0] &&
                       v.z == meridian.y[i];
      const bool previous = v.x == above.x && v.y == above.y && v.z == above.z;
      EXPECT_TRUE(own || previous) << "res " << c.res << " ring " << i;
      if (!own) ++collapsed;
    }
    EXPECT_EQ(collapsed > 0, c.bent) << "res " << c.res << ": " << collapsed << " rings collapsed";
  }
}

// The meridian faces keep "NULL" and world axes whatever the hidden texture
// and the outer slot's settings are.
TEST_F(SphereTest, MeridianFacesStayNullAndWorldAligned) {
  texn = "HIDDEN";
  facealign[0] = wrapping[0] = Hwrapping[0] = Shear[0] = true;
  Build();
  for (int j = 0; j < Group->bcount; ++j) {
    for (int i = 0; i < 2; ++i) {
      const face& f = Brush(j).faces[i];
      const std::string where = "brush " + std::to_string(j) + " face " + std::to_string(i);
      EXPECT_EQ(f.texture, "NULL") << where;
      ExpectAxes(f, WorldAligned(f), where);
      EXPECT_EQ(f.shiftX, 0.0f) << where;
      EXPECT_EQ(f.shiftY, 0.0f) << where;
      EXPECT_EQ(f.scaleX, 1.0f) << where;
    }
  }
}

// Horizontal wrapping alone does not start the wrapping pass (the surface
// keeps scale 1 although the slot asks for 2). The horizontal base shift goes
// to the H-range source face only, or with shear to every surface face; the
// builder does not negate it, the post-pass negates the sheared one.
TEST_F(SphereTest, HorizontalBaseShiftWithoutTheWrappingPass) {
  for (bool shear : {false, true}) {
    facealign[0] = Hwrapping[0] = true;
    Shear[0] = shear;
    G_ScaleX[0] = 2.0f;
    Build();
    int nonzero = 0;
    for (int j = 0; j < Group->bcount; ++j) {
      for (int k = 0; k <= res / 2; ++k) {
        const face& f = Brush(j).faces[k + 2];
        const std::string where = (shear ? "shear brush " : "brush ") + std::to_string(j) + " band " + std::to_string(k);
        EXPECT_EQ(f.scaleX, 1.0f) << where;
        EXPECT_EQ(f.shiftX, 0.0f) << where;
        const float base = GetBaseShift(f, hor);
        const float expected = shear ? ReducedShift(f, -base, ver) : f.hFace ? ReducedShift(f, base, ver) : 0.0f;
        EXPECT_EQ(f.shiftY, expected) << where;
        if (expected != 0.0f) ++nonzero;
      }
    }
    EXPECT_GE(nonzero, Group->bcount) << shear;
  }
}

// The build computes the export selection for its own group: wedge j is
// brush j.
TEST_F(SphereTest, ExportSelectionSelectsWedges) {
  struct Case {
    int method, method2, start, end, nth;
    bool selected[12];
  };
  const Case cases[] = {
      {ExportBrushRange, RuleNone, 2, 4, 1, {false, true, true, true}},
      {ExportAll, RuleNthSection, 1, 0, 3, {false, false, true, false, false, true, false, false, true, false, false, true}},
  };
  for (const Case& c : cases) {
    D_method = c.method;
    D_method2 = c.method2;
    D_start = c.start;
    D_end = c.end;
    D_nth = c.nth;
    Build();
    ASSERT_EQ(D_listSize, 12);
    for (int j = 0; j < 12; ++j) EXPECT_EQ(IsBrushSelected(j), c.selected[j]) << c.method << " wedge " << j;
  }
}

// A radius at the limit of what a template can give: the outer rings, whose
// radii lie past the range of int, take the largest int rather than a
// wrapped negative one.
TEST_F(SphereTest, RingRadiusBeyondTheIntRangeSaturates) {
  rad = 2147483648.0f;  // the largest int a template gives, as a float
  Build();
  const face& m = Brush(11).faces[1];  // vertex i + 1 is vertex 0 of ring i
  for (int i = 1; i <= 6; ++i) EXPECT_GT(m.verts[i].y, 0.0f) << "ring " << i - 1;
}
