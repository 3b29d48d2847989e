#include "export/MapWriter.h"

#include <algorithm>
#include <memory>
#include <string>

#include "export/NumberFormat.h"
#include "export/TextOut.h"
#include "generation/Brush.h"
#include "generation/ExportSelection.h"
#include "settings/Settings.h"

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

// Room for one face line apart from its texture name: 3 points, 2 axes with
// shifts and 3 more numbers, each with its separators.
constexpr size_t kLineRoom = 20 * (kNumberRoom + 4);

char* PutText(char* p, const char* text) {
  while (*text) *p++ = *text++;
  return p;
}

char* PutPoint(NumberCache& numbers, char* p, const vertex& v) {
  p = PutText(p, "( ");
  p = numbers.Put(p, v.x);
  *p++ = ' ';
  p = numbers.Put(p, v.y);
  *p++ = ' ';
  p = numbers.Put(p, v.z);
  return PutText(p, " ) ");
}

char* PutAxis(NumberCache& numbers, char* p, const vector& v, float shift) {
  p = PutText(p, "[ ");
  p = numbers.Put(p, v.x);
  *p++ = ' ';
  p = numbers.Put(p, v.y);
  *p++ = ' ';
  p = numbers.Put(p, v.z);
  *p++ = ' ';
  p = numbers.Put(p, shift);
  return PutText(p, " ] ");
}

void PutFaceLine(TextOut& out, NumberCache& numbers, const face& f, const vertex* const points[3]) {
  char* p = out.Room(kLineRoom);
  for (int i = 0; i < 3; ++i) p = PutPoint(numbers, p, *points[i]);
  out.Advance(p);
  out.Put(f.texture.str());
  p = out.Room(kLineRoom);
  *p++ = ' ';
  p = PutAxis(numbers, p, f.vecHor, f.shiftX);
  p = PutAxis(numbers, p, f.vecVer, f.shiftY);
  p = numbers.Put(p, f.rot);
  *p++ = ' ';
  p = numbers.Put(p, f.scaleX);
  *p++ = ' ';
  p = numbers.Put(p, f.scaleY);
  p = PutText(p, " \n");
  out.Advance(p);
}

// A brush needs at least four faces with area to enclose a volume.
constexpr int kMinFaces = 4;

// Writes the brush, leaving out its faces without area. A brush left with
// fewer than four faces has no volume (a radius of 0 collapses it) and would
// make a map compiler reject the whole map; it is not written.
// points holds room for three points of every face of the brush.
void PutBrush(TextOut& out, NumberCache& numbers, const brush& b, const vertex** points) {
  int withArea = 0;
  for (int j = 0; j < b.fcount; ++j) {
    if (PlanePoints(b.faces[j], points + 3 * j)) ++withArea;
    else points[3 * j] = nullptr;
  }
  if (withArea < kMinFaces) return;
  out.Put("{\n", 2);
  for (int j = 0; j < b.fcount; ++j)
    if (points[3 * j]) PutFaceLine(out, numbers, b.faces[j], points + 3 * j);
  out.Put("}\n", 2);
}

void PutHeader(TextOut& out) {
  out.Put("{\n", 2);
  if (last_transfactor != 0.0f) {
    out.Put(std::string("\"scalefactor\" \""));
    out.Advance(PutFixed6(out.Room(kNumberRoom), last_transfactor));
    out.Put("\"\n", 2);
  }
  out.Put(std::string("\"classname\" \"worldspawn\"\n"));
  out.Put(std::string("\"sounds\" \"1\"\n"));
  out.Put(std::string("\"MaxRange\" \"4096\"\n"));
  out.Put(std::string("\"mapversion\" \"220\"\n"));
}

}  // namespace

std::string MapFileName() { return cfpath + cfname + ".map"; }

bool ExportToMap() {
  TextOut out;
  if (!out.Open(MapFileName())) return false;
  PutHeader(out);
  NumberCache numbers(PutFixed6);
  if (Group) {
    int faces = 0;
    for (int i = 0; i < Group->bcount; ++i) faces = std::max(faces, Group->brushes[i].fcount);
    const auto points = std::make_unique<const vertex*[]>(3 * static_cast<size_t>(faces));
    for (int i = 0; i < Group->bcount; ++i)
      if (IsBrushSelected(i)) PutBrush(out, numbers, Group->brushes[i], points.get());
  }
  out.Put("}\n\n", 3);
  return out.Close();
}
