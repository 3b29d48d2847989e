#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "generation/BaseShift.h"
#include "generation/Brush.h"
#include "generation/TextureAxes.h"
#include "settings/Settings.h"
#include "settings/Template.h"
#include "support/BrushCheck.h"
#include "support/Process.h"
#include "support/ShapeFixture.h"

namespace {

// The cylinder is one brush: its faces are the body's.
class CylinderTest : public ShapeBuildTest<cylinder> {
 protected:
  static const brush& Body() { return Brush(0); }
  static const face& Face(int i) { return Body().faces[i]; }
};

// The corners of the res 12, rad 128 polygon.
const float Corners12[12][2] = {{32, 128},  {96, 96},    {128, 32},  {128, -32}, {96, -96},  {32, -128},
                                {-32, -128}, {-96, -96}, {-128, -32}, {-128, 32}, {-96, 96}, {-32, 128}};

}  // namespace

TEST_F(CylinderTest, OneBrushWithTwoCapsAndASideFacePerCorner) {
  Build();
  EXPECT_EQ(Group->bcount, 1);
  EXPECT_EQ(Group->sections, 1);
  EXPECT_EQ(Group->segments, 12);
  EXPECT_EQ(Group->surfaces, 1);
  EXPECT_EQ(Body().fcount, 14);
  EXPECT_EQ(Body().section, 0);
}

TEST_F(CylinderTest, CapsRunOppositeWaysAfterTheBottomIsReversed) {
  Build();
  const face& bottom = Face(0);
  const face& top = Face(1);
  ASSERT_EQ(top.vcount, 12);
  ASSERT_EQ(bottom.vcount, 12);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(top.verts[i].x, Corners12[i][0]) << i;
    EXPECT_EQ(top.verts[i].y, Corners12[i][1]) << i;
    EXPECT_EQ(top.verts[i].z, 128.0f) << i;
    EXPECT_EQ(bottom.verts[i].x, Corners12[11 - i][0]) << i;
    EXPECT_EQ(bottom.verts[i].y, Corners12[11 - i][1]) << i;
    EXPECT_EQ(bottom.verts[i].z, -128.0f) << i;
  }
  // The top cap was copied from the bottom one, not made to share its buffer.
  EXPECT_NE(top.verts.get(), bottom.verts.get());
}

TEST_F(CylinderTest, CapFields) {
  Build();
  for (int i : {0, 1}) {
    const face& cap = Face(i);
    SCOPED_TRACE(i);
    EXPECT_EQ(cap.pos, i == 0 ? PosDown : PosUp);
    EXPECT_EQ(cap.texture, texn);
    EXPECT_EQ(cap.texId, SlotNull);
    EXPECT_FALSE(cap.wrapped);
    EXPECT_FALSE(cap.hFace);
    EXPECT_EQ(cap.segment, -1);
    EXPECT_EQ(cap.vecHor.x, 1.0f);
    EXPECT_EQ(cap.vecHor.y, 0.0f);
    EXPECT_EQ(cap.vecHor.z, 0.0f);
    EXPECT_EQ(cap.vecVer.x, 0.0f);
    EXPECT_EQ(cap.vecVer.y, -1.0f);
    EXPECT_EQ(cap.vecVer.z, 0.0f);
    EXPECT_EQ(cap.scaleX, 1.0f);
    EXPECT_EQ(cap.scaleY, 1.0f);
  }
}

TEST_F(CylinderTest, SideFacesJoinNeighbouringCorners) {
  Build();
  ExpectVerts(Face(2), {{32, 128, 128}, {32, 128, -128}, {96, 96, -128}, {96, 96, 128}}, "side 0");
  ExpectVerts(Face(13), {{-32, 128, 128}, {-32, 128, -128}, {32, 128, -128}, {32, 128, 128}}, "side 11");
  for (int i = 0; i < 12; ++i) {
    const int n = (i + 1) % 12;
    const float h = 128.0f;
    ExpectVerts(Face(2 + i),
                {{Corners12[i][0], Corners12[i][1], h},
                 {Corners12[i][0], Corners12[i][1], -h},
                 {Corners12[n][0], Corners12[n][1], -h},
                 {Corners12[n][0], Corners12[n][1], h}},
                "side " + std::to_string(i));
  }
}

TEST_F(CylinderTest, SideFaceFieldsCarryTheOuterSlotAndItsScales) {
  G_ScaleX[SlotOuter] = 2.0f;
  G_ScaleY[SlotOuter] = 0.5f;
  Build();
  for (int i = 0; i < 12; ++i) {
    const face& f = Face(2 + i);
    SCOPED_TRACE(i);
    EXPECT_EQ(f.pos, PosFront);
    EXPECT_EQ(f.texture, tex1);
    EXPECT_EQ(f.texId, SlotOuter);
    EXPECT_TRUE(f.wrapped);
    EXPECT_FALSE(f.hFace);
    EXPECT_EQ(f.segment, i);
    EXPECT_EQ(f.scaleX, 2.0f);
    EXPECT_EQ(f.scaleY, 0.5f);
  }
}

TEST_F(CylinderTest, HalfHeightAndPolygonRadius) {
  struct Case {
    float rad;
    float h;       // z of the top cap
    float corner;  // y of corner 0: the truncated radius
  };
  const Case cases[] = {
      {128.0f, 128.0f, 128.0f},  {100.0f, 112.0f, 100.0f},   {100.7f, 112.0f, 100.0f},
      {1000.0f, 1008.0f, 1000.0f}, {1020.0f, 1024.0f, 1020.0f}, {1024.0f, 1024.0f, 1024.0f},
      {1024.5f, 1024.0f, 1024.0f}, {2000.0f, 1024.0f, 2000.0f}, {16.0f, 16.0f, 16.0f},
      {0.0f, 0.0f, 0.0f},
  };
  for (const Case& c : cases) {
    rad = c.rad;
    Build();
    SCOPED_TRACE(c.rad);
    EXPECT_EQ(Face(1).verts[0].z, c.h);
    EXPECT_EQ(Face(0).verts[0].z, -c.h);
    EXPECT_EQ(Face(1).verts[0].y, c.corner);
    EXPECT_EQ(Face(2).verts[0].z, c.h);
    EXPECT_EQ(Face(2).verts[1].z, -c.h);
  }
}

TEST_F(CylinderTest, EveryResolutionFillsItsCapacities) {
  for (int r : {12, 24, 48, 96, 192}) {
    res = r;
    Build();
    SCOPED_TRACE(r);
    EXPECT_EQ(Body().fcount, r + 2);
    EXPECT_EQ(Group->segments, r);
    EXPECT_EQ(Face(0).vcount, r);
    // The last side face closes the ring at corner 0.
    const face& last = Face(r + 1);
    EXPECT_EQ(last.segment, r - 1);
    EXPECT_EQ(last.verts[3].x, Face(1).verts[0].x);
    EXPECT_EQ(last.verts[3].y, Face(1).verts[0].y);
  }
}

TEST_F(CylinderTest, SymmetryLinesAndTriangulationDoNotApply) {
  Sym = true;
  Tri = true;
  Build();
  EXPECT_EQ(Group->bcount, 1);
  EXPECT_EQ(Body().fcount, 14);
  EXPECT_EQ(Face(1).verts[0].x, 32.0f);
}

TEST_F(CylinderTest, ClearsAnExportSelectionOfAnEarlierBuild) {
  // A selection whose only flag is off would leave the cylinder out of the file.
  D_list = std::make_unique<bool[]>(4);
  D_listSize = 4;
  Build();
  EXPECT_EQ(D_list, nullptr);
  EXPECT_EQ(D_listSize, 0);
}

TEST_F(CylinderTest, FinishesWithTheGeneratedMessageAndACurrentObject) { ExpectTheBuildFinishes(SlotOuter); }

TEST_F(CylinderTest, ExampleTemplateBuildsAWrappedCylinderWithoutMenus) {
  ASSERT_TRUE(LoadTemplate(SourceDir() + "/examples/cylinder.kvt"));
  EXPECT_TRUE(IsCylinder);
  EXPECT_TRUE(nomenu);
  EXPECT_TRUE(exmap);
  EXPECT_FALSE(exobj);
  EXPECT_EQ(res, 24);
  EXPECT_EQ(rad, 192.0f);
  EXPECT_EQ(tex1, "TNNL_W1218");
  EXPECT_EQ(texn, "NULL");
  EXPECT_EQ(G_SizeX[SlotOuter], 128);
  EXPECT_EQ(G_SizeY[SlotOuter], 128);
  EXPECT_TRUE(facealign[SlotOuter]);
  EXPECT_TRUE(wrapping[SlotOuter]);
  EXPECT_TRUE(seamless[SlotOuter]);
  Build();
  EXPECT_EQ(Body().fcount, 26);
  const MapCheck check = CheckGroupAsMap();
  EXPECT_TRUE(check.ok) << check.error;
}

TEST_F(CylinderTest, SideFacesAreWorldOrFaceAlignedByTheOuterSlot) {
  struct Case {
    bool facealign;
    bool hiddenTexture;  // tex1 equal to texn
    bool faceAxes;
  };
  const Case cases[] = {{false, false, false}, {true, false, true}, {true, true, false}, {false, true, false}};
  for (const Case& c : cases) {
    Restart();
    rad = 100.0f;
    res = 24;
    facealign[SlotOuter] = c.facealign;
    if (c.hiddenTexture) tex1 = texn;
    Build();
    for (int i = 0; i < res; ++i) {
      const face& f = Face(2 + i);
      const std::string what = ::testing::PrintToString(c.facealign) + "/" +
                               ::testing::PrintToString(c.hiddenTexture) + " side " + std::to_string(i);
      const face expected = Aligned(f, c.faceAxes);
      EXPECT_EQ(f.shiftX, c.faceAxes ? GetBaseShift(expected, hor) : 0.0f) << what;
      ExpectAxes(f, expected, what);
      EXPECT_EQ(f.shiftY, 0.0f) << what;
    }
    // The two alignments differ on side face 0, which faces along +y.
    if (c.faceAxes) {
      EXPECT_NE(Face(2).vecHor.x, 1.0f);
      EXPECT_NE(Face(2).shiftX, 0.0f);
    } else {
      ExpectVector(Face(2).vecHor, vector{1.0f, 0.0f, 0.0f}, "world side 0");
    }
  }
}

TEST_F(CylinderTest, SlotRotationAndUserShiftsDoNotApply) {
  facealign[SlotOuter] = true;
  G_Rot[SlotOuter] = 90.0f;
  G_ShiftX[SlotOuter] = 16.0f;
  G_ShiftY[SlotOuter] = 8.0f;
  Build();
  for (int i = 0; i < Body().fcount; ++i) {
    const face& f = Face(i);
    const std::string what = "face " + std::to_string(i);
    EXPECT_EQ(f.rot, 0.0f) << what;
    if (i < 2) {
      EXPECT_EQ(f.shiftX, 0.0f) << what;
      EXPECT_EQ(f.shiftY, 0.0f) << what;
      continue;
    }
    face expected(f);
    AlignToFace(expected);
    ExpectAxes(f, expected, what);
    EXPECT_EQ(f.shiftX, GetBaseShift(expected, hor)) << what;
    EXPECT_EQ(f.shiftY, 0.0f) << what;
  }
}

TEST_F(CylinderTest, WrappingPassRunsOnlyForAFaceAlignedWrappedOuterSlot) {
  // A seamless fit of res 12, rad 128 with 128-texel textures: six repeats
  // around 828.4335 units give the X scale 1.0786895.
  struct Case {
    bool facealign, wrapping, hiddenTexture;
    bool runs;
  };
  const Case cases[] = {{false, false, false, false}, {false, true, false, false}, {true, false, false, false},
                        {true, true, false, true},    {true, true, true, true}};
  for (const Case& c : cases) {
    Restart();
    facealign[SlotOuter] = c.facealign;
    wrapping[SlotOuter] = c.wrapping;
    seamless[SlotOuter] = true;
    if (c.hiddenTexture) tex1 = texn;
    Build();
    for (int i = 2; i < Body().fcount; ++i) {
      EXPECT_FLOAT_EQ(Face(i).scaleX, c.runs ? 1.0786895f : 1.0f)
          << c.facealign << c.wrapping << c.hiddenTexture << " face " << i;
    }
    // The caps are not part of the wrapped surface.
    EXPECT_EQ(Face(0).scaleX, 1.0f);
    EXPECT_EQ(Face(1).scaleX, 1.0f);
  }
}
