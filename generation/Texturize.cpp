#include "generation/Texturize.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <memory>

#include "console/ConsoleInput.h"
#include "generation/PortableMath.h"
#include "generation/TextureAxes.h"
#include "generation/VectorMath.h"
#include "settings/Settings.h"

int BuildSizeX[SlotCount] = {};
int BuildSizeY[SlotCount] = {};

void UseSettingsTextureSizes() {
  for (int k = 0; k < SlotCount; ++k) {
    BuildSizeX[k] = G_SizeX[k];
    BuildSizeY[k] = G_SizeY[k];
  }
}

namespace {

// The shape being built: the first set shape flag.
enum class Built { None, Cylinder, Arch, Torus, HTorus, Sphere };

Built BuiltShape() {
  if (IsCylinder) return Built::Cylinder;
  if (IsArch) return Built::Arch;
  if (IsTorus) return Built::Torus;
  if (IsHTorus) return Built::HTorus;
  if (IsSphere) return Built::Sphere;
  return Built::None;
}

bool IsMultiSection(Built b) { return b == Built::Torus || b == Built::HTorus || b == Built::Sphere; }
bool HasFloor(Built b) { return b == Built::Arch || b == Built::HTorus; }

// ---- Number helpers --------------------------------------------------------

// The value rounded to float once, or the fallback when the float would not
// be finite (a NaN, or beyond the float range).
float ToFloatOr(double value, float fallback) {
  if (!(std::fabs(value) <= static_cast<double>(FLT_MAX))) return fallback;
  return static_cast<float>(value);
}

// num / den rounded to float; a divisor of 0, or a quotient that is not
// finite, leaves the old value.
float QuotientOr(double num, double den, float old) {
  if (den == 0.0) return old;
  return ToFloatOr(num / den, old);
}

// A measured length that is not finite (a face whose vertices coincide) counts
// as 0, so that it cannot spread into the scales of a section or the group.
double FiniteLen(double len) { return std::isfinite(len) ? len : 0.0; }

// The number of repeats round(x), x first rounded to float, halfway cases
// away from zero; 0 (no count) when x is not finite.
double RoundedCount(double x) {
  if (!(std::fabs(x) <= static_cast<double>(FLT_MAX))) return 0.0;
  return static_cast<double>(std::round(static_cast<float>(x)));
}

// The wrap amount when it is set, else the automatic count len / (size × scale).
double RepeatCount(int amount, double len, int size, float scale) {
  if (amount != 0) return amount;
  const double den = static_cast<double>(size) * scale;
  return den == 0.0 ? 0.0 : RoundedCount(len / den);
}

// len / (size × count), the product a whole number; the old scale stays when
// the product is 0, and when the length is 0 (a collapsed source face, with a
// wrap amount given): no number of repeats fits nothing, and a scale of 0
// would make the texture infinitely large.
float FittedScale(double len, int size, double count, float old) {
  if (len == 0.0) return old;
  return QuotientOr(len, static_cast<double>(size) * count, old);
}

// The scale taken to the nearest whole number for the "round X" scale source.
// A scale below one half would round to 0, a scale that makes the texture
// infinitely large (map compilers reject it): it becomes 1 of its sign.
float WholeScale(float scale) {
  const float whole = std::round(scale);
  return whole != 0.0f ? whole : std::copysign(1.0f, scale);
}

// The scale times len / last. A length of 0 keeps the scale: the face that
// measures nothing across its edge (a collapsed face, or a triangle whose
// measured corner lies on the opposite line) still has a texture, and a
// scale of 0 would make it infinitely large.
float ProportionalScale(float scale, double len, double last) {
  if (len == 0.0) return scale;
  return ToFloatOr(scale * (len / last), scale);
}

// ---- Group access ------------------------------------------------------------

int BrushesInUse(const bgroup& g) { return g.bcount < g.bmax ? g.bcount : g.bmax; }
int FacesInUse(const brush& b) { return b.fcount < b.fmax ? b.fcount : b.fmax; }

// Length of the edge from vertex a to vertex b; 0 when the face has no room
// for the vertex.
double EdgeLen(const face& f, int a, int b) {
  if (a >= f.vmax || b >= f.vmax) return 0.0;
  return FiniteLen(GetVecLen(GetVector(f.verts[a], f.verts[b])));
}

double FaceLen(const face& f) { return FiniteLen(GetFaceLen(f)); }

// ---- Working values of one run ----------------------------------------------

constexpr int BodySlots = 2;

// The working values of one run, sized by the group's section and segment
// counts and allocated once.
struct WrapWork {
  int S = 0;  // sections
  int G = 0;  // segments per section
  std::unique_ptr<float[]> secScaleX, secScaleY;  // [s][k]
  std::unique_ptr<float[]> floorScaleX;           // [s]
  std::unique_ptr<float[]> floorScaleY;           // [s][g]
  std::unique_ptr<float[]> segLen;                // [s][g][k]
  std::unique_ptr<float[]> secLen;                // [s][k]
  std::unique_ptr<float[]> hLen;                  // [s][k]
  std::unique_ptr<float[]> floorLen;              // [s][g]
  float accLen[BodySlots] = {};
  float accHLen[BodySlots] = {};
  float hLenTotal[BodySlots] = {};
  float hSrcShift[BodySlots] = {};

  WrapWork(int sections, int segments) : S(sections), G(segments) {
    const size_t s = static_cast<size_t>(S);
    const size_t sg = s * static_cast<size_t>(G);
    secScaleX = std::make_unique<float[]>(s * BodySlots);
    secScaleY = std::make_unique<float[]>(s * BodySlots);
    floorScaleX = std::make_unique<float[]>(s);
    floorScaleY = std::make_unique<float[]>(sg);
    segLen = std::make_unique<float[]>(sg * BodySlots);
    secLen = std::make_unique<float[]>(s * BodySlots);
    hLen = std::make_unique<float[]>(s * BodySlots);
    floorLen = std::make_unique<float[]>(sg);
  }

  size_t SK(int s, int k) const { return static_cast<size_t>(s) * BodySlots + static_cast<size_t>(k); }
  size_t SG(int s, int g) const {
    return static_cast<size_t>(s) * static_cast<size_t>(G) + static_cast<size_t>(g);
  }

  float& SecScaleX(int s, int k) { return secScaleX[SK(s, k)]; }
  float& SecScaleY(int s, int k) { return secScaleY[SK(s, k)]; }
  float& FloorScaleX(int s) { return floorScaleX[static_cast<size_t>(s)]; }
  float& FloorScaleY(int s, int g) { return floorScaleY[SG(s, g)]; }
  float& SegLen(int s, int g, int k) { return segLen[SG(s, g) * BodySlots + static_cast<size_t>(k)]; }
  float& SecLen(int s, int k) { return secLen[SK(s, k)]; }
  float& HLen(int s, int k) { return hLen[SK(s, k)]; }
  float& FloorLen(int s, int g) { return floorLen[SG(s, g)]; }

  bool InGrid(int s, int g) const { return s >= 0 && s < S && g >= 0 && g < G; }
};

bool IsBodySlot(int k) { return k == SlotOuter || k == SlotInner; }
bool IsTexturedSlot(int k) { return k >= SlotOuter && k <= SlotFloor; }

// ---- Step 1: size exchange ---------------------------------------------------

// The sizes of the build, X and Y exchanged for slots rotated a quarter turn.
// Taken from the settings each time, so a second run within one build cannot
// exchange them back.
void ExchangeRotatedSizes() {
  UseSettingsTextureSizes();
  for (int k = 0; k < SlotCount; ++k) {
    if (G_Rot[k] == 90.0f || G_Rot[k] == 270.0f) {
      BuildSizeX[k] = G_SizeY[k];
      BuildSizeY[k] = G_SizeX[k];
    }
  }
}

// ---- Step 2: start values ----------------------------------------------------

void SetStartValues(WrapWork& w) {
  for (int s = 0; s < w.S; ++s) {
    for (int k = 0; k < BodySlots; ++k) {
      w.SecScaleX(s, k) = G_ScaleX[k];
      w.SecScaleY(s, k) = G_ScaleY[k];
    }
    w.FloorScaleX(s) = G_ScaleX[SlotFloor];
    for (int g = 0; g < w.G; ++g) w.FloorScaleY(s, g) = G_ScaleY[SlotFloor];
  }
  for (int k = 0; k < BodySlots; ++k) w.accLen[k] = w.accHLen[k] = 0.0f;
}

// ---- Step 3: measuring -------------------------------------------------------

void MeasureWrapped(WrapWork& w, Built shape, const face& f, int s, int g, int k) {
  if (IsMultiSection(shape)) {
    if (g == 0) w.accLen[k] = 0.0f;
    w.SegLen(s, g, k) = ToFloatOr(w.accLen[k] + FaceLen(f), w.accLen[k]);
    w.accLen[k] = w.SegLen(s, g, k);
  } else {
    w.accLen[k] = ToFloatOr(w.accLen[k] + EdgeLen(f, 0, 3), w.accLen[k]);
    w.SegLen(s, g, k) = w.accLen[k];
  }
}

// The horizontal extent of a section's H-range source face: the edge 0-3 on
// the middle half of the segments, else the edge 1-2.
void MeasureHSource(WrapWork& w, const face& f, int s, int g, int k) {
  if (s == 0) w.accHLen[k] = 0.0f;
  const int quarter = w.G / 4;
  const double len = (quarter - 1 < g && g < 3 * quarter) ? EdgeLen(f, 0, 3) : EdgeLen(f, 1, 2);
  w.HLen(s, k) = ToFloatOr(w.accHLen[k] + len, w.accHLen[k]);
  w.accHLen[k] = w.HLen(s, k);
}

void MeasureFace(WrapWork& w, Built shape, const face& f, int s) {
  const int k = f.texId;
  const int g = f.segment;
  if (!w.InGrid(s, g)) return;
  const bool body = IsBodySlot(k);
  if (f.wrapped && body) MeasureWrapped(w, shape, f, s, g, k);
  if (IsMultiSection(shape) && f.hFace && body) MeasureHSource(w, f, s, g, k);
  if (HasFloor(shape) && k == SlotFloor && f.pos == PosUp) w.FloorLen(s, g) = static_cast<float>(FaceLen(f));
  if (g == w.G - 1 && (f.wrapped || f.hFace) && body) {
    w.SecLen(s, k) = w.SegLen(s, g, k);
    if (IsMultiSection(shape)) w.hLenTotal[k] = w.HLen(s, k);
  }
}

void MeasureGroup(WrapWork& w, Built shape, const bgroup& grp) {
  for (int b = 0; b < BrushesInUse(grp); ++b) {
    const brush& br = grp.brushes[b];
    for (int i = 0; i < FacesInUse(br); ++i) MeasureFace(w, shape, br.faces[i], br.section);
  }
}

// ---- Step 4: body slots ------------------------------------------------------

void FitSeamless(WrapWork& w, int k) {
  const double n = RepeatCount(wrapam[k], w.SecLen(0, k), BuildSizeX[k], w.SecScaleX(0, k));
  for (int s = 0; s < w.S; ++s) w.SecScaleX(s, k) = FittedScale(w.SecLen(s, k), BuildSizeX[k], n, w.SecScaleX(s, k));
}

void ApplyScaleSource(WrapWork& w, int k) {
  for (int s = 0; s < w.S; ++s) {
    switch (SYMethod[k]) {
      case ScaleSrcMatchX: w.SecScaleY(s, k) = w.SecScaleX(0, k); break;
      case ScaleSrcRoundX: w.SecScaleY(s, k) = WholeScale(w.SecScaleX(0, k)); break;
      case ScaleSrcCustom: w.SecScaleY(s, k) = AskForValue(w.SecScaleY(s, k)); break;
      default: break;
    }
  }
}

void FitHSeamless(WrapWork& w, int k) {
  for (int s = 0; s < w.S; ++s) {
    const double n = RepeatCount(Hwrapam[k], w.hLenTotal[k], BuildSizeY[k], w.SecScaleY(s, k));
    w.SecScaleY(s, k) = FittedScale(w.hLenTotal[k], BuildSizeY[k], n, w.SecScaleY(s, k));
  }
}

// The X scale of each section in proportion to its length against the last
// section's.
void FitProportion(WrapWork& w, int k) {
  const double last = w.SecLen(w.S - 1, k);
  if (last == 0.0) return;
  for (int s = 0; s < w.S; ++s) w.SecScaleX(s, k) = ProportionalScale(w.SecScaleX(s, k), w.SecLen(s, k), last);
}

void FitBodySlot(WrapWork& w, Built shape, int k) {
  if (seamless[k]) FitSeamless(w, k);
  ApplyScaleSource(w, k);
  if (Hseamless[k] && IsMultiSection(shape)) FitHSeamless(w, k);
  if (wrapping[k] && !seamless[k]) FitProportion(w, k);
}

// ---- Step 5: floor slot ------------------------------------------------------

void FitFloorSeamless(WrapWork& w) {
  for (int s = 0; s < w.S; ++s) {
    const double n = RepeatCount(wrapam[SlotFloor], w.SecLen(s, SlotOuter), BuildSizeX[SlotFloor], G_ScaleX[SlotFloor]);
    w.FloorScaleX(s) = FittedScale(w.SecLen(s, SlotOuter), BuildSizeX[SlotFloor], n, w.FloorScaleX(s));
  }
}

void FitFloorHSeamless(WrapWork& w) {
  const double n = RepeatCount(Hwrapam[SlotFloor], w.FloorLen(0, 0), BuildSizeY[SlotFloor], G_ScaleY[SlotFloor]);
  for (int s = 0; s < w.S; ++s) {
    for (int g = 0; g < w.G; ++g) {
      w.FloorScaleY(s, g) = FittedScale(w.FloorLen(s, g), BuildSizeY[SlotFloor], n, w.FloorScaleY(s, g));
    }
    if (seamless[SlotFloor]) continue;
    // The floor's own scale source acts only here; the custom one asks nothing.
    if (SYMethod[SlotFloor] == ScaleSrcMatchX) w.FloorScaleX(s) = w.FloorScaleY(s, 0);
    if (SYMethod[SlotFloor] == ScaleSrcRoundX) w.FloorScaleX(s) = WholeScale(w.FloorScaleY(s, 0));
  }
}

// The Y scale of each floor face in proportion to its extent against the
// section's last segment.
void FitFloorProportion(WrapWork& w) {
  for (int s = 0; s < w.S; ++s) {
    const double last = w.FloorLen(s, w.G - 1);
    if (last == 0.0) continue;
    for (int g = 0; g < w.G; ++g) w.FloorScaleY(s, g) = ProportionalScale(w.FloorScaleY(s, g), w.FloorLen(s, g), last);
  }
}

void FitFloor(WrapWork& w) {
  if (seamless[SlotFloor]) FitFloorSeamless(w);
  if (Hseamless[SlotFloor]) {
    FitFloorHSeamless(w);
  } else {
    FitFloorProportion(w);
  }
}

// ---- Step 6: final pass ------------------------------------------------------

// A face of the group with its place.
struct FaceAt {
  face& f;
  int b;  // brush index
  int i;  // face index within the brush
  int s;  // section
  int g;  // segment
  int k;  // slot
};

// Torus and sphere: the builder's vertical shift of the brush's source face
// G_HFace[0] + 2. A number that names no face of the brush falls back on the
// face that carries the source flag; without one there is no source shift.
float SectionSourceShift(const brush& br) {
  const int index = G_HFace[SlotOuter] + 2;
  if (G_HFace[SlotOuter] >= 0 && index < FacesInUse(br)) return br.faces[index].shiftY;
  for (int i = 0; i < FacesInUse(br); ++i) {
    if (br.faces[i].hFace && br.faces[i].texId == SlotOuter) return br.faces[i].shiftY;
  }
  return 0.0f;
}

// Hollow torus: the builder's vertical shift of slot k's source wall in the
// section that starts at brush b (inner wall face 0 for slot 1, outer wall
// face 1 for slot 0), brush b + G_HFace[k]. A number that leads out of the
// section or the group falls back on the section's wall that carries the
// source flag; without one there is no source shift.
float CellSourceShift(const WrapWork& w, const bgroup& grp, int b, int s, int k) {
  const int fi = (k == SlotInner) ? 0 : 1;
  const int n = BrushesInUse(grp);
  const auto wall = [&](int brushIndex) -> const face* {
    const brush& br = grp.brushes[brushIndex];
    return (br.section == s && fi < FacesInUse(br)) ? &br.faces[fi] : nullptr;
  };
  const int m = G_HFace[k];
  if (m >= 0 && m < w.G && b + m < n) {
    if (const face* f = wall(b + m)) return f->shiftY;
  }
  for (int j = b; j < n && j < b + w.G; ++j) {
    const face* f = wall(j);
    if (f && f->hFace && f->texId == k) return f->shiftY;
  }
  return 0.0f;
}

void ReadSourceShift(WrapWork& w, Built shape, const bgroup& grp, const FaceAt& at) {
  if (at.g != 0) return;
  if ((shape == Built::Torus || shape == Built::Sphere) && at.k == SlotOuter) {
    w.hSrcShift[SlotOuter] = SectionSourceShift(grp.brushes[at.b]);
  } else if (shape == Built::HTorus && IsBodySlot(at.k)) {
    w.hSrcShift[at.k] = CellSourceShift(w, grp, at.b, at.s, at.k);
  }
}

void SetScales(WrapWork& w, const FaceAt& at) {
  if (at.k == SlotFloor) {
    at.f.scaleX = w.FloorScaleX(at.s);
    at.f.scaleY = w.FloorScaleY(at.s, at.g);
  } else {
    at.f.scaleX = w.SecScaleX(at.s, at.k);
    at.f.scaleY = w.SecScaleY(at.s, at.k);
  }
}

float Minus(float shift, float len) { return ToFloatOr(static_cast<double>(shift) - len, shift); }
float Plus(float shift, float len) { return ToFloatOr(static_cast<double>(shift) + len, shift); }

// Cylinder and arch: the horizontal shift runs on along the segments.
void ContinueOneSection(WrapWork& w, const FaceAt& at) {
  if (!wrapping[at.k]) return;
  face& f = at.f;
  if (at.g > 0 && IsBodySlot(at.k)) f.shiftX = Minus(f.shiftX, w.SegLen(at.s, at.g - 1, at.k));
  if (at.g > 0 && at.k == SlotFloor && !Shear[SlotFloor]) {
    f.shiftX = Minus(f.shiftX, w.SegLen(at.s, at.g - 1, SlotOuter));
  }
  // The arch's inner wall runs the other way.
  if (at.k == SlotInner && at.i == 4) f.shiftX = -f.shiftX;
}

// Torus, hollow torus and sphere: along the segments and across the sections.
void ContinueMultiSection(WrapWork& w, Built shape, const FaceAt& at) {
  face& f = at.f;
  if (IsBodySlot(at.k)) {
    if (at.g > 0 && wrapping[at.k]) f.shiftX = Minus(f.shiftX, w.SegLen(at.s, at.g - 1, at.k));
    if (Hwrapping[at.k] && !Shear[at.k]) {
      f.shiftY = (at.s == 0) ? w.hSrcShift[at.k] : Minus(w.hSrcShift[at.k], w.HLen(at.s - 1, at.k));
    }
  } else if (shape == Built::HTorus && !Shear[SlotFloor] && at.g > 0 && wrapping[SlotFloor]) {
    const float len = w.SegLen(at.s, at.g - 1, SlotOuter);
    if (f.pos == PosUp) f.shiftX = Minus(f.shiftX, len);
    if (f.pos == PosDown) f.shiftX = Plus(f.shiftX, len);
  }
}

// The shifts in texture units: divided by the scales the face has just got.
void ToTextureUnits(const FaceAt& at) {
  face& f = at.f;
  f.shiftX = QuotientOr(f.shiftX, f.scaleX, f.shiftX);
  f.shiftY = QuotientOr(f.shiftY, f.scaleY, f.shiftY);
}

void FinishFace(WrapWork& w, Built shape, const bgroup& grp, const FaceAt& at) {
  ReadSourceShift(w, shape, grp, at);
  SetScales(w, at);
  if (IsMultiSection(shape)) {
    ContinueMultiSection(w, shape, at);
  } else {
    ContinueOneSection(w, at);
  }
  ToTextureUnits(at);
}

void FinishGroup(WrapWork& w, Built shape, bgroup& grp) {
  for (int b = 0; b < BrushesInUse(grp); ++b) {
    brush& br = grp.brushes[b];
    for (int i = 0; i < FacesInUse(br); ++i) {
      face& f = br.faces[i];
      if (!IsTexturedSlot(f.texId) || !w.InGrid(br.section, f.segment)) continue;
      FinishFace(w, shape, grp, FaceAt{f, b, i, br.section, f.segment, f.texId});
    }
  }
}

}  // namespace

void Texturize() {
  ExchangeRotatedSizes();
  const Built shape = BuiltShape();
  if (!Group || shape == Built::None || Group->sections <= 0 || Group->segments <= 0) return;
  bgroup& grp = *Group;
  WrapWork w(grp.sections, grp.segments);
  SetStartValues(w);
  MeasureGroup(w, shape, grp);
  const int K = grp.surfaces < BodySlots ? grp.surfaces : BodySlots;
  for (int k = 0; k < K; ++k) FitBodySlot(w, shape, k);
  if (HasFloor(shape)) FitFloor(w);
  FinishGroup(w, shape, grp);
}

float GetFaceLen(const face& f) {
  if (f.vmax < 3) return 0.0f;
  const vector a = GetVector(f.verts[0], f.verts[1]);
  // The sphere's bottom triangle has its base edge from vertex 0 to vertex 2.
  const bool poleTriangle = IsSphere && f.segment == res / 2;
  const vector b = poleTriangle ? GetVector(f.verts[0], f.verts[2]) : GetVector(f.verts[1], f.verts[2]);
  const double c = GetAngleCos(b, a);
  const float t = kvmath::SinOfAcosToFloat(c);  // float(Sin(Acos(c)))
  return static_cast<float>(GetVecLen(a) * t);
}

float AskForValue(float current) {
  float value = current;
  AskTextureScale("[INPUT] Enter new Value:", value);
  return value;
}
