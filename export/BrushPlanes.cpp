#include "export/BrushPlanes.h"

#include <algorithm>

namespace {

// Whether three points span a plane: their cross product is not zero. The
// differences and products of float coordinates are exact in double.
bool Spans(const vertex& a, const vertex& b, const vertex& c) {
  const double ux = static_cast<double>(b.x) - a.x, uy = static_cast<double>(b.y) - a.y,
               uz = static_cast<double>(b.z) - a.z;
  const double vx = static_cast<double>(c.x) - a.x, vy = static_cast<double>(c.y) - a.y,
               vz = static_cast<double>(c.z) - a.z;
  return uy * vz - uz * vy != 0.0 || uz * vx - ux * vz != 0.0 || ux * vy - uy * vx != 0.0;
}

// The three points that give a face's plane. Faces list their vertices
// clockwise as seen from outside the brush; the map format wants three points
// of that winding, written here as vertex 2, vertex 0, vertex 1. A face whose
// vertices 2, 0 and 1 lie on one line (two corners of a ring can meet where
// radii are truncated) is written with the first three of its vertices, in
// its own order, that span the plane. Returns false for a face without area.
bool PlanePoints(const face& f, const vertex* points[3]) {
  const vertex* v = f.verts.get();
  if (f.vcount < 3) return false;
  if (Spans(v[2], v[0], v[1])) {
    points[0] = &v[2];
    points[1] = &v[0];
    points[2] = &v[1];
    return true;
  }
  // The first triple i < j < k in order is i = 0, j the first vertex apart
  // from vertex 0 and k the first one after j off their line: when no k is
  // off that line, all vertices lie on it.
  int j = 1;
  while (j < f.vcount && !(v[j].x != v[0].x || v[j].y != v[0].y || v[j].z != v[0].z)) ++j;
  for (int k = j + 1; k < f.vcount; ++k) {
    if (Spans(v[0], v[j], v[k])) {
      points[0] = &v[0];
      points[1] = &v[j];
      points[2] = &v[k];
      return true;
    }
  }
  return false;
}

// A brush needs at least four faces with area to enclose a volume.
constexpr int kMinFaces = 4;

int MostFaces(const bgroup& group) {
  int faces = 0;
  for (int i = 0; i < group.bcount; ++i) faces = std::max(faces, group.brushes[i].fcount);
  return faces;
}

}  // namespace

BrushPlanes::BrushPlanes(const bgroup& group)
    : points_(std::make_unique<const vertex*[]>(3 * static_cast<size_t>(MostFaces(group)))) {}

bool BrushPlanes::Find(const brush& b) {
  int withArea = 0;
  for (int j = 0; j < b.fcount; ++j) {
    const vertex** points = &points_[3 * static_cast<size_t>(j)];
    if (PlanePoints(b.faces[j], points)) ++withArea;
    else points[0] = nullptr;
  }
  return withArea >= kMinFaces;
}
