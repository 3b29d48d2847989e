// Test support: building the five shapes with Generate() and comparing what
// the builders give with expected vertices, axes and shifts.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "generation/BaseShift.h"
#include "generation/Brush.h"
#include "generation/Generate.h"
#include "settings/Settings.h"
#include "settings/Shape.h"
#include "support/GlobalState.h"

// Sets the five shape flags only (SetShape also names the object and
// installs the shape's textures).
void SelectShapeFlags(shape s);
// "cylinder", "arch", "torus", "htorus" or "sphere", for messages.
const char* ShapeName(shape s);

// The mesh settings of a build: resolutions, symmetry lines and radii.
struct Mesh {
  int res, res2;
  bool sym;
  float rad, rad2, rad3;
};
void SetMesh(const Mesh& m);
// "res/res2 [sym] radii rad rad2 rad3", for messages.
std::string Describe(const Mesh& m);

// Vertices and vectors equal component by component.
bool SameVertex(const vertex& a, const vertex& b);
void ExpectVertex(const vertex& got, const vertex& want, const std::string& where);
// The face has exactly these vertices in use, in this order.
void ExpectVerts(const face& f, std::initializer_list<vertex> want, const std::string& where);
void ExpectVector(const vector& got, const vector& want, const std::string& where);
// The face's texture axes are those of `want`, each negated where asked.
void ExpectAxes(const face& f, const face& want, const std::string& where, bool flipHor = false,
                bool flipVer = false);

// A copy of the face with cleared axes, given face axes (toFace) or world
// axes as the texture pass gives them; `unreversed` first puts back the
// vertex order the face had then, for faces a builder reverses afterwards.
face Aligned(const face& f, bool toFace, bool unreversed = false);
inline face WorldAligned(const face& f) { return Aligned(f, false); }

// The shift as the post-pass reduces it into the face slot's texture size.
float ReducedShift(const face& f, float shift, axis a);

// Builds the selected shape and checks that the build ends as the sub menu
// expects: the texture sizes that an earlier build left exchanged for the
// slot start again from the settings, the object is current and the message
// is the generated one.
void ExpectTheBuildFinishes(int slot);

// The outer slot's H-range method and stored face for a build at a
// resolution, and the face the build settles on.
struct HRangeCase {
  int method, stored, res, expected;
};
// Builds the selected shape (one whose brushes start with two end faces)
// with the case's settings: the stored face becomes the expected one, and on
// every brush exactly the face after the two end faces that it names is the
// H-range source.
void ExpectHRangeFace(const HRangeCase& c);

// A fixture whose tests build shape S from the state after the driver's
// first reset.
template <shape S>
class ShapeBuildTest : public ResetSettingsTest {
 protected:
  void SetUp() override {
    ResetSettingsTest::SetUp();
    SelectShapeFlags(S);
  }
  // The driver's reset again, with the shape still selected.
  static void Restart() {
    ReSettings();
    SelectShapeFlags(S);
  }
  static void Build() { ASSERT_TRUE(Generate()); }
  static const brush& Brush(int b) { return Group->brushes[b]; }
  static const face& Face(int b, int f) { return Group->brushes[b].faces[f]; }
};
