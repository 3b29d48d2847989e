#include "generation/Scale.h"

#include "generation/Brush.h"
#include "settings/Message.h"
#include "settings/Settings.h"

namespace {

bool ScalesCoordinates(attr a) { return a == all || a == coords || a == coordX || a == coordY || a == coordZ; }

void ScaleFace(face& f, float factor, attr a) {
  if (ScalesCoordinates(a)) {
    const bool x = a == all || a == coords || a == coordX;
    const bool y = a == all || a == coords || a == coordY;
    const bool z = a == all || a == coords || a == coordZ;
    for (int i = 0; i < f.vcount; ++i) {
      if (x) f.verts[i].x = f.verts[i].x * factor;
      if (y) f.verts[i].y = f.verts[i].y * factor;
      if (z) f.verts[i].z = f.verts[i].z * factor;
    }
  }
  if (a == all || a == texScale || a == texScaleX) f.scaleX = f.scaleX * factor;
  if (a == all || a == texScale || a == texScaleY) f.scaleY = f.scaleY * factor;
}

}  // namespace

void Scale(float f, attr a) {
  if (Group) {
    for (int b = 0; b < Group->bcount; ++b) {
      brush& br = Group->brushes[b];
      for (int j = 0; j < br.fcount; ++j) ScaleFace(br.faces[j], f, a);
    }
  }
  SetMessage(MsgTransformed);
}
