#include "generation/Scale.h"

#include <algorithm>
#include <limits>

#include "generation/Brush.h"
#include "settings/Message.h"
#include "settings/Settings.h"

namespace {

// value × factor, held at the largest float when the product would exceed
// it: a texture scale near the float limit (a template or the custom scale
// prompt can give one) must not become infinite when the model is enlarged.
// The product of two floats is exact in double, so below the limit this is
// the plain float product.
float Times(float value, float factor) {
  const double product = static_cast<double>(value) * factor;
  const double limit = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(product, -limit, limit));
}

bool ScalesCoordinates(attr a) { return a == all || a == coords || a == coordX || a == coordY || a == coordZ; }

void ScaleFace(face& f, float factor, attr a) {
  if (ScalesCoordinates(a)) {
    const bool x = a == all || a == coords || a == coordX;
    const bool y = a == all || a == coords || a == coordY;
    const bool z = a == all || a == coords || a == coordZ;
    for (int i = 0; i < f.vcount; ++i) {
      if (x) f.verts[i].x = Times(f.verts[i].x, factor);
      if (y) f.verts[i].y = Times(f.verts[i].y, factor);
      if (z) f.verts[i].z = Times(f.verts[i].z, factor);
    }
  }
  if (a == all || a == texScale || a == texScaleX) f.scaleX = Times(f.scaleX, factor);
  if (a == all || a == texScale || a == texScaleY) f.scaleY = Times(f.scaleY, factor);
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
