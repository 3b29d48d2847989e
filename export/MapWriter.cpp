#include "export/MapWriter.h"

#include <fstream>
#include <iostream>
#include <string>

#include "export/NumberFormat.h"
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
  if (f.vcount >= 3 && Spans(v[2], v[0], v[1])) {
    points[0] = &v[2];
    points[1] = &v[0];
    points[2] = &v[1];
    return true;
  }
  for (int i = 0; i < f.vcount; ++i)
    for (int j = i + 1; j < f.vcount; ++j)
      for (int k = j + 1; k < f.vcount; ++k)
        if (Spans(v[i], v[j], v[k])) {
          points[0] = &v[i];
          points[1] = &v[j];
          points[2] = &v[k];
          return true;
        }
  return false;
}

void AppendPoint(std::string& out, const vertex& p) {
  out += "( ";
  AppendFixed6(out, p.x);
  out += ' ';
  AppendFixed6(out, p.y);
  out += ' ';
  AppendFixed6(out, p.z);
  out += " ) ";
}

void AppendAxis(std::string& out, const vector& v, float shift) {
  out += "[ ";
  AppendFixed6(out, v.x);
  out += ' ';
  AppendFixed6(out, v.y);
  out += ' ';
  AppendFixed6(out, v.z);
  out += ' ';
  AppendFixed6(out, shift);
  out += " ] ";
}

void AppendFaceLine(std::string& out, const face& f, const vertex* const points[3]) {
  for (int i = 0; i < 3; ++i) AppendPoint(out, *points[i]);
  out += f.texture;
  out += ' ';
  AppendAxis(out, f.vecHor, f.shiftX);
  AppendAxis(out, f.vecVer, f.shiftY);
  AppendFixed6(out, f.rot);
  out += ' ';
  AppendFixed6(out, f.scaleX);
  out += ' ';
  AppendFixed6(out, f.scaleY);
  out += " \n";
}

void AppendBrush(std::string& out, const brush& b) {
  out += "{\n";
  for (int j = 0; j < b.fcount; ++j) {
    const vertex* points[3];
    if (PlanePoints(b.faces[j], points)) AppendFaceLine(out, b.faces[j], points);
  }
  out += "}\n";
}

void AppendHeader(std::string& out) {
  out += "{\n";
  if (last_transfactor != 0.0f) {
    out += "\"scalefactor\" \"";
    AppendFixed6(out, last_transfactor);
    out += "\"\n";
  }
  out += "\"classname\" \"worldspawn\"\n";
  out += "\"sounds\" \"1\"\n";
  out += "\"MaxRange\" \"4096\"\n";
  out += "\"mapversion\" \"220\"\n";
}

// Text is collected in a buffer and written in large pieces.
constexpr size_t kFlushSize = 1 << 20;

}  // namespace

bool ExportToMap() {
  const std::string name = cfpath + cfname + ".map";
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  if (!file) {
    std::cout << "[WARNING] Could not create the file \"" << name << "\"!" << std::endl;
    return false;
  }
  std::string out;
  out.reserve(kFlushSize + 4096);
  AppendHeader(out);
  if (Group) {
    for (int i = 0; i < Group->bcount; ++i) {
      if (!IsBrushSelected(i)) continue;
      AppendBrush(out, Group->brushes[i]);
      if (out.size() >= kFlushSize) {
        file.write(out.data(), static_cast<std::streamsize>(out.size()));
        out.clear();
      }
    }
  }
  out += "}\n\n";
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  file.close();
  if (!file) {
    std::cout << "[WARNING] Could not write the file \"" << name << "\"!" << std::endl;
    return false;
  }
  return true;
}
