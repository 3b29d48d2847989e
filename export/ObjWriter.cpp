#include "export/ObjWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "export/BrushPlanes.h"
#include "export/ModelFiles.h"
#include "export/NumberFormat.h"
#include "export/TextOut.h"
#include "generation/Brush.h"
#include "generation/ExportSelection.h"
#include "settings/Settings.h"

namespace {

// Room for one vertex record or one index of a face record.
constexpr size_t kRecordRoom = 3 * (kNumberRoom + 2) + 8;

// Writes one vertex record at p; returns its end.
char* PutVertex(char* p, NumberCache& numbers, const vertex& v) {
  *p++ = 'v';
  *p++ = ' ';
  p = numbers.Put(p, v.x);
  *p++ = ' ';
  p = numbers.Put(p, v.y);
  *p++ = ' ';
  p = numbers.Put(p, v.z);
  *p++ = ' ';
  *p++ = '\n';
  return p;
}

// Whether the text at p begins with the word "-0".
bool IsNegativeZero(const char* p) { return p[0] == '-' && p[1] == '0' && p[2] == ' '; }

// Whether two vertex records give one point to a program that reads them:
// the same text, word by word, where "-0" and "0" are the same number. Two
// coordinates written alike are one point however much the floats differed,
// and distinct texts of six significant digits never read as one float.
bool SamePoint(const char* a, const char* b) {
  for (;;) {
    if (IsNegativeZero(a)) ++a;
    if (IsNegativeZero(b)) ++b;
    while (*a == *b && *a != ' ' && *a != '\n') ++a, ++b;
    if (*a != *b) return false;
    if (*a == '\n') return true;
    ++a, ++b;
  }
}

// The relative indices of a face record, " -1 -2 ... -n": the same for every
// face of n vertices, so the list is written once for the largest face and
// every face record takes its beginning.
struct IndexList {
  explicit IndexList(int largest);
  std::string text;
  std::unique_ptr<size_t[]> ends;  // ends[n]: the length of the list for n vertices
};

IndexList::IndexList(int largest) : ends(std::make_unique<size_t[]>(static_cast<size_t>(largest) + 1)) {
  for (int n = 1; n <= largest; ++n) {
    text += " -";
    text += std::to_string(n);
    ends[n] = text.size();
  }
}

int LargestFace(const bgroup& g) {
  int largest = 0;
  for (int i = 0; i < g.bcount; ++i)
    for (int j = 0; j < g.brushes[i].fcount; ++j) largest = std::max(largest, g.brushes[i].faces[j].vcount);
  return largest;
}

// Room for the records of a face of n vertices: the vertex records and the
// face record with its empty line.
size_t FaceRoom(const IndexList& indices, int n) {
  return static_cast<size_t>(n) * kRecordRoom + indices.ends[n] + 3;
}

// Whether two coordinates can be written alike, a quick test before the
// texts: values that six significant digits write alike differ by at most a
// unit of the sixth digit, a hundred-thousandth of their size, so the bound
// below (twice that) never parts them. A NaN or an infinity, written as 0,
// is left to the texts.
inline bool Near(float a, float b) {
  const double da = a, db = b;
  return !(std::fabs(da - db) > 1e-5 * (std::fabs(da) + std::fabs(db)));
}

// Whether two corners, whose vertex records begin at ra and rb, are one point
// as written. Equal floats are written alike (or as "-0" and "0"); the texts
// decide only for floats that differ but are near each other.
inline bool SameCorner(const vertex& a, const char* ra, const vertex& b, const char* rb) {
  if (!Near(a.x, b.x) || !Near(a.y, b.y) || !Near(a.z, b.z)) return false;
  return (a.x == b.x && a.y == b.y && a.z == b.z) || SamePoint(ra, rb);
}

// One face: its own vertices, then the polygon by relative indices, listed
// from the last vertex written to the first, then an empty line. A corner
// that is the same point as the corner written before it, or as the first
// corner when it comes last, is left out: a polygon that lists a point twice
// (corners on the axis, small circles whose corners meet) triangulates into
// triangles without area, which importers make lines or points of. A face
// left with fewer than three corners is not written at all. The whole face
// is written into the buffer at once, so that corners can be taken back.
void PutFace(TextOut& out, NumberCache& numbers, const IndexList& indices, const face& f) {
  char* const start = out.Room(FaceRoom(indices, f.vcount));
  char* p = start;
  char* last = start;  // the last vertex record kept
  int lastIndex = 0;   // its vertex
  int kept = 0;
  for (int l = 0; l < f.vcount; ++l) {
    char* const end = PutVertex(p, numbers, f.verts[l]);
    if (kept > 0 && SameCorner(f.verts[l], p, f.verts[lastIndex], last)) continue;
    last = p;
    lastIndex = l;
    p = end;
    ++kept;
  }
  // A last corner that is the first point again is taken back; records
  // differ in length, so the one before it is found by its line end.
  if (kept > 1 && SameCorner(f.verts[lastIndex], last, f.verts[0], start)) {
    do {
      p = last;
      --kept;
      last = p - 1;
      while (last > start && last[-1] != '\n') --last;
    } while (kept > 1 && SamePoint(last, start));
  }
  if (kept < 3) return;
  *p++ = 'f';
  std::memcpy(p, indices.text.data(), indices.ends[kept]);
  p += indices.ends[kept];
  *p++ = '\n';
  *p++ = '\n';
  out.Advance(p);
}

}  // namespace

std::string ObjFileName() { return cfpath + cfname + ".obj"; }

void WriteObj(TextOut& out) {
  NumberCache numbers(PutGeneral6);
  if (Group) {
    const IndexList indices(LargestFace(*Group));
    // The faces and brushes that the map file leaves out are left out here too;
    // the group name keeps the brush's index.
    BrushPlanes planes(*Group);
    for (int i = 0; i < Group->bcount; ++i) {
      const brush& b = Group->brushes[i];
      if (!IsBrushSelected(i) || !planes.Find(b)) continue;
      out.Put(std::string("g brush_export"));
      char* p = WriteUnsigned(out.Room(kRecordRoom), static_cast<unsigned long long>(i));
      *p++ = '\n';
      out.Advance(p);
      for (int j = 0; j < b.fcount; ++j)
        if (planes.Of(j)) PutFace(out, numbers, indices, b.faces[j]);
    }
  }
}

bool ExportToObj() { return ExportModelFiles(false, true).obj == FileOutcome::Written; }
