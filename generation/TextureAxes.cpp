#include "generation/TextureAxes.h"

#include "generation/VectorMath.h"

int GetWorldAlign(const face&) { return PlaneNone; }
void AlignToWorld(face&) {}
void AlignToFace(face&) {}

double GetAngleCos(const vector& a, const vector& b) {
  return GetDot(a, b) / (GetVecLen(a) * GetVecLen(b));
}

VecRot GetVecRot(const vector&) { return VecRot{0.0f, 0.0f}; }
