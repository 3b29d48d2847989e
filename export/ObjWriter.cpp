#include "export/ObjWriter.h"

#include <algorithm>
#include <memory>
#include <string>

#include "export/BrushPlanes.h"
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

// One face: its own vertices, then the polygon by relative indices, listed
// from the last vertex written to the first, then an empty line.
void PutFace(TextOut& out, NumberCache& numbers, const IndexList& indices, const face& f) {
  for (int l = 0; l < f.vcount; ++l) PutVertex(out, numbers, f.verts[l]);
  out.Put('f');
  if (f.vcount > 0) out.Put(indices.text.data(), indices.ends[f.vcount]);
  out.Put("\n\n", 2);
}

}  // namespace

std::string ObjFileName() { return cfpath + cfname + ".obj"; }

bool WriteObj(TextOut& out) {
  if (!out.Open(ObjFileName())) return false;
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
  return out.Finish();
}

bool ExportToObj() {
  TextOut out;
  return WriteObj(out) && out.Commit();
}
