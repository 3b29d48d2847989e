// Texture axes: world alignment by plane and face alignment from the edges.
#pragma once

#include "generation/Brush.h"

// Plane codes of GetWorldAlign.
enum { PlaneXZ = 10, PlaneYZ = 20, PlaneXY = 30, PlaneNone = 0 };

struct VecRot {
  float yaw;
  float pitch;
};

// The plane code of the face's normal (PlaneNone when it has none).
int GetWorldAlign(const face& f);
// Sets one component of vecHor and one of vecVer by the plane code.
void AlignToWorld(face& f);
// Sets vecHor and vecVer from the face's edges, slot, segment and position.
void AlignToFace(face& f);
// The cosine of the angle between a and b, in double, unguarded.
double GetAngleCos(const vector& a, const vector& b);
// Yaw and pitch of v in degrees.
VecRot GetVecRot(const vector& v);
