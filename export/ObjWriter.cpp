#include "export/ObjWriter.h"

#include <fstream>
#include <iostream>
#include <string>

#include "export/NumberFormat.h"
#include "generation/Brush.h"
#include "generation/ExportSelection.h"
#include "settings/Settings.h"

namespace {

// One face: its own vertices, then the polygon by relative indices, listed
// from the last vertex written to the first, then an empty line.
void AppendFace(std::string& out, const face& f) {
  for (int l = 0; l < f.vcount; ++l) {
    out += "v ";
    AppendGeneral6(out, f.verts[l].x);
    out += ' ';
    AppendGeneral6(out, f.verts[l].y);
    out += ' ';
    AppendGeneral6(out, f.verts[l].z);
    out += " \n";
  }
  out += 'f';
  for (int l = 0; l < f.vcount; ++l) {
    out += " -";
    out += std::to_string(l + 1);
  }
  out += "\n\n";
}

constexpr size_t kFlushSize = 1 << 20;

}  // namespace

bool ExportToObj() {
  const std::string name = cfpath + cfname + ".obj";
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  if (!file) {
    std::cout << "[WARNING] Could not create the file \"" << name << "\"!" << std::endl;
    return false;
  }
  std::string out;
  out.reserve(kFlushSize + 4096);
  if (Group) {
    for (int i = 0; i < Group->bcount; ++i) {
      if (!IsBrushSelected(i)) continue;
      out += "g brush_export";
      out += std::to_string(i);
      out += '\n';
      const brush& b = Group->brushes[i];
      for (int j = 0; j < b.fcount; ++j) AppendFace(out, b.faces[j]);
      if (out.size() >= kFlushSize) {
        file.write(out.data(), static_cast<std::streamsize>(out.size()));
        out.clear();
      }
    }
  }
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  file.close();
  if (!file) {
    std::cout << "[WARNING] Could not write the file \"" << name << "\"!" << std::endl;
    return false;
  }
  return true;
}
