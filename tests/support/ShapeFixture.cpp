#include "support/ShapeFixture.h"

#include <sstream>

#include "generation/CleanUp.h"
#include "generation/TextureAxes.h"
#include "generation/Texturize.h"
#include "settings/Message.h"

void SelectShapeFlags(shape s) {
  IsCylinder = s == cylinder;
  IsArch = s == arch;
  IsTorus = s == torus;
  IsHTorus = s == htorus;
  IsSphere = s == sphere;
}

const char* ShapeName(shape s) {
  static const char* const names[] = {"cylinder", "arch", "torus", "htorus", "sphere"};
  return names[s];
}

bool SameVertex(const vertex& a, const vertex& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

void SetMesh(const Mesh& m) {
  res = m.res;
  res2 = m.res2;
  Sym = m.sym;
  rad = m.rad;
  rad2 = m.rad2;
  rad3 = m.rad3;
}

std::string Describe(const Mesh& m) {
  std::ostringstream s;
  s << m.res << "/" << m.res2 << (m.sym ? " sym" : "") << " radii " << m.rad << " " << m.rad2 << " " << m.rad3;
  return s.str();
}

void ExpectVertex(const vertex& got, const vertex& want, const std::string& where) {
  EXPECT_EQ(got.x, want.x) << where;
  EXPECT_EQ(got.y, want.y) << where;
  EXPECT_EQ(got.z, want.z) << where;
}

void ExpectVerts(const face& f, std::initializer_list<vertex> want, const std::string& where) {
  ASSERT_EQ(f.vcount, static_cast<int>(want.size())) << where;
  int i = 0;
  for (const vertex& v : want) {
    ExpectVertex(f.verts[i], v, where + " vertex " + std::to_string(i));
    ++i;
  }
}

void ExpectVector(const vector& got, const vector& want, const std::string& where) {
  EXPECT_EQ(got.x, want.x) << where;
  EXPECT_EQ(got.y, want.y) << where;
  EXPECT_EQ(got.z, want.z) << where;
}

void ExpectAxes(const face& f, const face& want, const std::string& where, bool flipHor, bool flipVer) {
  const float h = flipHor ? -1.0f : 1.0f, v = flipVer ? -1.0f : 1.0f;
  ExpectVector(f.vecHor, vector{h * want.vecHor.x, h * want.vecHor.y, h * want.vecHor.z}, where + " vecHor");
  ExpectVector(f.vecVer, vector{v * want.vecVer.x, v * want.vecVer.y, v * want.vecVer.z}, where + " vecVer");
}

face Aligned(const face& f, bool toFace, bool unreversed) {
  face c(f);
  if (unreversed) c.RevOrder();
  c.vecHor = vector{};
  c.vecVer = vector{};
  if (toFace)
    AlignToFace(c);
  else
    AlignToWorld(c);
  return c;
}

float ReducedShift(const face& f, float shift, axis a) {
  face c(f);
  c.rot = 0.0f;
  (a == hor ? c.shiftX : c.shiftY) = shift;
  MiniShift(c, a);
  return a == hor ? c.shiftX : c.shiftY;
}

void ExpectTheBuildFinishes(int slot) {
  G_SizeX[slot] = 256;
  G_SizeY[slot] = 64;
  BuildSizeX[slot] = 64;
  BuildSizeY[slot] = 256;
  Gmessage.clear();
  ASSERT_TRUE(firstrun);
  ASSERT_TRUE(Generate());
  EXPECT_FALSE(firstrun);
  EXPECT_EQ(BuildSizeX[slot], 256);
  EXPECT_EQ(BuildSizeY[slot], 64);
  const std::string built = Gmessage;
  SetMessage(MsgGenerated);
  EXPECT_FALSE(built.empty());
  EXPECT_EQ(built, Gmessage);
}

void ExpectHRangeFace(const HRangeCase& c) {
  res = c.res;
  G_HFMethod[0] = c.method;
  G_HFace[0] = c.stored;
  ASSERT_TRUE(Generate());
  const std::string where = "method " + std::to_string(c.method) + " face " + std::to_string(c.stored) +
                            " res " + std::to_string(c.res);
  EXPECT_EQ(G_HFace[0], c.expected) << where;
  for (int j = 0; j < Group->bcount; ++j) {
    const brush& b = Group->brushes[j];
    for (int i = 0; i < b.fcount; ++i) EXPECT_EQ(b.faces[i].hFace, i == c.expected + 2) << where << " face " << i;
  }
}
