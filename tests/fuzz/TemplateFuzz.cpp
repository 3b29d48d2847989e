// Fuzz target: a template file of arbitrary bytes is read, the shape it
// selects is built at a capped resolution, enlarged when it asks for it,
// listed and written as map and OBJ files. Whatever follows the first
// "#console" and its line end is the console input, which the custom scale
// source reads; the console ends there. Any crash, undefined behaviour, leak or hang is a
// finding, and so is a NaN or an infinity in the built group: the writers
// would write it as 0 and hide the fault.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "export/Listing.h"
#include "export/MapWriter.h"
#include "export/ObjWriter.h"
#include "generation/Brush.h"
#include "generation/Circle.h"
#include "generation/Generate.h"
#include "generation/Scale.h"
#include "settings/Settings.h"
#include "settings/Template.h"

namespace {

// Resolutions above this are valid but slow to fuzz; they take the same roads.
constexpr int kResolutionCap = 48;

const std::string kConsoleMark = "#console\n";

const std::string& WorkDir() {
  static const std::string dir = [] {
    const std::string d = (std::filesystem::temp_directory_path() / ("korvane-fuzz-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

void ResetRun() {
  ReSettings();
  IsCylinder = IsArch = IsTorus = IsHTorus = IsSphere = false;
  Group.reset();
  Gmessage.clear();
  DragAndDrop = true;
}

bool Finite(float v) { return std::isfinite(v); }
bool Finite(const vertex& v) { return Finite(v.x) && Finite(v.y) && Finite(v.z); }
bool Finite(const vector& v) { return Finite(v.x) && Finite(v.y) && Finite(v.z); }

// Aborts when a face of the group carries a number that is not finite.
void CheckFinite() {
  if (!Group) return;
  const bgroup& g = *Group;
  for (int b = 0; b < g.bcount && b < g.bmax; ++b) {
    const brush& br = g.brushes[b];
    for (int j = 0; j < br.fcount && j < br.fmax; ++j) {
      const face& f = br.faces[j];
      bool ok = Finite(f.vecHor) && Finite(f.vecVer) && Finite(f.shiftX) && Finite(f.shiftY) &&
                Finite(f.rot) && Finite(f.scaleX) && Finite(f.scaleY);
      for (int k = 0; k < f.vcount && k < f.vmax; ++k) ok = ok && Finite(f.verts[k]);
      if (!ok) {
        std::fprintf(stderr, "brush %d face %d holds a number that is not finite\n", b, j);
        std::abort();
      }
    }
  }
}

// The console: an input stream over the text after the mark, and an output
// that goes nowhere.
struct Console {
  std::istringstream in;
  std::streambuf* savedIn;
  std::streambuf* savedOut;
  explicit Console(const std::string& text)
      : in(text), savedIn(std::cin.rdbuf(in.rdbuf())), savedOut(std::cout.rdbuf(nullptr)) {
    std::cin.clear();
  }
  ~Console() {
    std::cin.rdbuf(savedIn);
    std::cout.rdbuf(savedOut);
    std::cin.clear();
    std::cout.clear();
  }
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetRun();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t mark = bytes.find(kConsoleMark);
  const std::string templ = bytes.substr(0, mark);
  const std::string console = mark == std::string::npos ? std::string() : bytes.substr(mark + kConsoleMark.size());
  const std::string path = WorkDir() + "/t.kvt";
  {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(templ.data(), static_cast<std::streamsize>(templ.size()));
  }
  if (!LoadTemplate(path)) return 0;
  if (res > kResolutionCap) res = kResolutionCap;
  if (res2 > kResolutionCap) res2 = kResolutionCap;
  cfpath = WorkDir() + "/";
  cfname = "out";
  Console io(console);
  Generate();
  if (autoscale && CurrentDeci != 0) Scale(static_cast<float>(n_pow(2, CurrentDeci)), all);
  CheckFinite();
  DisplayGen();
  ExportToMap();
  ExportToObj();
  return 0;
}
