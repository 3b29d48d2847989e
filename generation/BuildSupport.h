// Helpers that the shape builders share: the conversion of computed radii to
// whole numbers, the convex outline of a tube's or a sphere's profile, and the
// common last steps of a build.
#pragma once

struct bgroup;
struct face;

#include <map>
#include <utility>

#include "generation/Circle.h"

// Truncation toward zero, saturated at the limits of int: only absurd radii
// reach them, where a plain conversion would be undefined. NaN gives 0.
int TruncatedInt(float value);

// For the closed profile polygon (r[i], z[i]), i = 0 .. n - 1 (n at most the
// capacity of a ring), finds the corners that are strict corners of its convex
// outline: corners first .. last where the polygon turns the other way or runs
// straight on are left out, one after the other, until every corner left
// turns the polygon's way. source[i] is i for a kept corner, else the kept
// corner before it. A profile that is convex as it is keeps every corner.
void ConvexSources(const double* r, const double* z, int n, int first, int last, int* source);

// For the cells between the two surfaces of a hollow tube: corner i of the
// inner profile is (ri[i], zi[i]), of the outer one (ro[i], zo[i]), and cell
// i is the quadrilateral between the inner corners i, i + 1 and the outer
// corners i + 1, i (corner n is corner 0). Where truncated radii make a cell
// concave, line up two of its edges (two faces in one plane) or cross its
// sides, the side at one of its corner pairs is left out: the pair takes the
// corners of the kept pair before it, so the cell before collapses without
// area and the next one spans both. Sides are left out one after the other
// until every cell is convex or has no area. source[i] is i for a kept pair,
// else the kept pair before it. Cells that are sound as they are keep every
// pair.
void CellSources(const double* ri, const double* zi, const double* ro, const double* zo, int n, int* source);

// The wall face, 0-based among the n faces around a tube, whose extent and
// shift are the reference for horizontal wrapping, picked by the H-range
// method: the outer equator, the bottom, the inner equator or the top. Any
// other method (the custom one) keeps the given face. A face beyond the n
// faces (left from a larger resolution or from symmetry lines) or below 0 is
// brought to the nearest one, so every section has its source face.
int TubeHRangeFace(int method, int n, int face);

// The circles of one build, each computed by build_circle once for its
// resolution and radius and handed out again for the same pair. Its only
// other effect, raising CurrentDeci to the circle's decimal places, is the
// same on every call, so one call stands for all.
class CircleCache {
 public:
  const circle& Get(int res, int rad);

 private:
  std::map<std::pair<int, int>, circle> circles_;
};

// The texture pass of one face of a shape whose slots decide the alignment:
// a face of the hidden slot, of a world-aligned slot or with the hidden
// texture's name gets world axes; any other gets face axes. Returns whether
// it got face axes (its base shifts follow).
bool AlignFaceOfSlot(face& f);

// Reverses face 0 of every brush (listed in the order of face 1, which faces
// the other way) and runs the post-pass on the brush.
void ReverseStartFacesAndCleanUp(bgroup& group);

// The last steps of every build but the cylinder's: the export selection,
// the "generated" message, and the object marked current.
void FinishBuild();
