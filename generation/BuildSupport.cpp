#include "generation/BuildSupport.h"

#include <limits>

#include "generation/Circle.h"
#include "generation/Brush.h"
#include "generation/CleanUp.h"
#include "generation/ExportSelection.h"
#include "generation/TextureAxes.h"
#include "settings/Message.h"
#include "settings/Settings.h"

int TruncatedInt(float value) {
  if (value != value) return 0;
  if (value >= 2147483648.0f) return std::numeric_limits<int>::max();
  if (value <= -2147483648.0f) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

namespace {

// Twice the signed area of the triangle of the profile corners a, b, c. For
// whole radii and float heights of any usable size the differences and
// products are exact in double, so the sign is exact.
double Turn(const double* r, const double* z, int a, int b, int c) {
  return (r[b] - r[a]) * (z[c] - z[b]) - (z[b] - z[a]) * (r[c] - r[b]);
}

}  // namespace

void ConvexSources(const double* r, const double* z, int n, int first, int last, int* source) {
  for (int i = 0; i < n; ++i) source[i] = i;
  double area = 0.0;
  for (int i = 0; i < n; ++i) {
    const int j = (i + 1) % n;
    area += r[i] * z[j] - r[j] * z[i];
  }
  const int orientation = (area > 0.0) - (area < 0.0);
  if (orientation == 0) return;  // a profile without area: nothing to keep apart
  int prev[CircleCapacity];
  int next[CircleCapacity];
  bool kept[CircleCapacity];
  for (int i = 0; i < n; ++i) {
    prev[i] = (i + n - 1) % n;
    next[i] = (i + 1) % n;
    kept[i] = true;
  }
  int count = n;
  for (bool changed = true; changed && count > 3;) {
    changed = false;
    for (int i = first; i <= last && count > 3; ++i) {
      if (!kept[i] || Turn(r, z, prev[i], i, next[i]) * orientation > 0.0) continue;
      kept[i] = false;
      next[prev[i]] = next[i];
      prev[next[i]] = prev[i];
      --count;
      changed = true;
    }
  }
  for (int i = 0; i < n; ++i) {
    int j = i;
    while (!kept[j]) j = (j + n - 1) % n;
    source[i] = j;
  }
}


int TubeHRangeFace(int method, int n, int face) {
  switch (method) {
    case HRangeOuter: face = static_cast<int>(n * 0.25 - 1); break;
    case HRangeLower: face = static_cast<int>(n * 0.5 - 1); break;
    case HRangeInner: face = static_cast<int>(n * 0.75 - 1); break;
    case HRangeUpper: face = n - 1; break;
    default: break;
  }
  if (face >= n) face = n - 1;
  if (face < 0) face = 0;
  return face;
}

const circle& CircleCache::Get(int res, int rad) {
  const std::pair<int, int> key(res, rad);
  const auto found = circles_.find(key);
  if (found != circles_.end()) return found->second;
  return circles_.emplace(key, build_circle(res, rad)).first->second;
}

bool AlignFaceOfSlot(face& f) {
  const int slot = f.texId;
  if (slot == SlotNull || !facealign[slot] || f.texture == texn) {
    AlignToWorld(f);
    return false;
  }
  AlignToFace(f);
  return true;
}

void ReverseStartFacesAndCleanUp(bgroup& group) {
  for (int j = 0; j < group.bcount; ++j) {
    group.brushes[j].faces[0].RevOrder();
    CleanUpBrush(group.brushes[j]);
  }
}

void FinishBuild() {
  GetPattern();
  SetMessage(MsgGenerated);
  firstrun = false;
}
