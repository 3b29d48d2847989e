#include "generation/CleanUp.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "generation/Texturize.h"
#include "settings/Settings.h"

namespace {

bool IsTexturedSlot(int k) { return k >= SlotOuter && k <= SlotFloor; }

vector Negated(vector v) { return v.flip(); }

// ---- Rotation ----------------------------------------------------------------

// Turns the face's axes, shifts and scales by the slot's rotation.
void Rotate(face& f, float rotation) {
  const vector u = f.vecHor;
  const vector v = f.vecVer;
  const float x = f.shiftX, y = f.shiftY, sx = f.scaleX, sy = f.scaleY;
  if (rotation == 90.0f) {
    f.VecHor(v);
    f.VecVer(Negated(u));
    f.shiftX = y;
    f.shiftY = -x;
    f.scaleX = sy;
    f.scaleY = sx;
  } else if (rotation == 180.0f) {
    f.VecHor(Negated(u));
    f.VecVer(Negated(v));
    f.shiftX = -x;
    f.shiftY = -y;
  } else if (rotation == 270.0f) {
    f.VecHor(Negated(v));
    f.VecVer(u);
    f.shiftX = -y;
    f.shiftY = x;
    f.scaleX = sy;
    f.scaleY = sx;
  }
}

// The sign corrections of sheared faces after the turn.
void CorrectShearedSigns(face& f, int k, float rotation) {
  const bool quarter = rotation == 90.0f || rotation == 270.0f;
  if (IsHTorus && k == SlotFloor && f.pos == PosUp && Shear[SlotFloor] && quarter) {
    f.shiftX = -f.shiftX;
    f.shiftY = -f.shiftY;
  }
  if (IsSphere && Shear[k]) {
    if (quarter) f.shiftX = -f.shiftX;
    if (rotation == 180.0f) f.shiftY = -f.shiftY;
  }
}

// shift + user, held at the largest float where the float sum of two finite
// values would overflow: a shift that the wrapping pass made large (a tiny
// texture scale) and a user shift near the float limit must not give an
// infinite shift, which the reduction could not bring back when the texture
// size is 0 or less. Otherwise the plain float sum.
float WithUserShift(float shift, float user) {
  const float sum = shift + user;
  if (std::isinf(sum) && std::isfinite(shift) && std::isfinite(user))
    return std::copysign(std::numeric_limits<float>::max(), sum);
  return sum;
}

void CleanFace(face& f) {
  const int k = f.texId;
  if (IsTexturedSlot(k)) {
    if (IsSphere && G_Rot[k] == 0.0f && Shear[k]) f.shiftY = -f.shiftY;
    if (G_Rot[k] != 0.0f) {
      Rotate(f, G_Rot[k]);
      CorrectShearedSigns(f, k, G_Rot[k]);
      f.rot = G_Rot[k];
    }
    if (G_ShiftX[k] != 0.0f) f.shiftX = WithUserShift(f.shiftX, G_ShiftX[k]);
    if (G_ShiftY[k] != 0.0f) f.shiftY = WithUserShift(f.shiftY, G_ShiftY[k]);
  }
  if (IsArch) f.shiftY = std::round(f.shiftY);
  if (IsTexturedSlot(k)) {
    if (f.shiftX != 0.0f) MiniShift(f, hor);
    if (f.shiftY != 0.0f) MiniShift(f, ver);
  }
}

// ---- Reduction ---------------------------------------------------------------

// The range of floats that share the spacing of a positive normal float a:
// [low, 2 low), spacing ulp.
struct Binade {
  double low;
  double ulp;
};

Binade BinadeOf(float a) {
  int exponent = 0;
  std::frexp(a, &exponent);  // a = m 2^exponent, 0.5 <= m < 1
  return Binade{std::ldexp(1.0, exponent - 1), std::ldexp(1.0, exponent - 24)};
}

// Repeats a = a - size while a >= size, each subtraction rounded to float, as
// a plain loop would, but in bounded time: a is positive and finite, size a
// positive whole number. Returns false when the plain loop would never end
// (the subtraction no longer changes a).
//
// While size is a multiple of a's spacing every subtraction is exact, and so
// are all that follow (the spacing only shrinks as a falls): the result is
// then the exact remainder. Above that, within one binade every subtraction
// rounds to the same step once two steps in a row have been equal, so runs
// of them are taken at once, keeping clear of the binade's lower end, where
// the rounding changes; the steps near it are made one by one.
bool ReduceDown(float& a, float size) {
  const double s = size;
  // Below 2^24 the spacing of a is at most 1, so size is a multiple of it
  // and the result is the exact remainder at once (the first step of the
  // loop below). a and size are then multiples of 2^-23, the quotient is
  // below 2^24: a / s rounded in double never reaches the next whole number,
  // so its truncation is the exact quotient, and a - q s is exact.
  if (a >= size && a < 0x1p24f) {
    const double q = static_cast<int32_t>(static_cast<double>(a) / s);
    a = static_cast<float>(static_cast<double>(a) - q * s);
    return true;
  }
  double lastStep = 0.0;
  float lastFrom = 0.0f;
  // A few steps per binade and at most a few dozen binades with a spacing
  // above the size's lowest bit; the bound only guards against mistakes.
  for (int guard = 0; guard < 100000; ++guard) {
    if (a < size) return true;
    const Binade bin = BinadeOf(a);
    if (std::fmod(s, bin.ulp) == 0.0) {
      a = static_cast<float>(std::fmod(static_cast<double>(a), s));
      return true;
    }
    const float next = a - size;
    if (next == a) return false;
    const double step = static_cast<double>(a) - next;
    // Here the spacing exceeds the size's lowest bit, so a, size and the
    // bounds are whole numbers well below 2^62.
    const double clear = bin.low + s + bin.ulp;  // rounding stays on this binade's grid above this
    const bool steady = step == lastStep && lastFrom >= clear && a >= clear && BinadeOf(lastFrom).low == bin.low;
    if (steady && next >= clear && a < 0x1p62) {
      const int64_t from = static_cast<int64_t>(next);
      const int64_t d = static_cast<int64_t>(step);
      const int64_t runs = (from - static_cast<int64_t>(clear)) / d + 1;
      a = static_cast<float>(from - runs * d);
      lastStep = 0.0;
      continue;
    }
    lastStep = step;
    lastFrom = a;
    a = next;
  }
  return false;
}

// A sound result where the plain loops would never end: the remainder in
// [0, size).
float Remainder(float shift, float size) {
  double r = std::fmod(static_cast<double>(shift), static_cast<double>(size));
  if (r < 0.0) r += size;
  const float f = static_cast<float>(r);
  return (f >= size || f == 0.0f) ? 0.0f : f;
}

// The shift brought into [0, size) by adding or subtracting the size, each
// step rounded to float.
float Reduce(float shift, float size) {
  if (std::isnan(shift)) return shift;
  if (std::isinf(shift)) return 0.0f;
  if (shift >= 0.0f) {
    float a = shift;
    return ReduceDown(a, size) ? a : Remainder(shift, size);
  }
  // A negative shift: x + size for x <= -size mirrors (-x) - size.
  float a = -shift;
  if (!ReduceDown(a, size)) return Remainder(shift, size);
  if (a == 0.0f) return 0.0f;  // -size + size is +0
  float x = -a + size;
  if (x >= size) x = x - size;
  return x;
}

}  // namespace

void CleanUp() {
  if (!Group) return;
  bgroup& grp = *Group;
  const int bcount = grp.bcount < grp.bmax ? grp.bcount : grp.bmax;
  for (int b = 0; b < bcount; ++b) CleanUpBrush(grp.brushes[b]);
}

void CleanUpBrush(brush& br) {
  const int fcount = br.fcount < br.fmax ? br.fcount : br.fmax;
  for (int i = 0; i < fcount; ++i) CleanFace(br.faces[i]);
}

void MiniShift(face& f, axis a) {
  const int k = f.texId;
  if (!IsTexturedSlot(k)) return;
  const bool straight = f.rot == 0.0f || f.rot == 180.0f;
  const bool useX = (a == hor) == straight;
  const int size = useX ? BuildSizeX[k] : BuildSizeY[k];
  if (size <= 0) return;
  // The size as a float, as the loops add it; every size up to 2^24 is exact.
  const float fsize = static_cast<float>(size);
  float& shift = (a == hor) ? f.shiftX : f.shiftY;
  shift = Reduce(shift, fsize);
}
