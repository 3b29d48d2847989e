// Which faces and brushes the writers write. A face is written only when
// three of its vertices span a plane, a brush only when at least four of its
// faces do: faces without area (two corners of a ring meet where radii are
// truncated, a radius of 0) and brushes without volume would make a map
// compiler reject the map and a mesh importer make lines and points of them.
// The map and the OBJ writer leave out the same ones; the OBJ writer also
// leaves out a face whose corners, as written, are fewer than three points.
#pragma once

#include <memory>

#include "generation/Brush.h"

class BrushPlanes {
 public:
  // Room for the faces of the group's brush with the most faces.
  explicit BrushPlanes(const bgroup& group);

  // Finds the plane points of every face of the brush; returns whether the
  // brush is written (at least four faces with area).
  bool Find(const brush& b);

  // The three points that give the plane of face j of the brush last found,
  // in the order the map file writes them, or null for a face without area.
  const vertex* const* Of(int j) const { return points_[3 * j] ? &points_[3 * static_cast<size_t>(j)] : nullptr; }

 private:
  std::unique_ptr<const vertex*[]> points_;
};
