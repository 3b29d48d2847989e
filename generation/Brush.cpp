#include "generation/Brush.h"

#include <algorithm>
#include <utility>

face::face() : verts(std::make_unique<vertex[]>(static_cast<size_t>(std::max(maxV, 0)))), vmax(std::max(maxV, 0)) {}

face::face(const face& src)
    : verts(std::make_unique<vertex[]>(static_cast<size_t>(src.vmax))), vmax(src.vmax) {
  *this = src;
}

face& face::operator=(const face& src) {
  if (this == &src) return *this;
  // A deep copy into this face's own buffer: every field, and the whole
  // buffer rather than only the vertices in use.
  CopyFace(src);
  const int n = std::min(vmax, src.vmax);
  std::copy(src.verts.get(), src.verts.get() + n, verts.get());
  return *this;
}

void face::setz(float z) {
  for (int i = 0; i < vcount; ++i) verts[i].z = z;
}

std::string face::orient() const {
  static const char* const labels[] = {"NULL", "down", "up", "back", "front", "left", "right"};
  return (pos >= PosNull && pos <= PosRight) ? labels[pos] : labels[PosNull];
}

void face::CopyFace(const face& src) {
  vcount = src.vcount;
  texture = src.texture;
  vecHor = src.vecHor;
  vecVer = src.vecVer;
  shiftX = src.shiftX;
  shiftY = src.shiftY;
  rot = src.rot;
  scaleX = src.scaleX;
  scaleY = src.scaleY;
  wrapped = src.wrapped;
  hFace = src.hFace;
  texId = src.texId;
  segment = src.segment;
  pos = src.pos;
  const int n = std::min(src.vcount, std::min(vmax, src.vmax));
  std::copy(src.verts.get(), src.verts.get() + n, verts.get());
}

void face::RevOrder() {
  const int last = vcount - 1;
  for (int i = 0; i < vcount / 2; ++i) std::swap(verts[i], verts[last - i]);
}

brush::brush() : faces(std::make_unique<face[]>(static_cast<size_t>(std::max(maxF, 0)))), fmax(std::max(maxF, 0)) {}

void brush::CopyBrush(const brush& src) { ::CopyBrush(src, *this); }

void CopyBrush(const brush& src, brush& dst) {
  if (&src == &dst) return;
  dst.fcount = src.fcount;
  dst.section = src.section;
  const int n = std::min(src.fcount, dst.fmax);
  for (int i = 0; i < n; ++i) dst.faces[i].CopyFace(src.faces[i]);
}

bgroup::bgroup() : brushes(std::make_unique<brush[]>(static_cast<size_t>(std::max(maxB, 0)))), bmax(std::max(maxB, 0)) {}

void SetMaxObjects() {
  const int extra = Sym ? 4 : 0;
  if (IsCylinder) {
    maxB = 1;
    maxF = res + 2;
    maxV = res;
  } else if (IsArch) {
    maxB = Tri ? 2 * (res + extra) : res + extra;
    maxF = 6;
    maxV = 8;
  } else if (IsTorus) {
    maxB = res2 + extra;
    maxF = res + 2;
    maxV = res;
  } else if (IsHTorus) {
    maxB = (res + extra) * (res2 + extra);
    maxF = 6;
    maxV = 8;
  } else if (IsSphere) {
    maxB = res + extra;
    maxF = res / 2 + 3;
    maxV = res / 2 + 2;
  }
}
