// The torus: one brush per section around the z axis, a closed prism whose
// caps are the tube's cross-section at the section's ends and whose wall
// faces are the tube's surface, one per segment of the cross-section.
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

// Ring k runs around the z axis through cross-section corner k: its radius is
// the corner's distance from the axis truncated to a whole number (so that the
// ring lies on the grid of its polygon), its height the corner's height. Where
// the cross-section is finely divided and nearly flat (high resolutions), the
// truncation bends the tube's profile inward at some corners or lines up three
// of them, which would make the brushes concave or give them two walls in one
// plane. Such a corner takes the ring of the corner before it instead: the
// wall between them has no area, and the profile is the convex outline of the
// truncated corners. A profile that is convex as it is stays unchanged.
void BuildRings(Vcircle* rings, float inner, float t) {
  auto section = std::make_unique<Vcircle>();
  section->CreateVcircle(build_circle(res, TruncatedInt(t)), 0.0f);
  int radius[CircleCapacity];
  double profileR[CircleCapacity];
  double profileZ[CircleCapacity];
  for (int k = 0; k < res; ++k) {
    const vertex& corner = section->v[k];
    radius[k] = TruncatedInt(inner + t + corner.x);
    profileR[k] = radius[k];
    profileZ[k] = corner.y;
  }
  int source[CircleCapacity];
  ConvexSources(profileR, profileZ, res, 0, res - 1, source);
  CircleCache circles;  // rings of one radius share their circle
  for (int k = 0; k < res; ++k) {
    const int s = source[k];
    rings[k].CreateVcircle(circles.Get(res2, radius[s]), section->v[s].y);
  }
  if (Sym)
    for (int k = 0; k < res; ++k) rings[k].AddSym(res2);
}

// Brush j lies between the section boundaries j and n (the next one, 0 after
// the last): two caps of the cross-section and a wall face per segment.
void FillBrush(brush& b, int j, int n, const Vcircle* rings) {
  b.fcount = res + 2;
  b.section = j;
  face& start = b.faces[0];
  face& end = b.faces[1];
  start.vcount = end.vcount = res;
  start.pos = PosDown;
  end.pos = PosUp;
  start.texture = end.texture = BuildTexture(SlotNull);
  for (int k = 0; k < res; ++k) {
    start.verts[k] = rings[k].v[j];
    end.verts[k] = rings[k].v[n];
  }
  for (int k = 0; k < res; ++k) {
    const int m = (k + 1 < res) ? k + 1 : 0;
    face& wall = b.faces[k + 2];
    wall.vcount = 4;
    wall.pos = PosFront;
    wall.texture = BuildTexture(SlotOuter);
    wall.texId = SlotOuter;
    wall.wrapped = true;
    wall.hFace = (k == G_HFace[SlotOuter]);
    wall.segment = k;
    wall.verts[0] = start.verts[k];
    wall.verts[1] = start.verts[m];
    wall.verts[2] = end.verts[m];
    wall.verts[3] = end.verts[k];
  }
}

// Texture axes and base shifts of one face. The wall axes are turned a
// quarter, so the vertical base shift goes into shiftX and the horizontal one
// into shiftY.
void TextureFace(face& f) {
  if (f.texId == SlotNull || !facealign[SlotOuter] || f.texture == texn) {
    AlignToWorld(f);
    return;
  }
  AlignToFace(f);
  if (wrapping[SlotOuter]) f.shiftX = -GetBaseShift(f, ver);
  if (Hwrapping[SlotOuter] && f.hFace && !Shear[f.texId]) {
    f.shiftY = GetBaseShift(f, hor);
  } else if (Hwrapping[SlotOuter] && Shear[f.texId]) {
    f.shiftY = -GetBaseShift(f, hor);
  }
}

}  // namespace

void build_torus() {
  UseSettingsTextureSizes();
  UseSettingsTextureNames();
  const int e = Sym ? 4 : 0;
  bgroup& group = *Group;
  group.bcount = res2 + e;
  group.sections = res2 + e;
  group.segments = res;
  group.surfaces = 1;

  // Radii are lengths: negative ones count by their magnitude. Taken as given,
  // they would put the tube's centre on the far side of the axis, where its
  // rings turn half a turn and the brushes come out inside out or cross the
  // axis. An inner radius beyond the outer one is fine: t is then negative.
  const float inner = std::fabs(rad);
  const float t = static_cast<float>((static_cast<double>(std::fabs(rad3)) - inner) / 2.0);
  G_HFace[SlotOuter] = TubeHRangeFace(G_HFMethod[SlotOuter], res, G_HFace[SlotOuter]);

  auto rings = std::make_unique<Vcircle[]>(static_cast<size_t>(res));
  BuildRings(rings.get(), inner, t);

  // Each brush is filled and textured in one go, and later reversed and
  // cleaned up in one go: the steps depend on nothing but the brush itself,
  // and one pass over the group instead of two keeps it in the cache.
  for (int j = 0; j < group.bcount; ++j) {
    const int n = (j + 1 < group.bcount) ? j + 1 : 0;
    brush& b = group.brushes[j];
    FillBrush(b, j, n, rings.get());
    for (int i = 0; i < b.fcount; ++i) TextureFace(b.faces[i]);
  }
  rings.reset();

  if (facealign[SlotOuter] && (wrapping[SlotOuter] || Hwrapping[SlotOuter])) Texturize();

  // The start caps were listed in the order of the end caps, which face the
  // other way: reverse them so that both run clockwise seen from outside.
  ReverseStartFacesAndCleanUp(group);
  FinishBuild();
}
