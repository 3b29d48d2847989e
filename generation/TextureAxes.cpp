#include "generation/TextureAxes.h"

#include "generation/PortableMath.h"
#include "generation/VectorMath.h"
#include "settings/Settings.h"

namespace {

// Angles of the plane tests, compared with the float angles of GetVecAng.
constexpr float kQuarter = 45.0f;
constexpr float kThreeQuarters = 135.0f;

// Where the angle between two vectors lies against the bounds 45 and 135
// degrees. Its cosine decides at once unless it is close to cos 45 degrees
// (0.70710678): a margin of 1e-4 in the cosine is about 0.008 degrees, far
// beyond the float rounding of the angle. Close to a bound, and for a NaN,
// the angle itself is computed and compared, as a float.
enum AngleClass { WithinQuarter, BetweenQuarters, Undefined };

constexpr double kCosQuarterAbove = 0.7072;
constexpr double kCosQuarterBelow = 0.7070;

// Within: the angle is at most 45 or at least 135 degrees; between: strictly
// between them.
AngleClass ClassifyAngle(const vector& a, const vector& b) {
  const double c = GetAngleCos(a, b);
  if (c > kCosQuarterAbove || c < -kCosQuarterAbove) return WithinQuarter;
  if (c < kCosQuarterBelow && c > -kCosQuarterBelow) return BetweenQuarters;
  const float angle = GetVecAng(a, b);
  if (angle <= kQuarter || angle >= kThreeQuarters) return WithinQuarter;
  if (angle > kQuarter && angle < kThreeQuarters) return BetweenQuarters;
  return Undefined;
}

// The plane code of a normal; PlaneNone when the normal is zero or not finite
// (both angles are NaN then).
int PlaneOfNormal(vector n) {
  const AngleClass a1 = ClassifyAngle(vector{0.0f, 0.0f, 64.0f}, n);
  if (a1 == WithinQuarter) return PlaneXY;
  n.z = 0.0f;
  const AngleClass a2 = ClassifyAngle(vector{64.0f, 0.0f, 0.0f}, n);
  if (a2 == BetweenQuarters) return PlaneXZ;
  if (a2 == WithinQuarter) return PlaneYZ;
  return PlaneNone;
}

bool IsZero(const vector& v) { return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f; }

vector Negated(vector v) { return v.flip(); }

bool IsFinite(const vector& v) { return IsValid(v.x) && IsValid(v.y) && IsValid(v.z); }

// The normal of the triangle i, j, k of the face's vertices.
vector TriangleNormal(const face& f, int i, int j, int k) {
  return GetCross(GetVector(f.verts[i], f.verts[j]), GetVector(f.verts[i], f.verts[k]));
}

// When vertices 0, 1 and 2 give no normal (two of them coincide, as where the
// truncated radii of a ring collapse two corners onto one point), the plane is
// taken from the first three vertices of the polygon, in order, that span it.
int PlaneOfOtherVertices(const face& f) {
  const int n = f.vcount;
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n; ++j) {
      if (IsZero(GetVector(f.verts[i], f.verts[j]))) continue;
      for (int k = j + 1; k < n; ++k) {
        const vector normal = TriangleNormal(f, i, j, k);
        if (IsZero(normal)) continue;
        const int code = PlaneOfNormal(normal);
        if (code != PlaneNone) return code;
      }
    }
  }
  return PlaneNone;
}

// The edge frame of the face-alignment: the vectors E and H, the edge A and
// the unit normal N. W is taken from A and N by EdgeW, only by the rules that
// use it.
struct EdgeFrame {
  vector A;  // p1 - p0
  vector E;  // along edge p0-p2, from p2 towards p0
  vector H;  // in the face, at right angles to edge p0-p2
  vector N;  // unit normal of the face
};

EdgeFrame MakeEdgeFrame(const vertex& p0, const vertex& p1, const vertex& p2) {
  EdgeFrame fr;
  fr.A = GetVector(p0, p1);
  const vector B = GetVector(p0, p2);
  fr.N = Normalize(GetCross(B, fr.A));
  fr.H = Normalize(GetCross(fr.N, B));
  fr.E = Normalize(GetCross(fr.N, fr.H));
  return fr;
}

// In the face, at right angles to edge p0-p1.
vector EdgeW(const EdgeFrame& fr) { return Normalize(GetCross(fr.A, fr.N)); }

// The bottom triangle of the sphere is the surface face of segment res / 2.
bool IsSphereBottom(const face& f) { return IsSphere && f.segment == res / 2; }

// The horizontal axis of a sheared arch floor or ceiling: the direction at
// right angles to the edge p0-p1 in the horizontal plane, with E's height.
vector ShearedFloorAxis(const EdgeFrame& fr) {
  const float yaw = GetVecRot(fr.A).yaw;
  const double alpha = (static_cast<double>(yaw) - 90.0) * DegreePi / 180.0;
  vector u;
  u.x = static_cast<float>(kvmath::Cos(alpha));
  u.y = static_cast<float>(kvmath::Sin(alpha));
  u.z = fr.E.z;
  return u.flip();
}

// A pair of texture axes, U and V.
struct AxisPair {
  vector u, v;
};

// The pair before it is stored: E and H, changed by the shape's shear and
// position rules (at most one applies).
AxisPair ChooseFaceAxes(const face& f, const EdgeFrame& fr) {
  const int k = f.texId;
  AxisPair t{fr.E, fr.H};
  const bool bodySlot = k == SlotOuter || k == SlotInner;
  if (IsArch && k == SlotFloor && Shear[SlotFloor]) {
    t.u = ShearedFloorAxis(fr);
  } else if (IsHTorus && k == SlotFloor && Shear[SlotFloor]) {
    t.u = EdgeW(fr);
  } else if ((IsTorus || IsHTorus || IsSphere) && bodySlot && Shear[k]) {
    t.u = Negated(EdgeW(fr));
  } else if (IsHTorus && k == SlotFloor) {
    if (f.pos == PosUp)
      t.u = Negated(t.u);
    else if (f.pos == PosDown)
      t.v = Negated(t.v);
  }
  return t;
}

// World axes of the face's plane on zero axes: the fallback for a face whose
// edges give no usable face axes.
void SetWorldAxes(face& f) {
  f.vecHor = vector{};
  f.vecVer = vector{};
  AlignToWorld(f);
}

}  // namespace

int GetWorldAlign(const face& f) {
  const int code = PlaneOfNormal(TriangleNormal(f, 0, 1, 2));
  if (code != PlaneNone) return code;
  return PlaneOfOtherVertices(f);
}

void AlignToWorld(face& f) {
  switch (GetWorldAlign(f)) {
    case PlaneXY:
      f.vecHor.x = 1.0f;
      f.vecVer.y = -1.0f;
      break;
    case PlaneXZ:
      f.vecHor.x = 1.0f;
      f.vecVer.z = -1.0f;
      break;
    case PlaneYZ:
      f.vecHor.y = 1.0f;
      f.vecVer.z = -1.0f;
      break;
    default:
      break;
  }
}

void AlignToFace(face& f) {
  const int k = f.texId;
  // A hollow-torus face of the hidden slot keeps its axes.
  if (IsHTorus && k != SlotOuter && k != SlotInner && k != SlotFloor) return;

  const vertex* v = f.verts.get();
  EdgeFrame fr;
  if (IsSphere && !IsSphereBottom(f))
    fr = MakeEdgeFrame(v[1], v[0], v[2]);
  else if (IsSphere)
    fr = MakeEdgeFrame(v[0], v[1], v[2]);
  else
    fr = MakeEdgeFrame(v[0], v[1], v[3]);

  const AxisPair t = ChooseFaceAxes(f, fr);
  // The torus, the sphere and the hollow torus's walls turn the pair a quarter.
  const bool quarterTurn = IsTorus || IsSphere || (IsHTorus && k != SlotFloor);
  if (quarterTurn) {
    f.vecHor = Negated(t.v);
    f.vecVer = t.u;
  } else {
    f.vecHor = t.u;
    f.vecVer = t.v;
  }
  if (IsSphere && !IsSphereBottom(f)) f.FlipVecHor();

  // Collinear or coinciding points (rings collapsed to a point) and a vertical
  // edge under the sheared floor rule leave NaN in the axes.
  if (!IsFinite(f.vecHor) || !IsFinite(f.vecVer)) SetWorldAxes(f);
}

double GetAngleCos(const vector& a, const vector& b) {
  return GetDot(a, b) / (GetVecLen(a) * GetVecLen(b));
}

VecRot GetVecRot(const vector& v) {
  const vector h{v.x, v.y, 0.0f};
  VecRot r;
  r.yaw = static_cast<float>(kvmath::Acos(GetAngleCos(h, vector{16.0f, 0.0f, 0.0f})) * 180.0 / DegreePi);
  if (v.y <= 0.0f) r.yaw = 360.0f - r.yaw;
  r.pitch = static_cast<float>(kvmath::Acos(GetAngleCos(v, h)) * 180.0 / DegreePi);
  if (v.z <= 0.0f) r.pitch = 360.0f - r.pitch;
  return r;
}
