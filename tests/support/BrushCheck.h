// Test support: the brush-validity check. It reads the text of a written map
// file and checks that every brush is a closed convex solid of non-zero
// volume whose every face plane, taken from the three written points in their
// order, faces outward, that no plane is given twice, and that every number
// of the file is finite.
#pragma once

#include <string>

struct MapCheck {
  bool ok = false;
  std::string error;  // the first fault found
  int brushes = 0;    // brushes read
};

// Checks the text of a map file.
MapCheck CheckMapText(const std::string& text);
// Only the number test: every number in the file is finite.
MapCheck CheckMapNumbers(const std::string& text);
// Writes Group with ExportToMap into a temporary directory and checks it.
// cfname and cfpath are restored afterwards.
MapCheck CheckGroupAsMap();
// The same with the number test only, for shapes that cannot be solids.
MapCheck CheckGroupNumbers();
