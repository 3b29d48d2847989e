// The hollow torus: a torus whose tube has a concentric tube-shaped hollow.
// The solid between the two is cut into cells, sections around the z axis
// and segments around the tube; every cell is a brush of six four-sided
// faces: inner wall, outer wall, two cell ends and two sides.
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

// Face order within a cell.
enum { FaceInner = 0, FaceOuter = 1, FaceStart = 2, FaceEnd = 3, FaceSideK = 4, FaceSideNext = 5 };

// The rings of the two surfaces: outer ring i at rings[i], inner ring i at
// rings[P + i], each through corner i of its cross-section; the outer and the
// inner cross-section follow at 2P and 2P + 1. One allocation per build.
struct HTorusRings {
  std::unique_ptr<Vcircle[]> rings;
  int P = 0;

  const vertex& O(int i, int s) const { return rings[i].v[s]; }
  const vertex& I(int i, int s) const { return rings[P + i].v[s]; }
};

// The radius of the ring through a cross-section corner: the corner's
// distance from the z axis truncated to a whole number (so that the ring lies
// on the grid of its polygon). A surface that reaches past the axis is held
// at it: a negative radius would turn the ring half a turn and the cells
// through it inside out.
int RingRadius(float centre, float offset) {
  const int radius = TruncatedInt(centre + offset);
  return radius > 0 ? radius : 0;
}

// The tube's cross-section has the radius t, the hollow's the radius h, both
// around the tube's centre line at the distance centre from the z axis. Ring
// i runs through corner i of its cross-section. Where truncating the ring
// radii would make a cell concave or put two of its faces in one plane (a
// wall that is thin against the resolution), the rings of a corner pair take
// those of the pair before it: that cell has no area and the next one spans
// both (see CellSources). A profile whose cells are sound stays unchanged.
HTorusRings BuildRings(int P, float centre, float t, float h) {
  HTorusRings r;
  r.P = P;
  r.rings = std::make_unique<Vcircle[]>(static_cast<size_t>(2 * P + 2));
  Vcircle& outerSection = r.rings[2 * P];
  Vcircle& innerSection = r.rings[2 * P + 1];
  CircleCache circles;  // rings of one radius share their circle
  outerSection.CreateVcircle(circles.Get(res, TruncatedInt(t)), 0.0f);
  innerSection.CreateVcircle(circles.Get(res, TruncatedInt(h)), 0.0f);
  if (Sym) {
    outerSection.AddSym(res);
    innerSection.AddSym(res);
  }
  int outerRadius[CircleCapacity];
  int innerRadius[CircleCapacity];
  double outerR[CircleCapacity], outerZ[CircleCapacity];
  double innerR[CircleCapacity], innerZ[CircleCapacity];
  for (int i = 0; i < P; ++i) {
    outerRadius[i] = RingRadius(centre, outerSection.v[i].x);
    innerRadius[i] = RingRadius(centre, innerSection.v[i].x);
    outerR[i] = outerRadius[i];
    innerR[i] = innerRadius[i];
    outerZ[i] = outerSection.v[i].y;
    innerZ[i] = innerSection.v[i].y;
  }
  int source[CircleCapacity];
  CellSources(innerR, innerZ, outerR, outerZ, P, source);
  for (int i = 0; i < P; ++i) {
    const int s = source[i];
    r.rings[i].CreateVcircle(circles.Get(res2, outerRadius[s]), outerSection.v[s].y);
    r.rings[P + i].CreateVcircle(circles.Get(res2, innerRadius[s]), innerSection.v[s].y);
  }
  if (Sym) {
    for (int i = 0; i < P; ++i) {
      r.rings[i].AddSym(res2);
      r.rings[P + i].AddSym(res2);
    }
  }
  return r;
}

void SetQuad(face& f, const vertex& a, const vertex& b, const vertex& c, const vertex& d) {
  f.verts[0] = a;
  f.verts[1] = b;
  f.verts[2] = c;
  f.verts[3] = d;
}

// The cell of section s and segment k, between the section boundaries s and
// sn and the cross-section corners k and kn.
void FillCell(brush& b, int s, int sn, int k, int kn, const HTorusRings& r) {
  b.section = s;
  face* f = b.faces.get();
  for (int i = FaceInner; i <= FaceEnd; ++i) f[i].segment = k;

  f[FaceInner].texture = BuildTexture(SlotInner);
  f[FaceInner].texId = SlotInner;
  f[FaceInner].pos = PosBack;
  f[FaceOuter].texture = BuildTexture(SlotOuter);
  f[FaceOuter].texId = SlotOuter;
  f[FaceOuter].pos = PosFront;
  f[FaceStart].texture = f[FaceEnd].texture = BuildTexture(SlotFloor);
  f[FaceStart].texId = f[FaceEnd].texId = SlotFloor;
  f[FaceStart].pos = PosDown;
  f[FaceEnd].pos = PosUp;
  f[FaceSideK].texture = f[FaceSideNext].texture = BuildTexture(SlotNull);
  f[FaceSideK].pos = PosLeft;
  f[FaceSideNext].pos = PosRight;

  f[FaceInner].wrapped = f[FaceOuter].wrapped = true;
  f[FaceInner].hFace = (k == G_HFace[SlotInner]);
  f[FaceOuter].hFace = (k == G_HFace[SlotOuter]);

  SetQuad(f[FaceInner], r.I(k, s), r.I(kn, s), r.I(kn, sn), r.I(k, sn));
  SetQuad(f[FaceOuter], r.O(k, s), r.O(kn, s), r.O(kn, sn), r.O(k, sn));
  const vertex* A = f[FaceInner].verts.get();
  const vertex* B = f[FaceOuter].verts.get();
  SetQuad(f[FaceStart], A[0], B[0], B[1], A[1]);
  SetQuad(f[FaceEnd], A[2], B[2], B[3], A[3]);
  SetQuad(f[FaceSideK], A[0], B[0], B[3], A[3]);
  SetQuad(f[FaceSideNext], A[2], B[2], B[1], A[1]);
}

// Base shifts of a face-aligned wall. Its axes are turned a quarter, so the
// vertical base shift goes into shiftX and the horizontal one into shiftY.
void ShiftWall(face& f, int slot) {
  if (wrapping[slot]) f.shiftX = -GetBaseShift(f, ver);
  if (Shear[slot]) {
    f.shiftY = -GetBaseShift(f, hor);
  } else if (Hwrapping[slot] && f.hFace) {
    f.shiftY = GetBaseShift(f, hor);
  }
}

// Base shifts of a face-aligned cell end.
void ShiftCellEnd(face& f) {
  if (wrapping[SlotFloor]) f.shiftX = GetBaseShift(f, hor);
  if (Hwrapping[SlotFloor]) f.shiftY = GetBaseShift(f, ver);
}

void TextureFace(face& f) {
  if (!AlignFaceOfSlot(f)) return;
  const int slot = f.texId;
  if (slot == SlotFloor) {
    ShiftCellEnd(f);
  } else {
    ShiftWall(f, slot);
  }
}

bool AnyOf(const bool (&flags)[SlotCount]) { return flags[0] || flags[1] || flags[2]; }

// The inner wall and the cell ends were listed in the order of the outer
// wall; reverse them to face out of the cell. Face-aligned inner walls and
// start ends have their axes turned as well.
void ReverseAndFlip(brush& b) {
  face& inner = b.faces[FaceInner];
  face& start = b.faces[FaceStart];
  inner.RevOrder();
  start.RevOrder();
  b.faces[FaceEnd].RevOrder();
  if (facealign[SlotInner]) {
    inner.FlipVecHor();
    inner.shiftX = -inner.shiftX;
  }
  if (facealign[SlotFloor] && Shear[SlotFloor]) start.shiftX = -start.shiftX;
  if (facealign[SlotFloor] && !Shear[SlotFloor]) {
    start.FlipVecHor();
    start.FlipVecVer();
  }
}

}  // namespace

void build_htorus() {
  UseSettingsTextureSizes();
  UseSettingsTextureNames();
  const int e = Sym ? 4 : 0;
  const int P = res + e;   // segments around the tube
  const int Q = res2 + e;  // sections around the z axis
  bgroup& group = *Group;
  group.bcount = P * Q;
  group.sections = Q;
  group.segments = P;
  group.surfaces = 2;

  // Radii are lengths: negative ones count by their magnitude. Taken as given,
  // they would put the tube's centre on the far side of the axis, where its
  // rings turn half a turn and the cells come out inside out or cross it.
  const float inner = std::fabs(rad);
  float t = static_cast<float>((static_cast<double>(std::fabs(rad3)) - inner) / 2.0);
  float h = static_cast<float>((static_cast<double>(std::fabs(rad2)) - inner) - t);
  const float centre = inner + t;
  // Radii out of order: a tube whose outer edge lies inside its inner edge has
  // a negative t, and its cross-section turns half a turn; the hollow's must
  // turn with it, or every cell would cross the tube's centre. A hollow edge
  // before the tube's centre gives a negative h for the same hollow.
  if (h != 0.0f && (h < 0.0f) != (t < 0.0f)) h = -h;
  // A hollow wider than the tube: the cells lie between the same two surfaces,
  // the wider one outside, or they would come out inside out.
  if (std::fabs(h) > std::fabs(t)) std::swap(t, h);
  G_HFace[SlotOuter] = TubeHRangeFace(G_HFMethod[SlotOuter], P, G_HFace[SlotOuter]);
  G_HFace[SlotInner] = TubeHRangeFace(G_HFMethod[SlotInner], P, G_HFace[SlotInner]);

  HTorusRings rings = BuildRings(P, centre, t, h);

  // Each cell is filled and textured in one go, and later reversed and
  // cleaned up in one go: the steps depend on nothing but the cell itself, and
  // one pass over the group instead of two keeps it in the cache.
  for (int s = 0; s < Q; ++s) {
    const int sn = (s + 1 < Q) ? s + 1 : 0;
    for (int k = 0; k < P; ++k) {
      const int kn = (k + 1 < P) ? k + 1 : 0;
      brush& cell = group.brushes[s * P + k];
      cell.fcount = 6;
      for (int i = 0; i < cell.fcount; ++i) cell.faces[i].vcount = 4;
      FillCell(cell, s, sn, k, kn, rings);
      for (int i = 0; i < cell.fcount; ++i) TextureFace(cell.faces[i]);
    }
  }
  rings.rings.reset();

  if (AnyOf(facealign) && AnyOf(wrapping)) Texturize();

  for (int b = 0; b < group.bcount; ++b) {
    ReverseAndFlip(group.brushes[b]);
    CleanUpBrush(group.brushes[b]);
  }
  FinishBuild();
}
