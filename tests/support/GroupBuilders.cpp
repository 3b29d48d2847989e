#include "support/GroupBuilders.h"

#include <memory>

#include "settings/Settings.h"

void SetCapacities(int brushes, int faces, int vertices) {
  maxB = brushes;
  maxF = faces;
  maxV = vertices;
}

bgroup& NewGroup(int brushes, int faces) {
  Group = std::make_unique<bgroup>();
  Group->bcount = brushes;
  for (int b = 0; b < brushes; ++b) Group->brushes[b].fcount = faces;
  return *Group;
}

void SetVerts(face& f, std::initializer_list<vertex> vertices) {
  int i = 0;
  for (const vertex& v : vertices) f.verts[i++] = v;
  f.vcount = i;
}

face MakeFace(std::initializer_list<vertex> vertices) {
  face f;
  SetVerts(f, vertices);
  return f;
}

void MakeBox(brush& b, float sx, float sy, float sz) {
  const vertex c[8] = {{0, 0, 0}, {sx, 0, 0}, {sx, sy, 0}, {0, sy, 0},
                       {0, 0, sz}, {sx, 0, sz}, {sx, sy, sz}, {0, sy, sz}};
  const int quads[6][4] = {{1, 2, 3, 0}, {7, 6, 5, 4}, {4, 5, 1, 0}, {6, 7, 3, 2}, {5, 6, 2, 1}, {3, 7, 4, 0}};
  b.fcount = 6;
  for (int f = 0; f < 6; ++f) {
    face& fc = b.faces[f];
    SetVerts(fc, {c[quads[f][0]], c[quads[f][1]], c[quads[f][2]], c[quads[f][3]]});
    fc.texture = TextureName("BOX");
    fc.vecHor = vector{1, 0, 0};
    fc.vecVer = vector{0, -1, 0};
  }
}
