#include "generation/TextureAxes.h"

int GetWorldAlign(const face&) { return PlaneNone; }
void AlignToWorld(face&) {}
void AlignToFace(face&) {}
double GetAngleCos(const vector&, const vector&) { return 0.0; }
VecRot GetVecRot(const vector&) { return VecRot{0.0f, 0.0f}; }
