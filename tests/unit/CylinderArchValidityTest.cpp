// Every cylinder and arch that the settings can describe must be written as
// closed convex brushes with outward planes and finite numbers, whatever the
// resolution, symmetry lines, triangulation, radii and texture switches.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "generation/Brush.h"
#include "generation/Generate.h"
#include "settings/Settings.h"
#include "support/BrushCheck.h"
#include "support/GlobalState.h"

// The parameter types have linkage of their own: gtest's factories hold them.
namespace cylinder_arch_validity {

// Texture switches of all three slots.
enum class Texturing { World, Faces, FacesWrapped, FacesWrappedSheared };

const char* Name(Texturing t) {
  switch (t) {
    case Texturing::World: return "world";
    case Texturing::Faces: return "faces";
    case Texturing::FacesWrapped: return "wrapped";
    case Texturing::FacesWrappedSheared: return "sheared";
  }
  return "?";
}

void ApplyTexturing(Texturing t) {
  for (int k = 0; k < SlotCount; ++k) {
    facealign[k] = t != Texturing::World;
    wrapping[k] = t == Texturing::FacesWrapped || t == Texturing::FacesWrappedSheared;
    seamless[k] = wrapping[k] && k != SlotInner;
    Shear[k] = t == Texturing::FacesWrappedSheared;
  }
}

struct Radii {
  float rad, rad2, rad3;
};

struct ValidityCase {
  bool arch;
  int res;
  bool sym, tri;
  Radii radii;
  Texturing texturing;
};

std::ostream& operator<<(std::ostream& os, const ValidityCase& c) {
  return os << (c.arch ? "arch" : "cylinder") << " res " << c.res << (c.sym ? " sym" : "") << (c.tri ? " tri" : "")
            << " rad " << c.radii.rad << "/" << c.radii.rad2 << "/" << c.radii.rad3 << " " << Name(c.texturing);
}

const int Resolutions[] = {12, 24, 48, 96, 192};
const Texturing Texturings[] = {Texturing::World, Texturing::Faces, Texturing::FacesWrapped,
                                Texturing::FacesWrappedSheared};

// Radii that are multiples of 128 give whole-number corners; the others give
// corners with decimal places. An outer radius above 1024 caps the arch's
// height, which otherwise follows rad2, also beyond 1024.
std::vector<ValidityCase> CylinderCases() {
  const float radii[] = {128.0f, 100.0f, 37.0f, 1000.0f, 2000.0f, 1.0f, 0.0f};
  std::vector<ValidityCase> cases;
  // The cylinder ignores symmetry lines and triangulation; they must not harm it.
  for (const int r : Resolutions)
    for (const bool sym : {false, true})
      for (const bool tri : {false, true})
        for (const float rd : radii)
          for (const Texturing t : Texturings) cases.push_back({false, r, sym, tri, {rd, 256.0f, 320.0f}, t});
  return cases;
}

std::vector<ValidityCase> ArchCases() {
  const Radii radii[] = {{128.0f, 256.0f, 320.0f}, {100.0f, 100.0f, 250.0f}, {33.0f, 50.0f, 77.0f},
                         {500.0f, 2000.0f, 900.0f}, {1000.0f, 256.0f, 1100.0f}, {1.0f, 16.0f, 2.0f},
                         {0.0f, 256.0f, 320.0f}};
  std::vector<ValidityCase> cases;
  for (const int r : Resolutions)
    for (const bool sym : {false, true})
      for (const bool tri : {false, true})
        for (const Radii& rd : radii)
          for (const Texturing t : Texturings) cases.push_back({true, r, sym, tri, rd, t});
  return cases;
}

class CylinderArchValidityTest : public ResetSettingsTest, public ::testing::WithParamInterface<ValidityCase> {};

TEST_P(CylinderArchValidityTest, WritesClosedConvexBrushes) {
  const ValidityCase& c = GetParam();
  IsCylinder = !c.arch;
  IsArch = c.arch;
  res = c.res;
  Sym = c.sym;
  Tri = c.tri;
  rad = c.radii.rad;
  rad2 = c.radii.rad2;
  rad3 = c.radii.rad3;
  ApplyTexturing(c.texturing);
  ASSERT_TRUE(Generate());

  // A radius of 0 collapses the cylinder to a point, and the inner prisms of
  // a triangulated arch to slivers without volume: only the numbers must stay
  // finite. The arch without triangulation becomes a ring of wedges.
  const bool degenerate = c.radii.rad == 0.0f && (!c.arch || c.tri);
  const MapCheck check = degenerate ? CheckGroupNumbers() : CheckGroupAsMap();
  EXPECT_TRUE(check.ok) << check.error;
  if (!degenerate) {
    EXPECT_EQ(check.brushes, Group->bcount);
  }
}

INSTANTIATE_TEST_SUITE_P(Cylinder, CylinderArchValidityTest, ::testing::ValuesIn(CylinderCases()));
INSTANTIATE_TEST_SUITE_P(Arch, CylinderArchValidityTest, ::testing::ValuesIn(ArchCases()));

}  // namespace cylinder_arch_validity
