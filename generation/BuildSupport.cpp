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

// A corner of a profile in the (radius, height) half plane.
struct Corner {
  double r, z;
};

bool operator==(const Corner& a, const Corner& b) { return a.r == b.r && a.z == b.z; }

// Twice the signed area of the triangle of the profile corners a, b, c. For
// whole radii and float heights of any usable size the differences and
// products are exact in double, so the sign is exact.
double Turn(const Corner& a, const Corner& b, const Corner& c) {
  return (b.r - a.r) * (c.z - b.z) - (b.z - a.z) * (c.r - b.r);
}

double Turn(const double* r, const double* z, int a, int b, int c) {
  return Turn(Corner{r[a], z[a]}, Corner{r[b], z[b]}, Corner{r[c], z[c]});
}

// The sign of the area of the closed polygon (r[i], z[i]): 1, -1 or 0.
int Orientation(const double* r, const double* z, int n) {
  double area = 0.0;
  for (int i = 0; i < n; ++i) {
    const int j = (i + 1) % n;
    area += r[i] * z[j] - r[j] * z[i];
  }
  return (area > 0.0) - (area < 0.0);
}

// Where a cell is unsound: bit 1 at a corner of its first side, bit 2 at a
// corner of its second side; 0 for a sound cell. Its corners run inner a,
// inner b, outer b, outer a, and turn the way of `orientation` in a sound
// cell. Each edge of this profile gives a face of the cell, which has no area
// when the edge has no length or lies on the axis (radius 0). So corners that
// coincide count as one, and a corner between two edges on the axis counts
// for none. A cell of two corners or fewer, or of three on one line, then has
// at most three faces with area and is not written (it has no volume). Any
// other cell must turn strictly the right way at every corner: a straight or
// a wrong turn makes it concave, crossed, flat or gives it two faces in one
// plane.
int CellFault(const Corner (&corner)[4], int orientation) {
  static const int kSide[4] = {1, 2, 2, 1};  // the side that each corner lies on
  Corner distinct[4];
  int sides[4] = {};
  int m = 0;
  for (int i = 0; i < 4; ++i) {
    if (m > 0 && corner[i] == distinct[m - 1]) {
      sides[m - 1] |= kSide[i];
      continue;
    }
    distinct[m] = corner[i];
    sides[m++] = kSide[i];
  }
  if (m > 1 && distinct[m - 1] == distinct[0]) sides[0] |= sides[--m];
  for (int i = 0; i < m && m > 2;) {
    const int before = (i + m - 1) % m;
    const int after = (i + 1) % m;
    if (distinct[before].r != 0.0 || distinct[i].r != 0.0 || distinct[after].r != 0.0) {
      ++i;
      continue;
    }
    for (int j = i; j + 1 < m; ++j) {
      distinct[j] = distinct[j + 1];
      sides[j] = sides[j + 1];
    }
    --m;
    i = 0;
  }
  if (m <= 2) return 0;
  int fault = 0;
  bool straight = true;  // all corners on one line
  for (int i = 0; i < m; ++i) {
    const Corner& before = distinct[(i + m - 1) % m];
    const Corner& after = distinct[(i + 1) % m];
    const double turn = Turn(before, distinct[i], after) * orientation;
    if (turn != 0.0) straight = false;
    if (turn <= 0.0) fault |= sides[i];
  }
  // Three corners on one line: no area, and three faces with area at most.
  if (straight && m == 3) return 0;
  return fault;
}

// The corners of a closed polygon of n corners that are still kept, each
// linked to the kept corners before and after it.
struct KeptCorners {
  int n;
  int count;
  int prev[CircleCapacity];
  int next[CircleCapacity];
  bool kept[CircleCapacity];

  explicit KeptCorners(int corners) : n(corners), count(corners) {
    for (int i = 0; i < n; ++i) {
      prev[i] = (i + n - 1) % n;
      next[i] = (i + 1) % n;
      kept[i] = true;
    }
  }

  void Drop(int i) {
    kept[i] = false;
    next[prev[i]] = next[i];
    prev[next[i]] = prev[i];
    --count;
  }

  // source[i] is i for a kept corner, else the kept corner before it.
  void Sources(int* source) const {
    for (int i = 0; i < n; ++i) {
      int j = i;
      while (!kept[j]) j = (j + n - 1) % n;
      source[i] = j;
    }
  }
};

}  // namespace

void ConvexSources(const double* r, const double* z, int n, int first, int last, int* source) {
  for (int i = 0; i < n; ++i) source[i] = i;
  const int orientation = Orientation(r, z, n);
  if (orientation == 0) return;  // a profile without area: nothing to keep apart
  KeptCorners corners(n);
  for (bool changed = true; changed && corners.count > 3;) {
    changed = false;
    for (int i = first; i <= last && corners.count > 3; ++i) {
      if (!corners.kept[i] || Turn(r, z, corners.prev[i], i, corners.next[i]) * orientation > 0.0) continue;
      corners.Drop(i);
      changed = true;
    }
  }
  corners.Sources(source);
}

void CellSources(const double* ri, const double* zi, const double* ro, const double* zo, int n, int* source) {
  for (int i = 0; i < n; ++i) source[i] = i;
  // The cells run against the profiles: inward along the inner one, back
  // along the outer one.
  const int orientation = -Orientation(ro, zo, n);
  if (orientation == 0) return;  // an outer surface without area: no cell has any
  KeptCorners pairs(n);
  auto faultOf = [&](int a) {
    const int b = pairs.next[a];
    const Corner cell[4] = {{ri[a], zi[a]}, {ri[b], zi[b]}, {ro[b], zo[b]}, {ro[a], zo[a]}};
    return CellFault(cell, orientation);
  };
  for (bool changed = true; changed && pairs.count > 2;) {
    changed = false;
    for (int a = 0; a < n && pairs.count > 2; ++a) {
      if (!pairs.kept[a]) continue;
      const int fault = faultOf(a);
      if (fault == 0) continue;
      // The side with the faulty corner goes; the later one when both have one.
      pairs.Drop((fault & 2) ? pairs.next[a] : a);
      changed = true;
    }
  }
  pairs.Sources(source);
  // Profiles so far off that two pairs are left with a faulty cell between
  // them (none is known) keep one pair: no cell is written rather than a
  // concave one.
  for (int a = 0; a < n; ++a) {
    if (!pairs.kept[a] || faultOf(a) == 0) continue;
    for (int i = 0; i < n; ++i) source[i] = 0;
    return;
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
