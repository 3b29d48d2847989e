#include "export/ObjWriter.h"

#include <string>

#include "export/NumberFormat.h"
#include "export/TextOut.h"
#include "generation/Brush.h"
#include "generation/ExportSelection.h"
#include "settings/Settings.h"

namespace {

// Room for one vertex record or one index of a face record.
constexpr size_t kRecordRoom = 3 * (kNumberRoom + 2) + 8;

void PutVertex(TextOut& out, NumberCache& numbers, const vertex& v) {
  char* p = out.Room(kRecordRoom);
  *p++ = 'v';
  *p++ = ' ';
  p = numbers.Put(p, v.x);
  *p++ = ' ';
  p = numbers.Put(p, v.y);
  *p++ = ' ';
  p = numbers.Put(p, v.z);
  *p++ = ' ';
  *p++ = '\n';
  out.Advance(p);
}

// One face: its own vertices, then the polygon by relative indices, listed
// from the last vertex written to the first, then an empty line.
void PutFace(TextOut& out, NumberCache& numbers, const face& f) {
  for (int l = 0; l < f.vcount; ++l) PutVertex(out, numbers, f.verts[l]);
  out.Put('f');
  for (int l = 0; l < f.vcount; ++l) {
    char* p = out.Room(kRecordRoom);
    *p++ = ' ';
    *p++ = '-';
    out.Advance(WriteUnsigned(p, static_cast<unsigned long long>(l) + 1));
  }
  out.Put("\n\n", 2);
}

}  // namespace

bool ExportToObj() {
  TextOut out;
  if (!out.Open(cfpath + cfname + ".obj")) return false;
  NumberCache numbers(PutGeneral6);
  if (Group) {
    for (int i = 0; i < Group->bcount; ++i) {
      if (!IsBrushSelected(i)) continue;
      out.Put(std::string("g brush_export"));
      char* p = WriteUnsigned(out.Room(kRecordRoom), static_cast<unsigned long long>(i));
      *p++ = '\n';
      out.Advance(p);
      const brush& b = Group->brushes[i];
      for (int j = 0; j < b.fcount; ++j) PutFace(out, numbers, b.faces[j]);
    }
  }
  return out.Close();
}
