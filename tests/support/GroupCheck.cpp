#include "support/GroupCheck.h"

#include <cmath>

#include "generation/Brush.h"
#include "settings/Settings.h"

namespace {

bool Finite(const vector& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
bool Finite(const vertex& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool FaceIsFinite(const face& f) {
  if (!Finite(f.vecHor) || !Finite(f.vecVer)) return false;
  for (const float v : {f.shiftX, f.shiftY, f.rot, f.scaleX, f.scaleY})
    if (!std::isfinite(v)) return false;
  for (int k = 0; k < f.vcount && k < f.vmax; ++k)
    if (!Finite(f.verts[k])) return false;
  return true;
}

}  // namespace

bool GroupIsFinite(std::string* where) {
  if (!Group) return true;
  for (int b = 0; b < Group->bcount && b < Group->bmax; ++b) {
    const brush& br = Group->brushes[b];
    for (int j = 0; j < br.fcount && j < br.fmax; ++j) {
      const face& f = br.faces[j];
      if (FaceIsFinite(f)) continue;
      if (where) {
        *where = "brush " + std::to_string(b) + " face " + std::to_string(j) + ": shifts " + std::to_string(f.shiftX) +
                 " " + std::to_string(f.shiftY) + ", scales " + std::to_string(f.scaleX) + " " +
                 std::to_string(f.scaleY);
      }
      return false;
    }
  }
  return true;
}
