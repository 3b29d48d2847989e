#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "generation/BaseShift.h"
#include "generation/Brush.h"
#include "settings/Settings.h"
#include "settings/Template.h"
#include "support/BrushCheck.h"
#include "support/Process.h"
#include "support/ShapeFixture.h"

namespace {

struct Corner {
  float x, y;
};

// The res 12, rad 128 polygon, and the same with the four axis points.
const std::vector<Corner> Inner12 = {{32, 128},   {96, 96},   {128, 32},   {128, -32},
                                     {96, -96},   {32, -128}, {-32, -128}, {-96, -96},
                                     {-128, -32}, {-128, 32}, {-96, 96},   {-32, 128}};
const std::vector<Corner> Inner12Sym = {{0, 128},    {32, 128},   {96, 96},   {128, 32},
                                        {128, 0},    {128, -32},  {96, -96},  {32, -128},
                                        {0, -128},   {-32, -128}, {-96, -96}, {-128, -32},
                                        {-128, 0},   {-128, 32},  {-96, 96},  {-32, 128}};

// Corners of the rings for the default radii 128 and 320: the outer ring is
// the inner one scaled by 2.5; h is 256 (from rad2).
class Rings {
 public:
  explicit Rings(const std::vector<Corner>& inner) : inner_(inner) {}
  int size() const { return static_cast<int>(inner_.size()); }
  int next(int i) const { return i == size() - 1 ? 0 : i + 1; }
  vertex A(int i, float z) const { return {inner_[static_cast<size_t>(i)].x, inner_[static_cast<size_t>(i)].y, z}; }
  vertex B(int i, float z) const {
    return {inner_[static_cast<size_t>(i)].x * 2.5f, inner_[static_cast<size_t>(i)].y * 2.5f, z};
  }

 private:
  std::vector<Corner> inner_;
};

constexpr float Dn = -256.0f;
constexpr float Up = 256.0f;

struct FaceKind {
  int pos;
  const std::string* texture;
  int slot;
  bool wrapped;
  bool hasSegment;
};

void ExpectKind(const face& f, const FaceKind& k, int segment, const std::string& what) {
  EXPECT_EQ(f.pos, k.pos) << what;
  EXPECT_EQ(f.texture, *k.texture) << what;
  EXPECT_EQ(f.texId, k.slot) << what;
  EXPECT_EQ(f.wrapped, k.wrapped) << what;
  EXPECT_FALSE(f.hFace) << what;
  EXPECT_EQ(f.segment, k.hasSegment ? segment : -1) << what;
}

class ArchTest : public ShapeBuildTest<arch> {
 protected:
  // Every segment brush of an arch without triangulation, vertices and fields.
  static void ExpectSegmentBrushes(const Rings& r) {
    const FaceKind kinds[6] = {{PosDown, &tex3, SlotFloor, false, true},  {PosUp, &tex3, SlotFloor, false, true},
                               {PosLeft, &texn, SlotNull, false, false},  {PosRight, &texn, SlotNull, false, false},
                               {PosBack, &tex2, SlotInner, true, true},   {PosFront, &tex1, SlotOuter, true, true}};
    ASSERT_EQ(Group->bcount, r.size());
    for (int i = 0; i < r.size(); ++i) {
      const int n = r.next(i);
      const std::string b = "brush " + std::to_string(i);
      ASSERT_EQ(Brush(i).fcount, 6) << b;
      EXPECT_EQ(Brush(i).section, 0) << b;
      ExpectVerts(Face(i, 0), {r.A(n, Dn), r.B(n, Dn), r.B(i, Dn), r.A(i, Dn)}, b + " floor");
      ExpectVerts(Face(i, 1), {r.A(i, Up), r.B(i, Up), r.B(n, Up), r.A(n, Up)}, b + " ceiling");
      ExpectVerts(Face(i, 2), {r.A(i, Dn), r.B(i, Dn), r.B(i, Up), r.A(i, Up)}, b + " side 2");
      ExpectVerts(Face(i, 3), {r.A(n, Up), r.B(n, Up), r.B(n, Dn), r.A(n, Dn)}, b + " side 3");
      ExpectVerts(Face(i, 4), {r.A(n, Up), r.A(n, Dn), r.A(i, Dn), r.A(i, Up)}, b + " inner wall");
      ExpectVerts(Face(i, 5), {r.B(i, Up), r.B(i, Dn), r.B(n, Dn), r.B(n, Up)}, b + " outer wall");
      for (int k = 0; k < 6; ++k) ExpectKind(Face(i, k), kinds[k], i, b + " face " + std::to_string(k));
    }
  }

  // Both prisms of every segment of a triangulated arch.
  static void ExpectPrisms(const Rings& r) {
    const FaceKind outer[5] = {{PosDown, &tex3, SlotFloor, false, true},  {PosUp, &tex3, SlotFloor, false, true},
                               {PosLeft, &texn, SlotNull, false, false},  {PosRight, &texn, SlotNull, false, false},
                               {PosFront, &tex1, SlotOuter, true, true}};
    const FaceKind inner[5] = {{PosDown, &tex3, SlotFloor, false, true},  {PosUp, &tex3, SlotFloor, false, true},
                               {PosLeft, &texn, SlotNull, false, false},  {PosRight, &texn, SlotNull, false, false},
                               {PosBack, &tex2, SlotInner, true, true}};
    ASSERT_EQ(Group->bcount, 2 * r.size());
    EXPECT_EQ(Group->segments, r.size());
    for (int s = 0; s < r.size(); ++s) {
      const int n = r.next(s);
      const int p = 2 * s;
      const int q = 2 * s + 1;
      const std::string ps = "outer prism " + std::to_string(s);
      const std::string qs = "inner prism " + std::to_string(s);
      ASSERT_EQ(Brush(p).fcount, 5) << ps;
      ASSERT_EQ(Brush(q).fcount, 5) << qs;
      EXPECT_EQ(Brush(p).section, 0) << ps;
      EXPECT_EQ(Brush(q).section, 0) << qs;
      ExpectVerts(Face(p, 0), {r.B(n, Dn), r.B(s, Dn), r.A(s, Dn)}, ps + " floor");
      ExpectVerts(Face(p, 1), {r.A(s, Up), r.B(s, Up), r.B(n, Up)}, ps + " ceiling");
      ExpectVerts(Face(p, 2), {r.A(s, Dn), r.B(s, Dn), r.B(s, Up), r.A(s, Up)}, ps + " side");
      ExpectVerts(Face(p, 3), {r.A(s, Up), r.B(n, Up), r.B(n, Dn), r.A(s, Dn)}, ps + " diagonal");
      ExpectVerts(Face(p, 4), {r.B(s, Up), r.B(s, Dn), r.B(n, Dn), r.B(n, Up)}, ps + " outer wall");
      ExpectVerts(Face(q, 0), {r.A(n, Dn), r.B(n, Dn), r.A(s, Dn)}, qs + " floor");
      ExpectVerts(Face(q, 1), {r.A(s, Up), r.B(n, Up), r.A(n, Up)}, qs + " ceiling");
      ExpectVerts(Face(q, 2), {r.A(s, Dn), r.B(n, Dn), r.B(n, Up), r.A(s, Up)}, qs + " diagonal");
      ExpectVerts(Face(q, 3), {r.A(n, Up), r.B(n, Up), r.B(n, Dn), r.A(n, Dn)}, qs + " side");
      ExpectVerts(Face(q, 4), {r.A(n, Up), r.A(n, Dn), r.A(s, Dn), r.A(s, Up)}, qs + " inner wall");
      for (int k = 0; k < 5; ++k) {
        ExpectKind(Face(p, k), outer[k], s, ps + " face " + std::to_string(k));
        ExpectKind(Face(q, k), inner[k], s, qs + " face " + std::to_string(k));
      }
    }
  }
};

}  // namespace

TEST_F(ArchTest, TwelveSegmentBrushesBetweenTheRings) {
  rad3 = 320.0f;
  Build();
  EXPECT_EQ(Group->sections, 1);
  EXPECT_EQ(Group->segments, 12);
  EXPECT_EQ(Group->surfaces, 2);
  ExpectSegmentBrushes(Rings(Inner12));
  // Brush 11 ends at corner 0.
  EXPECT_EQ(Face(11, 5).verts[3].x, 80.0f);
  EXPECT_EQ(Face(11, 5).verts[3].y, 320.0f);
}

TEST_F(ArchTest, SymmetryLinesAddTheAxisPoints) {
  Sym = true;
  Build();
  EXPECT_EQ(Group->segments, 16);
  ExpectSegmentBrushes(Rings(Inner12Sym));
  ExpectVerts(Face(0, 5), {{0, 320, Up}, {0, 320, Dn}, {80, 320, Dn}, {80, 320, Up}}, "brush 0 outer wall");
  ExpectVerts(Face(0, 4), {{32, 128, Up}, {32, 128, Dn}, {0, 128, Dn}, {0, 128, Up}}, "brush 0 inner wall");
}

TEST_F(ArchTest, TriangulationSplitsEverySegmentIntoTwoPrisms) {
  Tri = true;
  Build();
  ExpectPrisms(Rings(Inner12));
  // The prisms of segment 0 share the diagonal from (32, 128) to (240, 240).
  ExpectVerts(Face(0, 3), {{32, 128, Up}, {240, 240, Up}, {240, 240, Dn}, {32, 128, Dn}}, "outer diagonal");
  ExpectVerts(Face(1, 2), {{32, 128, Dn}, {240, 240, Dn}, {240, 240, Up}, {32, 128, Up}}, "inner diagonal");
}

TEST_F(ArchTest, TriangulationWithSymmetryLines) {
  Sym = true;
  Tri = true;
  Build();
  ExpectPrisms(Rings(Inner12Sym));
}

TEST_F(ArchTest, EveryResolutionFillsItsCapacities) {
  for (const bool sym : {false, true}) {
    for (const bool tri : {false, true}) {
      for (const int r : {12, 24, 48, 96, 192}) {
        res = r;
        Sym = sym;
        Tri = tri;
        Build();
        SCOPED_TRACE(::testing::Message() << "res " << r << " sym " << sym << " tri " << tri);
        const int segments = r + (sym ? 4 : 0);
        EXPECT_EQ(Group->segments, segments);
        EXPECT_EQ(Group->bcount, tri ? 2 * segments : segments);
        // The last segment closes the ring at corner 0 of the outer ring.
        const int last = Group->bcount - (tri ? 2 : 1);
        const face& wall = Face(last, tri ? 4 : 5);
        EXPECT_EQ(wall.segment, segments - 1);
        EXPECT_EQ(wall.verts[3].x, Face(0, tri ? 4 : 5).verts[0].x);
        EXPECT_EQ(wall.verts[3].y, Face(0, tri ? 4 : 5).verts[0].y);
      }
    }
  }
}

TEST_F(ArchTest, HalfHeightFollowsRad2AndIsCappedByTheOuterRadius) {
  struct Case {
    float rad2, rad3;
    float h;
  };
  const Case cases[] = {
      {256.0f, 320.0f, 256.0f},   {2000.0f, 900.0f, 2000.0f}, {256.0f, 1100.0f, 1024.0f},
      {100.0f, 320.0f, 112.0f},   {1020.0f, 1024.0f, 1024.0f}, {256.0f, 1024.5f, 1024.0f},
      {250.5f, 320.0f, 256.0f},
  };
  for (const Case& c : cases) {
    rad2 = c.rad2;
    rad3 = c.rad3;
    Build();
    SCOPED_TRACE(::testing::Message() << "rad2 " << c.rad2 << " rad3 " << c.rad3);
    EXPECT_EQ(Face(0, 1).verts[0].z, c.h);
    EXPECT_EQ(Face(0, 0).verts[0].z, -c.h);
    EXPECT_EQ(Face(0, 5).verts[0].z, c.h);
    EXPECT_EQ(Face(0, 5).verts[1].z, -c.h);
  }
}

TEST_F(ArchTest, RadiiAreTruncatedForThePolygons) {
  rad = 128.9f;
  rad3 = 320.7f;
  Build();
  ExpectSegmentBrushes(Rings(Inner12));
}

TEST_F(ArchTest, FinishesWithTheGeneratedMessageAndACurrentObject) { ExpectTheBuildFinishes(SlotFloor); }

TEST_F(ArchTest, ExampleTemplateBuildsATriangulatedRingWithoutMenus) {
  ASSERT_TRUE(LoadTemplate(SourceDir() + "/examples/arch.kvt"));
  EXPECT_TRUE(IsArch);
  EXPECT_TRUE(nomenu);
  EXPECT_TRUE(exmap);
  EXPECT_EQ(res, 24);
  EXPECT_EQ(rad, 192.0f);
  EXPECT_EQ(rad2, 128.0f);
  EXPECT_EQ(rad3, 320.0f);
  EXPECT_TRUE(Sym);
  EXPECT_TRUE(Tri);
  EXPECT_EQ(tex1, "TNNL_W12C16");
  EXPECT_EQ(tex2, "TNNL_W12C17");
  EXPECT_EQ(tex3, "TNNL_W12C");
  EXPECT_TRUE(facealign[SlotOuter] && wrapping[SlotOuter] && seamless[SlotOuter]);
  EXPECT_TRUE(facealign[SlotInner] && wrapping[SlotInner]);
  EXPECT_TRUE(facealign[SlotFloor]);
  EXPECT_FALSE(Shear[SlotFloor]);
  Build();
  EXPECT_EQ(Group->bcount, 56);
  EXPECT_EQ(Face(0, 1).verts[0].z, 128.0f);
  const MapCheck check = CheckGroupAsMap();
  EXPECT_TRUE(check.ok) << check.error;
}

namespace {

// Of the faces of a segment brush the floor, the side at the segment's end
// and the inner wall are reversed after their axes are computed.
bool ReversedAfterTexturing(int k) { return k == 0 || k == 3 || k == 4; }

}  // namespace

TEST_F(ArchTest, EveryFaceGetsTheAxesOfItsSlot) {
  struct Case {
    bool outer, inner, floor;
    bool hiddenOuter;  // tex1 equal to texn
    bool shear;        // Shear[2]
  };
  const Case cases[] = {{false, false, false, false, false}, {false, true, false, false, false},
                        {true, false, true, false, false},   {true, true, true, false, true},
                        {true, false, false, true, false}};
  for (const Case& c : cases) {
    Restart();
    facealign[SlotOuter] = c.outer;
    facealign[SlotInner] = c.inner;
    facealign[SlotFloor] = c.floor;
    Shear[SlotFloor] = c.shear;
    if (c.hiddenOuter) tex1 = texn;
    Build();
    for (int b = 0; b < Group->bcount; ++b) {
      for (int k = 0; k < 6; ++k) {
        const face& f = Face(b, k);
        const std::string what = ::testing::PrintToString(c.outer) + ::testing::PrintToString(c.inner) +
                                 ::testing::PrintToString(c.floor) + " brush " + std::to_string(b) + " face " +
                                 std::to_string(k);
        const bool aligned = f.texId != SlotNull && facealign[f.texId];
        face expected = Aligned(f, aligned, ReversedAfterTexturing(k));
        // The inner wall is seen from the axis: a face-aligned one runs backwards.
        if (k == 4 && c.inner) expected.FlipVecHor();
        ExpectAxes(f, expected, what);
        if (!aligned) {
          EXPECT_EQ(f.shiftX, 0.0f) << what;
          EXPECT_EQ(f.shiftY, 0.0f) << what;
        }
      }
    }
  }
}

TEST_F(ArchTest, ShearedFloorKeepsItsHorizontalShiftAtZero) {
  for (const bool shear : {false, true}) {
    Restart();
    facealign[SlotFloor] = true;
    Shear[SlotFloor] = shear;
    Build();
    int horizontal = 0;
    int vertical = 0;
    for (int b = 0; b < Group->bcount; ++b) {
      for (int k : {0, 1}) {
        if (shear) {
          EXPECT_EQ(Face(b, k).shiftX, 0.0f) << "brush " << b << " face " << k;
        }
        if (Face(b, k).shiftX != 0.0f) ++horizontal;
        if (Face(b, k).shiftY != 0.0f) ++vertical;
      }
    }
    if (!shear) {
      EXPECT_GT(horizontal, 0);
    }
    EXPECT_GT(vertical, 0) << "shear " << shear;
  }
}

TEST_F(ArchTest, WallShiftsAreWholeNumbers) {
  // Radii that are not multiples of 128 give base shifts with fractions.
  rad = 100.0f;
  rad3 = 250.0f;
  res = 24;
  for (int k = 0; k < SlotCount; ++k) facealign[k] = true;
  Build();
  int fractional = 0;
  for (int b = 0; b < Group->bcount; ++b) {
    for (int k : {4, 5}) {
      const face& f = Face(b, k);
      EXPECT_EQ(f.shiftY, std::round(f.shiftY)) << "brush " << b << " face " << k;
      const face unrounded = Aligned(f, true, ReversedAfterTexturing(k));
      const float base = GetBaseShift(unrounded, ver);
      if (base != std::round(base)) ++fractional;
    }
  }
  EXPECT_GT(fractional, 0) << "the radii do not exercise the rounding";
}

// The wrapping pass runs on the segment brushes, before the split, and the
// post-pass treats each prism face as the face it came from.
class ArchPrismTextureTest : public ArchTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ArchPrismTextureTest, PrismsKeepTheTexturesOfTheFacesTheyCameFrom) {
  for (int k = 0; k < SlotCount; ++k) {
    facealign[k] = true;
    wrapping[k] = GetParam();
    seamless[k] = GetParam();
  }
  G_Rot[SlotInner] = 90.0f;
  G_ShiftX[SlotOuter] = 20.0f;
  rad = 100.0f;
  rad3 = 250.0f;
  Build();
  std::vector<face> segments;
  for (int b = 0; b < Group->bcount; ++b)
    for (int k = 0; k < 6; ++k) segments.push_back(Face(b, k));
  const int n = Group->bcount;

  Tri = true;
  Build();
  ASSERT_EQ(Group->bcount, 2 * n);
  // Prism face k of the outer (0) and inner (1) prism comes from this face of
  // the segment brush.
  const int from[2][5] = {{0, 1, 2, 3, 5}, {0, 1, 2, 3, 4}};
  for (int s = 0; s < n; ++s) {
    for (int half = 0; half < 2; ++half) {
      for (int k = 0; k < 5; ++k) {
        const face& got = Face(2 * s + half, k);
        const face& want = segments[static_cast<size_t>(6 * s + from[half][k])];
        const std::string what =
            "segment " + std::to_string(s) + (half ? " inner" : " outer") + " face " + std::to_string(k);
        EXPECT_EQ(got.texture, want.texture) << what;
        EXPECT_EQ(got.texId, want.texId) << what;
        EXPECT_EQ(got.pos, want.pos) << what;
        ExpectAxes(got, want, what);
        EXPECT_EQ(got.shiftX, want.shiftX) << what;
        EXPECT_EQ(got.shiftY, want.shiftY) << what;
        EXPECT_EQ(got.scaleX, want.scaleX) << what;
        EXPECT_EQ(got.scaleY, want.scaleY) << what;
        EXPECT_EQ(got.rot, want.rot) << what;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Wrapping, ArchPrismTextureTest, ::testing::Bool());

TEST_F(ArchTest, WrappingPassRunsWithAnyFaceAlignedSlotAndAnyWrappedSlot) {
  // The pass scales the floor of segment g by its extent over that of the
  // last segment, which differs between the segments at res 12.
  struct Case {
    bool facealign[SlotCount];
    bool wrapping[SlotCount];
    bool runs;
  };
  const Case cases[] = {
      {{false, false, false}, {false, false, false}, false}, {{false, false, true}, {true, false, false}, true},
      {{true, false, false}, {false, false, true}, true},    {{false, true, false}, {false, true, false}, true},
      {{false, true, false}, {false, false, false}, false},  {{false, false, false}, {true, true, true}, false},
  };
  for (const Case& c : cases) {
    Restart();
    for (int k = 0; k < SlotCount; ++k) {
      facealign[k] = c.facealign[k];
      wrapping[k] = c.wrapping[k];
    }
    Build();
    int scaled = 0;
    for (int b = 0; b < Group->bcount; ++b) {
      if (Face(b, 1).scaleY != G_ScaleY[SlotFloor]) ++scaled;
    }
    EXPECT_EQ(scaled > 0, c.runs) << ::testing::PrintToString(c.facealign) << ::testing::PrintToString(c.wrapping);
  }
}

TEST_F(ArchTest, PostPassAppliesTheSlotsRotationAndUserShifts) {
  G_Rot[SlotInner] = 90.0f;
  G_ShiftX[SlotOuter] = 20.0f;
  Build();
  for (int b = 0; b < Group->bcount; ++b) {
    EXPECT_EQ(Face(b, 4).rot, 90.0f) << b;
    EXPECT_EQ(Face(b, 5).rot, 0.0f) << b;
    // World-aligned walls have no base shift: the user shift is all there is.
    EXPECT_EQ(Face(b, 5).shiftX, 20.0f) << b;
  }
}

TEST_F(ArchTest, ExportSelectionCoversEveryBrushOfTheBuild) {
  struct Case {
    bool sym, tri;
    int brushes;
  };
  const Case cases[] = {{false, false, 12}, {true, false, 16}, {false, true, 24}, {true, true, 32}};
  for (const Case& c : cases) {
    Restart();
    Sym = c.sym;
    Tri = c.tri;
    Build();
    ASSERT_NE(D_list, nullptr);
    EXPECT_EQ(D_listSize, c.brushes);
    for (int b = 0; b < D_listSize; ++b) EXPECT_TRUE(D_list[b]) << b;
  }
  // The rules of the build are applied: brushes 2 to 4 (1-based).
  D_method = ExportBrushRange;
  D_start = 2;
  D_end = 4;
  Build();
  for (int b = 0; b < D_listSize; ++b) EXPECT_EQ(D_list[b], b >= 1 && b <= 3) << b;
}
