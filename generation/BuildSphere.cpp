// The sphere: one wedge brush per section around the z axis, from pole to
// pole, with two flat meridian faces and one surface face per latitude band;
// the bands at the poles are triangles that make flat caps.
#include <cmath>
#include <memory>

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

// The surface face of slot 0 whose extent and shift are the reference for
// horizontal wrapping. The fractions are taken of res; a number that names no
// band (below 0 or past the bottom triangle H) falls back to the equator.
void SetSphereHFace(int H) {
  int& hface = G_HFace[SlotOuter];
  switch (G_HFMethod[SlotOuter]) {
    case HRangeOuter: hface = static_cast<int>(res * 0.25); break;
    case HRangeLower: hface = static_cast<int>(res * 0.75); break;
    case HRangeInner: hface = static_cast<int>(res * 0.125); break;
    case HRangeUpper: hface = static_cast<int>(res * 0.25); break;
    default: break;  // custom: the number the user or the template gave
  }
  if (hface < 0 || hface > H) hface = static_cast<int>(res * 0.25);
}

// Heights of the two poles and the rings of the sphere.
struct SphereRings {
  std::unique_ptr<Vcircle[]> rings;
  float top = 0.0f;
  float bottom = 0.0f;
};

// Ring i is the parallel through meridian corner i (the corners with x > 0,
// from the top down): its radius is the corner's x truncated to a whole
// number (so that the ring lies on the grid of its polygon), its height the
// corner's y. Where the meridian is finely divided (high resolutions) the
// truncation bends the profile inward at some corners or lines up three of
// them, which would make the wedges concave or give them two bands in one
// plane. Such a ring takes the place of the ring before it instead (or of the
// pole): the band between them has no area, and the profile is the convex
// outline of the truncated corners. A profile that is convex as it is stays
// unchanged.
SphereRings BuildRings(int H) {
  // A radius is a length. A negative one would turn the meridian half a turn,
  // which mirrors the sphere through its centre and turns every wedge inside
  // out: it builds the sphere of its magnitude.
  const circle meridian = build_circle(res, TruncatedInt(std::fabs(rad)));
  // The profile: the top pole, the rings from the top down, the bottom pole.
  int radius[CircleCapacity];
  double profileR[CircleCapacity];
  double profileZ[CircleCapacity];
  radius[0] = radius[H + 1] = 0;
  for (int i = 0; i < H; ++i) radius[i + 1] = TruncatedInt(meridian.x[i]);
  for (int i = 0; i < H + 2; ++i) profileR[i] = radius[i];
  profileZ[0] = meridian.y[0];
  for (int i = 0; i < H; ++i) profileZ[i + 1] = meridian.y[i];
  profileZ[H + 1] = meridian.y[H - 1];
  int source[CircleCapacity];
  ConvexSources(profileR, profileZ, H + 2, 1, H, source);

  SphereRings r;
  r.top = meridian.y[0];
  r.bottom = meridian.y[H - 1];
  r.rings = std::make_unique<Vcircle[]>(static_cast<size_t>(H));
  CircleCache circles;  // rings of one radius share their circle
  for (int i = 0; i < H; ++i) {
    const int s = source[i + 1];
    r.rings[i].CreateVcircle(circles.Get(res, radius[s]), static_cast<float>(profileZ[s]));
  }
  return r;
}

// A meridian face at ring vertex j: the top pole, the ring vertices j from the
// top down, the bottom pole.
void FillMeridian(face& f, int j, const SphereRings& r, int H) {
  f.vcount = H + 2;
  f.verts[0] = vertex{0.0f, 0.0f, r.top};
  for (int i = 0; i < H; ++i) f.verts[i + 1] = r.rings[i].v[j];
  f.verts[H + 1] = vertex{0.0f, 0.0f, r.bottom};
}

// Surface face k between the meridian faces A and B: the top triangle (k = 0),
// the bands (1 .. H - 1) and the bottom triangle (k = H).
void FillSurface(face& f, int k, const face& A, const face& B, int H) {
  f.segment = k;
  f.wrapped = true;
  f.hFace = (k == G_HFace[SlotOuter]);
  if (k == 0) {
    f.vcount = 3;
    f.verts[0] = A.verts[0];
    f.verts[1] = A.verts[1];
    f.verts[2] = B.verts[1];
  } else if (k == H) {
    f.vcount = 3;
    f.verts[0] = A.verts[H];
    f.verts[1] = A.verts[H + 1];
    f.verts[2] = B.verts[H];
  } else {
    f.vcount = 4;
    f.verts[0] = A.verts[k];
    f.verts[1] = A.verts[k + 1];
    f.verts[2] = B.verts[k + 1];
    f.verts[3] = B.verts[k];
  }
}

// Brush j is the wedge between ring vertices j and j + 1; the last one ends at
// the rings' closing entry, which equals vertex 0. The meridian faces keep the
// constructor's texture "NULL" and slot.
void FillBrush(brush& b, int j, const SphereRings& rings, int H) {
  b.fcount = H + 3;
  b.section = j;
  FillMeridian(b.faces[0], j, rings, H);
  FillMeridian(b.faces[1], j + 1, rings, H);
  for (int k = 0; k <= H; ++k) FillSurface(b.faces[k + 2], k, b.faces[0], b.faces[1], H);
  for (int k = 0; k <= H; ++k) {
    b.faces[k + 2].texture = BuildTexture(SlotOuter);
    b.faces[k + 2].texId = SlotOuter;
  }
}

// Texture axes and base shifts of one face. The surface axes are turned a
// quarter, so the vertical base shift goes into shiftX and the horizontal one
// into shiftY. Without shear only the H-range source face takes the
// horizontal one; with shear every surface face does, unnegated (the
// post-pass settles its sign).
void TextureFace(face& f) {
  if (!AlignFaceOfSlot(f)) return;
  const int slot = f.texId;
  if (wrapping[SlotOuter]) f.shiftX = -GetBaseShift(f, ver);
  if (Hwrapping[SlotOuter] && (f.hFace || Shear[slot])) f.shiftY = GetBaseShift(f, hor);
}

}  // namespace

void build_sphere() {
  UseSettingsTextureSizes();
  UseSettingsTextureNames();
  const int H = res / 2;
  bgroup& group = *Group;
  group.bcount = res;
  group.sections = res;
  group.segments = H + 1;
  group.surfaces = 1;

  SetSphereHFace(H);

  SphereRings rings = BuildRings(H);
  // Each wedge is filled and textured in one go, and later reversed and
  // cleaned up in one go: the steps depend on nothing but the wedge itself,
  // and one pass over the group instead of two keeps it in the cache.
  for (int j = 0; j < group.bcount; ++j) {
    brush& b = group.brushes[j];
    FillBrush(b, j, rings, H);
    for (int i = 0; i < b.fcount; ++i) TextureFace(b.faces[i]);
  }
  rings.rings.reset();

  if (facealign[SlotOuter] && wrapping[SlotOuter]) Texturize();

  // The start meridian faces were listed in the order of the end ones, which
  // face the other way: reverse them so that both run clockwise seen from
  // outside.
  ReverseStartFacesAndCleanUp(group);
  FinishBuild();
}
