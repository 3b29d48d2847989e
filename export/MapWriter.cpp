#include "export/MapWriter.h"

#include <cmath>
#include <string>

#include "export/BrushPlanes.h"
#include "export/ModelFiles.h"
#include "export/NumberFormat.h"
#include "export/TextOut.h"
#include "generation/Brush.h"
#include "generation/ExportSelection.h"
#include "settings/Settings.h"

namespace {

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

// The smallest texture scale that six decimals can write.
constexpr float kSmallestScale = 0.000001f;

// A texture scale as the map can hold it. A map compiler divides by the
// scale, so none may be written as 0: a scale too small for six decimals
// (extreme texture sizes or wrap amounts make them) is written as the
// smallest one of its sign, and one that is not finite (the last guard, as
// for every number) as 1.
float WrittenScale(float scale) {
  if (!std::isfinite(scale)) return 1.0f;
  if (std::fabs(scale) < kSmallestScale) return std::copysign(kSmallestScale, scale);
  return scale;
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
  p = numbers.Put(p, WrittenScale(f.scaleX));
  *p++ = ' ';
  p = numbers.Put(p, WrittenScale(f.scaleY));
  p = PutText(p, " \n");
  out.Advance(p);
}

// Writes the brush, leaving out its faces without area; a brush without volume
// (a radius of 0 collapses it) would make a map compiler reject the whole map
// and is not written.
void PutBrush(TextOut& out, NumberCache& numbers, const brush& b, BrushPlanes& planes) {
  if (!planes.Find(b)) return;
  out.Put("{\n", 2);
  for (int j = 0; j < b.fcount; ++j)
    if (const vertex* const* points = planes.Of(j)) PutFaceLine(out, numbers, b.faces[j], points);
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

void WriteMap(TextOut& out) {
  PutHeader(out);
  NumberCache numbers(PutFixed6);
  if (Group) {
    BrushPlanes planes(*Group);
    for (int i = 0; i < Group->bcount; ++i)
      if (IsBrushSelected(i)) PutBrush(out, numbers, Group->brushes[i], planes);
  }
  out.Put("}\n\n", 3);
}

bool ExportToMap() { return ExportModelFiles(true, false).map == FileOutcome::Written; }
