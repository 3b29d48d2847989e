#include "generation/Brush.h"

#include <algorithm>
#include <utility>

namespace {

// While a group is being created, the blocks that its faces and brushes take
// their buffers from, one after the other; none at other times.
struct Blocks {
  vertex* nextVertex = nullptr;
  face* nextFace = nullptr;
  int facesPerBrush = 0;
  int nextFaceIndex = 0;  // of the next face within its brush
};
Blocks* groupBlocks = nullptr;

// Points the constructors at a group's blocks for as long as it exists.
struct BlockScope {
  explicit BlockScope(Blocks& blocks) { groupBlocks = &blocks; }
  ~BlockScope() { groupBlocks = nullptr; }
  BlockScope(const BlockScope&) = delete;
  BlockScope& operator=(const BlockScope&) = delete;
};

template <typename T>
void OwnBuffer(Buffer<T>& buffer, int capacity) {
  buffer.own = std::make_unique<T[]>(static_cast<size_t>(capacity));
  buffer.data = buffer.own.get();
}

int Capacity(int n) { return std::max(n, 0); }

// In every shape only the first two faces of a brush can have more than four
// vertices (the caps of the cylinder and the torus, the meridian faces of the
// sphere); all others are triangles or quads. The faces of a group get their
// places accordingly, which keeps a torus of 192 by 192 at a tenth of the
// memory that maxV places for every face would take.
int GroupFaceCapacity(int indexInBrush) {
  return indexInBrush < kWideFaces ? Capacity(maxV) : std::min(Capacity(maxV), kNarrowFaceVertices);
}

}  // namespace

face::face() : vmax(Capacity(maxV)) {
  if (groupBlocks) {
    vmax = GroupFaceCapacity(groupBlocks->nextFaceIndex);
    groupBlocks->nextFaceIndex = (groupBlocks->nextFaceIndex + 1) % groupBlocks->facesPerBrush;
    verts.data = groupBlocks->nextVertex;
    groupBlocks->nextVertex += vmax;
  } else {
    OwnBuffer(verts, vmax);
  }
}

face::face(const face& src) : vmax(src.vmax) {
  OwnBuffer(verts, vmax);
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

brush::brush() : fmax(Capacity(maxF)) {
  if (groupBlocks) {
    faces.data = groupBlocks->nextFace;
    groupBlocks->nextFace += fmax;
  } else {
    OwnBuffer(faces, fmax);
  }
}

void brush::CopyBrush(const brush& src) { ::CopyBrush(src, *this); }

void CopyBrush(const brush& src, brush& dst) {
  if (&src == &dst) return;
  dst.fcount = src.fcount;
  dst.section = src.section;
  const int n = std::min(src.fcount, dst.fmax);
  for (int i = 0; i < n; ++i) dst.faces[i].CopyFace(src.faces[i]);
}

bgroup::bgroup() : bmax(Capacity(maxB)) {
  const int facesPerBrush = Capacity(maxF);
  const size_t faceCount = static_cast<size_t>(bmax) * static_cast<size_t>(facesPerBrush);
  size_t perBrush = 0;
  for (int i = 0; i < facesPerBrush; ++i) perBrush += static_cast<size_t>(GroupFaceCapacity(i));
  vertexBlock = std::make_unique<vertex[]>(static_cast<size_t>(bmax) * perBrush);
  Blocks blocks;
  blocks.nextVertex = vertexBlock.get();
  blocks.facesPerBrush = std::max(facesPerBrush, 1);
  const BlockScope scope(blocks);
  faceBlock = std::make_unique<face[]>(faceCount);
  blocks.nextFace = faceBlock.get();
  brushes = std::make_unique<brush[]>(static_cast<size_t>(bmax));
}

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
