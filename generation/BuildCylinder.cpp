// The cylinder: one upright brush around the z axis whose side faces are the
// edges of the circle polygon and whose caps are the polygon at -h and +h.
#include <cmath>

#include "generation/BaseShift.h"
#include "generation/Brush.h"
#include "generation/BuildSupport.h"
#include "generation/Builders.h"
#include "generation/Circle.h"
#include "generation/TextureAxes.h"
#include "generation/Texturize.h"
#include "settings/Message.h"
#include "settings/Settings.h"

namespace {

// Face numbers within the cylinder's one brush; the side faces follow.
constexpr int BottomCap = 0;
constexpr int TopCap = 1;
constexpr int FirstSide = 2;

// The half height: the radius rounded up to a multiple of 16 in float
// arithmetic, at most 1024.
int CylinderHalfHeight(float radius) {
  if (radius > 1024.0f) return 1024;
  return static_cast<int>(std::ceil(radius / 16.0f) * 16.0f);
}

void SetCylinderCounts(bgroup& g) {
  g.sections = 1;
  g.segments = res;
  g.bcount = 1;
  g.surfaces = 1;
  g.brushes[0].fcount = res + 2;
  g.brushes[0].section = 0;
}

// The bottom cap in the polygon's order (clockwise seen from +z); it is
// reversed once the texture work is done.
void MakeBottomCap(face& cap, const circle& c, int h) {
  cap.pos = PosDown;
  cap.vcount = res;
  cap.vecHor.x = 1.0f;
  cap.vecVer.y = -1.0f;
  cap.setz(static_cast<float>(-h));
  cap.texture = BuildTexture(SlotNull);
  for (int i = 0; i < res; ++i) {
    cap.verts[i].x = c.x[i];
    cap.verts[i].y = c.y[i];
  }
}

// The top cap is the bottom cap lifted to +h (assignment copies deeply).
void MakeTopCap(face& cap, const face& bottom, int h) {
  cap = bottom;
  cap.pos = PosUp;
  cap.setz(static_cast<float>(h));
}

// Side face i: top i, bottom i, bottom n, top n, n being the next corner.
void MakeSideFaces(brush& b) {
  const face& bottom = b.faces[BottomCap];
  const face& top = b.faces[TopCap];
  for (int i = 0; i < res; ++i) {
    const int n = (i == res - 1) ? 0 : i + 1;
    face& f = b.faces[FirstSide + i];
    f.pos = PosFront;
    f.texture = BuildTexture(SlotOuter);
    f.texId = SlotOuter;
    f.vcount = 4;
    f.wrapped = true;
    f.segment = i;
    f.scaleX = G_ScaleX[SlotOuter];
    f.scaleY = G_ScaleY[SlotOuter];
    f.verts[0] = top.verts[i];
    f.verts[1] = bottom.verts[i];
    f.verts[2] = bottom.verts[n];
    f.verts[3] = top.verts[n];
  }
}

// World axes for a world-aligned slot and for the hidden texture; face axes
// with the horizontal shift anchored at the origin otherwise. The caps keep
// the world axes they were made with.
void TextureSideFaces(brush& b) {
  for (int i = 0; i < res; ++i) {
    face& f = b.faces[FirstSide + i];
    if (!facealign[SlotOuter] || f.texture == texn) {
      AlignToWorld(f);
    } else {
      AlignToFace(f);
      f.shiftX = GetBaseShift(f, hor);
    }
  }
}

}  // namespace

void build_cylinder() {
  UseSettingsTextureSizes();
  UseSettingsTextureNames();
  bgroup& g = *Group;
  SetCylinderCounts(g);
  brush& b = g.brushes[0];

  // A radius is a length. A negative one would give the same polygon turned
  // half a turn, but a negative half height that puts the top cap below the
  // bottom one and turns the brush inside out: it builds the cylinder of its
  // magnitude.
  const float radius = std::fabs(rad);
  const circle c = build_circle(res, TruncatedInt(radius));
  const int h = CylinderHalfHeight(radius);

  MakeBottomCap(b.faces[BottomCap], c, h);
  MakeTopCap(b.faces[TopCap], b.faces[BottomCap], h);
  MakeSideFaces(b);
  TextureSideFaces(b);
  if (facealign[SlotOuter] && wrapping[SlotOuter]) Texturize();
  // Both caps were made in the same order; the bottom one must face down.
  b.faces[BottomCap].RevOrder();

  // The menus offer no export rules for the cylinder: a selection left by an
  // earlier build of another shape must not leave part of it out of the file.
  D_list.reset();
  D_listSize = 0;

  SetMessage(MsgGenerated);
  firstrun = false;
}
