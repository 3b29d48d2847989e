#include "generation/BaseShift.h"

#include "generation/PortableMath.h"
#include "generation/TextureAxes.h"
#include "generation/VectorMath.h"
#include "settings/Settings.h"

namespace {

// The three points the shift is measured on.
struct ShiftPoints {
  vertex P0, P1, P2;
};

// A vertex as the direction from the origin to it.
vector FromZero(const vertex& p) { return GetVector(Zero, p); }

float Length(const vector& v) { return static_cast<float>(GetVecLen(v)); }

float Cosine(const vector& a, const vector& b) { return static_cast<float>(GetAngleCos(a, b)); }

float Product(float a, float b) { return static_cast<float>(static_cast<double>(a) * b); }

bool IsCellEnd(const face& f) { return IsHTorus && f.texId == SlotFloor; }

// The face's vertex i. A three-vertex face has no vertex 3: its last vertex,
// which closes the polygon as vertex 3 closes a four-sided one, stands in, so
// that the three points span the face's own plane.
const vertex& Vertex(const face& f, int i) {
  if (i == 3 && f.vcount == 3) return f.verts[2];
  return f.verts[i];
}

ShiftPoints Points(const face& f, int i0, int i1, int i2) {
  return ShiftPoints{Vertex(f, i0), Vertex(f, i1), Vertex(f, i2)};
}

ShiftPoints ChoosePoints(const face& f, axis ax) {
  if (ax != hor) {
    if (IsSphere && f.segment == res / 2) return Points(f, 0, 1, 2);
    return Points(f, 0, 1, 3);
  }
  if (IsCellEnd(f)) return Shear[SlotFloor] ? Points(f, 1, 0, 2) : Points(f, 2, 3, 1);
  if (f.verts[0].z >= 0.0f) return Points(f, 1, 0, 2);
  return Points(f, 0, 1, 3);
}

// The horizontal shift of a cell end of the hollow torus.
float CellEndShift(const face& f, const ShiftPoints& p) {
  if (Shear[SlotFloor]) {
    const vertex I = GetLineInt(p.P2, GetVector(p.P0, p.P1), Zero, f.vecHor);
    const float x = Length(FromZero(I));
    return p.P0.z < 0.0f ? -x : x;
  }
  // The component of P0 along the edge from P0 to P2.
  const vector D = FromZero(p.P0);
  return Product(Cosine(D, GetVector(p.P0, p.P2)), Length(D));
}

// One row (a, b, c, d) of the oblique solve.
equation Row(float a, float b, float d) {
  equation e;
  e.a = a;
  e.b = b;
  e.d = d;
  return e;
}

// Which column an elimination removes.
enum class Column { A, B };

struct Elimination {
  int i = 0, j = 0;
  Column column = Column::B;
  equation E2;
};

// Two rows that already have a zero in one column and differ in the other
// and in d: the first of these pairs is solved directly.
bool SpecialCase(const equation rows[3], Elimination& el) {
  static const int pairs[3][2] = {{0, 1}, {1, 2}, {0, 2}};
  for (const Column column : {Column::B, Column::A}) {
    for (const auto& pr : pairs) {
      const equation& ri = rows[pr[0]];
      const equation& rj = rows[pr[1]];
      const bool zeros = column == Column::B ? (ri.b == 0.0f && rj.b == 0.0f) : (ri.a == 0.0f && rj.a == 0.0f);
      const bool otherDiffer = column == Column::B ? ri.a != rj.a : ri.b != rj.b;
      if (zeros && otherDiffer && ri.d != rj.d) {
        el.i = pr[0];
        el.j = pr[1];
        el.column = column;
        el.E2 = rj;
        return true;
      }
    }
  }
  return false;
}

// Row j scaled so that its entry in the eliminated column matches row i's.
Elimination ScaledRow(const equation rows[3], int i, int j) {
  Elimination el;
  el.i = i;
  el.j = j;
  el.E2 = rows[j];
  const bool useB = !(el.E2.b == 0.0f);  // a NaN counts as not zero
  el.column = useB ? Column::B : Column::A;
  el.E2.divide(useB ? el.E2.b : el.E2.a);
  el.E2.multiply(useB ? rows[i].b : rows[i].a);
  return el;
}

bool Acceptable(const Elimination& el, const equation rows[3]) {
  const float a = el.E2.a;
  if (a > -0.01 && a < 0.01) return false;
  return el.E2.IsValid() && !el.E2.IsEqual(rows[el.j]);
}

// Searches the orders of rows for a usable elimination; the last is taken as
// it comes out.
Elimination SearchElimination(const equation rows[3]) {
  static const int orders[6][2] = {{0, 1}, {0, 2}, {1, 0}, {1, 2}, {2, 1}, {2, 0}};
  for (int n = 0; n < 5; ++n) {
    const Elimination el = ScaledRow(rows, orders[n][0], orders[n][1]);
    if (Acceptable(el, rows)) return el;
  }
  return ScaledRow(rows, orders[5][0], orders[5][1]);
}

// base + dir u, each component in double and rounded to float.
vertex PointOnLine(const vertex& base, const vector& dir, double u) {
  vertex p;
  p.x = static_cast<float>(base.x + dir.x * u);
  p.y = static_cast<float>(base.y + dir.y * u);
  p.z = static_cast<float>(base.z + dir.z * u);
  return p;
}

// Eliminates the chosen column and returns the point S whose distance from R
// is |t| |b|: a s when b was eliminated, R + b t when a was.
vertex EliminatedPoint(const equation rows[3], const Elimination& el, const vector& a, const vector& b,
                       const vertex& R) {
  equation E1 = rows[el.i];
  E1.subtractEQ(el.E2);
  E1.divide(el.column == Column::B ? E1.a : E1.b);
  if (E1.a < 0.0f) E1.multiply(-1.0f);
  const double u = E1.d;
  return el.column == Column::B ? PointOnLine(Zero, a, u) : PointOnLine(R, b, u);
}

// The horizontal shift of a sheared body face, measured along the slanted
// edge P0-P2: R is split into s a + t (-b) along the two edges a = P0 - P1
// and b = P0 - P2, and the result is |t| |b| with the sign of R's side.
float ObliqueShift(const face& f, const ShiftPoints& p, const vertex& R) {
  const vector a = GetVector(p.P1, p.P0);
  const vector b = GetVector(p.P2, p.P0);
  const bool neg = GetVecAng(b, FromZero(R)) > GetVecAng(b, a);

  // A face whose first three vertices share one height has no slant.
  const vertex* v = f.verts.get();
  if (v[0].z == v[1].z && v[1].z == v[2].z) return 0.0f;

  // One row per coordinate; a zero of b stays a positive zero.
  const auto negb = [](float x) { return x == 0.0f ? x : -x; };
  const equation rows[3] = {Row(a.x, negb(b.x), R.x), Row(a.y, negb(b.y), R.y), Row(a.z, negb(b.z), R.z)};
  Elimination el;
  if (!SpecialCase(rows, el)) el = SearchElimination(rows);

  const float x = Length(GetVector(R, EliminatedPoint(rows, el, a, b, R)));
  return neg ? -x : x;
}

bool UsesObliqueSolve(const face& f, axis ax) {
  const int k = f.texId;
  return (IsTorus || IsHTorus || IsSphere) && ax == hor && (k == SlotOuter || k == SlotInner) && Shear[k];
}

// The two results of a base shift.
struct Shifts {
  float X = 0.0f;  // along the edge P0-P2 (hor)
  float Y = 0.0f;  // at right angles to it within the face (ver)
};

// The projection of the origin onto the face's plane; Y is the distance from
// P0 to it along the direction T, X minus the distance across T. Only the
// member of the axis ax is set.
Shifts ProjectedShift(const face& f, axis ax, const ShiftPoints& p) {
  const vector D = FromZero(p.P0);
  const float lenD = Length(D);
  const vector N = Normalize(GetCross(GetVector(p.P1, p.P0), GetVector(p.P2, p.P0)));
  const vector T = Normalize(GetCross(N, GetVector(p.P2, p.P0)));
  const float dist = Product(Cosine(D, N), lenD);

  vertex R;
  R.x = p.P0.x - N.x * dist;
  R.y = p.P0.y - N.y * dist;
  R.z = p.P0.z - N.z * dist;
  const vector G = GetVector(R, Zero);
  const float lenG = Length(G);

  Shifts s;
  if (UsesObliqueSolve(f, ax)) {
    s.X = ObliqueShift(f, p, R);
    return s;
  }
  const float c = Cosine(T, G);
  // Only the shift of the axis asked for is returned: the other one, and its
  // sine of an arc cosine, is not computed.
  if (ax == hor)
    s.X = -Product(kvmath::Sinf(kvmath::Acosf(c)), lenG);
  else
    s.Y = Product(c, lenG);
  return s;
}

float Finite(float value) { return IsValid(value) ? value : 0.0f; }

// Row k = (d_k, e_k, P_k, Q_k) of the line intersection.
equation LineRow(float d, float e, float p, float q) {
  equation r;
  r.a = d;
  r.b = e;
  r.c = p;
  r.d = q;
  return r;
}

// The parameter s on the second line, solved from the coordinate rows i and j:
// (P_j - d_j P_i / d_i) / (e_j - d_j e_i / d_i).
float LineParameter(const equation rows[3], int i, int j) {
  equation E1 = rows[i];
  E1.divide(rows[i].a);
  E1.b = -E1.b;
  const equation& rj = rows[j];
  const float m = Product(rj.a, E1.c);
  const float n = static_cast<float>(rj.b + static_cast<double>(rj.a) * E1.b);
  const float w = rj.c - m;
  return static_cast<float>(static_cast<double>(w) / n);
}

}  // namespace

float GetBaseShift(const face& f, axis ax) {
  const ShiftPoints p = ChoosePoints(f, ax);
  Shifts s;
  if (ax == hor && IsCellEnd(f))
    s.X = CellEndShift(f, p);
  else
    s = ProjectedShift(f, ax, p);
  // Degenerate geometry leaves NaN or infinity; the shift is then 0.
  return ax == hor ? Finite(s.X) : Finite(s.Y);
}

vertex GetLineInt(vertex P, vector d, vertex Q, vector e) {
  const equation rows[3] = {LineRow(d.x, e.x, P.x, Q.x), LineRow(d.y, e.y, P.y, Q.y), LineRow(d.z, e.z, P.z, Q.z)};
  // Pairs of coordinate rows, tried until one gives a finite point.
  static const int pairs[9][2] = {{2, 1}, {0, 2}, {1, 2}, {2, 2}, {0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}};
  vertex candidate;
  for (const auto& pr : pairs) {
    candidate = PointOnLine(Q, e, LineParameter(rows, pr[0], pr[1]));
    if (IsValid(candidate.x)) return candidate;
  }
  return candidate;
}
