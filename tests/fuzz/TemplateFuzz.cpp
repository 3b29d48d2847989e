// Fuzz target: a template file of arbitrary bytes is read, the shape it
// selects is built at a capped resolution, enlarged when it asks for it, and
// written as map and OBJ files. Any crash, undefined behaviour or hang is a
// finding.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "console/ConsoleInput.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetRun();
  const std::string path = WorkDir() + "/t.kvt";
  {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  if (!LoadTemplate(path)) return 0;
  if (res > kResolutionCap) res = kResolutionCap;
  if (res2 > kResolutionCap) res2 = kResolutionCap;
  cfpath = WorkDir() + "/";
  cfname = "out";
  try {
    Generate();
    if (autoscale && CurrentDeci != 0) Scale(static_cast<float>(n_pow(2, CurrentDeci)), all);
    ExportToMap();
    ExportToObj();
  } catch (const ConsoleEnded&) {
    // A custom scale source asks at the console, whose input is empty here.
  }
  return 0;
}
