// The ring (arch): an annulus around the z axis between an inner and an outer
// circle polygon, extruded from -h to +h and cut into one brush per segment;
// with triangulation each segment brush is split into two triangular prisms.
#include <cmath>
#include <memory>
#include <utility>

#include "generation/BaseShift.h"
#include "generation/Brush.h"
#include "generation/BuildSupport.h"
#include "generation/Builders.h"
#include "generation/CleanUp.h"
#include "generation/Circle.h"
#include "generation/TextureAxes.h"
#include "generation/Texturize.h"
#include "settings/Settings.h"

namespace {

// Face numbers within a segment brush.
constexpr int Floor = 0;
constexpr int Ceiling = 1;
constexpr int SideStart = 2;  // radial side at the segment's first corner
constexpr int SideEnd = 3;    // radial side at the segment's last corner
constexpr int InnerWall = 4;
constexpr int OuterWall = 5;
constexpr int FacesPerBrush = 6;
constexpr int FacesPerPrism = 5;

// The radii as the builder takes them. Radii are lengths: negative ones count
// by their magnitude (a negative radius turns its polygon half a turn, so that
// the segment brushes would cross the axis). An inner radius beyond the outer
// one describes the same ring with its walls named the other way round; taken
// as given, every brush would come out inside out, so the smaller radius is the
// inner one. The half height is a length as well.
struct ArchRadii {
  float inner = 0.0f;
  float outer = 0.0f;
  float halfHeight = 0.0f;
};

ArchRadii TakeRadii() {
  ArchRadii r;
  r.inner = std::fabs(rad);
  r.outer = std::fabs(rad3);
  if (r.inner > r.outer) std::swap(r.inner, r.outer);
  r.halfHeight = std::fabs(rad2);
  return r;
}

// The inner ring A and the outer ring B with the same number of corners;
// corner i of both lies on the same ray from the z axis.
struct ArchRings {
  Vcircle inner;
  Vcircle outer;
  int corners = 0;
};

ArchRings MakeRings(const ArchRadii& radii) {
  ArchRings r;
  r.inner.CreateVcircle(build_circle(res, TruncatedInt(radii.inner)), 0.0f);
  r.outer.CreateVcircle(build_circle(res, TruncatedInt(radii.outer)), 0.0f);
  r.corners = res;
  if (Sym) {
    r.inner.AddSym(res);
    r.outer.AddSym(res);
    r.corners = res + 4;
  }
  return r;
}

// The half height: rad2 rounded up to a multiple of 16 in float arithmetic,
// or 1024 when the outer radius exceeds 1024. A half height beyond the range
// of int is held at its limit.
int ArchHalfHeight(const ArchRadii& radii) {
  if (radii.outer > 1024.0f) return 1024;
  return TruncatedInt(std::ceil(radii.halfHeight / 16.0f) * 16.0f);
}

void SetArchCounts(bgroup& g, int segments) {
  g.sections = 1;
  g.segments = segments;
  g.bcount = segments;
  g.surfaces = 2;
}

void SetFace(face& f, int pos, const TextureName& texture) {
  f.pos = pos;
  f.vcount = 4;
  f.texture = texture;
}

void SetBodyFace(face& f, int slot, bool wrapped, int segment) {
  f.texId = slot;
  f.wrapped = wrapped;
  f.segment = segment;
}

void SetQuad(face& f, const vertex& a, const vertex& b, const vertex& c, const vertex& d) {
  f.verts[0] = a;
  f.verts[1] = b;
  f.verts[2] = c;
  f.verts[3] = d;
}

// Segment brush i between the rays through corners i and n.
void MakeSegmentBrush(brush& b, const ArchRings& r, int i, int h) {
  const int n = (i == r.corners - 1) ? 0 : i + 1;
  b.section = 0;
  b.fcount = FacesPerBrush;
  face* const f = b.faces.get();

  SetFace(f[Floor], PosDown, BuildTexture(SlotFloor));
  SetFace(f[Ceiling], PosUp, BuildTexture(SlotFloor));
  SetFace(f[SideStart], PosLeft, BuildTexture(SlotNull));
  SetFace(f[SideEnd], PosRight, BuildTexture(SlotNull));
  SetFace(f[InnerWall], PosBack, BuildTexture(SlotInner));
  SetFace(f[OuterWall], PosFront, BuildTexture(SlotOuter));
  SetBodyFace(f[Floor], SlotFloor, false, i);
  SetBodyFace(f[Ceiling], SlotFloor, false, i);
  SetBodyFace(f[InnerWall], SlotInner, true, i);
  SetBodyFace(f[OuterWall], SlotOuter, true, i);

  SetQuad(f[Floor], r.inner.v[i], r.outer.v[i], r.outer.v[n], r.inner.v[n]);
  f[Floor].setz(static_cast<float>(-h));
  SetQuad(f[Ceiling], r.inner.v[i], r.outer.v[i], r.outer.v[n], r.inner.v[n]);
  f[Ceiling].setz(static_cast<float>(h));

  const vertex* const lo = f[Floor].verts.get();
  const vertex* const up = f[Ceiling].verts.get();
  SetQuad(f[SideStart], lo[0], lo[1], up[1], up[0]);
  SetQuad(f[SideEnd], lo[3], lo[2], up[2], up[3]);
  SetQuad(f[InnerWall], up[0], lo[0], lo[3], up[3]);
  SetQuad(f[OuterWall], up[1], lo[1], lo[2], up[2]);
}

// Face axes and origin-anchored shifts for the faces of a face-aligned slot,
// world axes for the others and for the radial sides. The vertical shift of
// the walls and sides is kept whole; the floor's and ceiling's is not.
void TextureArchFace(face& f, int number) {
  const int slot = f.texId;
  if (slot == SlotNull || !facealign[slot]) {
    AlignToWorld(f);
    return;
  }
  AlignToFace(f);
  if (slot != SlotFloor || !Shear[SlotFloor]) f.shiftX = GetBaseShift(f, hor);
  if (number == Floor || number == Ceiling) {
    f.shiftY = GetBaseShift(f, ver);
  } else {
    f.shiftY = std::round(GetBaseShift(f, ver));
  }
}

void TextureArchBrushes(bgroup& g) {
  for (int b = 0; b < g.bcount; ++b) {
    face* const f = g.brushes[b].faces.get();
    for (int k = 0; k < FacesPerBrush; ++k) TextureArchFace(f[k], k);
    // The inner wall is seen from the axis: its texture runs the other way.
    if (facealign[SlotInner]) f[InnerWall].FlipVecHor();
  }
}

bool AnySlot(const bool (&flags)[SlotCount]) {
  for (const bool flag : flags) {
    if (flag) return true;
  }
  return false;
}

// Without triangulation the floor, the side at the segment's end and the
// inner wall are turned to face outward.
void ReverseArchFaces(bgroup& g) {
  for (int b = 0; b < g.bcount; ++b) {
    face* const f = g.brushes[b].faces.get();
    f[Floor].RevOrder();
    f[SideEnd].RevOrder();
    f[InnerWall].RevOrder();
  }
}

// P keeps the part on the outer side of the diagonal from inner corner s to
// outer corner n; its side at the segment's end becomes the diagonal and its
// fifth face the outer wall.
void MakeOuterPrism(brush& p) {
  face* const f = p.faces.get();
  p.fcount = FacesPerPrism;
  f[Floor].vcount = 3;
  f[Ceiling].vcount = 3;
  f[SideEnd].verts[0] = f[Floor].verts[0];
  f[SideEnd].verts[3] = f[Ceiling].verts[0];
  f[InnerWall].CopyFace(f[OuterWall]);
  f[Floor].RevOrder();
  f[SideEnd].RevOrder();
}

// Q, a copy of the whole segment brush, keeps the part on the inner side of
// the diagonal; its side at the segment's start becomes the diagonal.
void MakeInnerPrism(brush& q) {
  face* const f = q.faces.get();
  q.fcount = FacesPerPrism;
  for (const int k : {Floor, Ceiling}) {
    f[k].vcount = 3;
    f[k].verts[1] = f[k].verts[2];
    f[k].verts[2] = f[k].verts[3];
  }
  f[SideStart].verts[1] = f[SideEnd].verts[1];
  f[SideStart].verts[2] = f[SideEnd].verts[2];
  f[Floor].RevOrder();
  f[SideEnd].RevOrder();
  f[InnerWall].RevOrder();
}

// Splits every segment brush into its two prisms and stores them one after
// the other: brush 2s the outer, brush 2s + 1 the inner prism of segment s.
void SplitIntoPrisms(bgroup& g) {
  const int n = g.bcount;
  for (int s = 0; s < n; ++s) {
    brush& p = g.brushes[s];
    brush& q = g.brushes[n + s];
    q.CopyBrush(p);
    MakeOuterPrism(p);
    MakeInnerPrism(q);
  }
  g.bcount = 2 * n;

  // Brushes made under the current capacities, those the group was made with.
  const auto order = std::make_unique<brush[]>(static_cast<size_t>(2 * n));
  for (int s = 0; s < n; ++s) {
    CopyBrush(g.brushes[s], order[2 * s]);
    CopyBrush(g.brushes[n + s], order[2 * s + 1]);
  }
  for (int b = 0; b < 2 * n; ++b) CopyBrush(order[b], g.brushes[b]);
}

}  // namespace

void build_arch() {
  UseSettingsTextureSizes();
  UseSettingsTextureNames();
  bgroup& g = *Group;
  const int segments = res + (Sym ? 4 : 0);
  SetArchCounts(g, segments);
  const ArchRadii radii = TakeRadii();
  const ArchRings rings = MakeRings(radii);
  const int h = ArchHalfHeight(radii);

  for (int i = 0; i < segments; ++i) MakeSegmentBrush(g.brushes[i], rings, i, h);
  TextureArchBrushes(g);
  if (AnySlot(facealign) && AnySlot(wrapping)) Texturize();
  if (Tri) {
    SplitIntoPrisms(g);
  } else {
    ReverseArchFaces(g);
  }
  CleanUp();
  FinishBuild();
}
