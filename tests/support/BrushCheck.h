// Test support: the brush-validity check. It reads the text of a written map
// file and checks that every brush is a closed convex solid of non-zero
// volume whose every face plane, taken from the three written points in their
// order, faces outward, that no plane is given twice, that no face has a zero
// texture axis or a texture scale of 0, and that every number of the file is
// finite. A second check reads an OBJ file.
#pragma once

#include <string>

struct MapCheck {
  bool ok = false;
  std::string error;  // the first fault found
  int brushes = 0;    // brushes read
};

// Checks the text of a map file.
MapCheck CheckMapText(const std::string& text);
// Only the tests of every face line: every number in the file is finite, no
// texture axis or scale is 0.
MapCheck CheckMapNumbers(const std::string& text);
// Writes Group with ExportToMap into a temporary directory and checks it.
// cfname and cfpath are restored afterwards.
MapCheck CheckGroupAsMap();
// The same with the number test only, for shapes that cannot be solids.
MapCheck CheckGroupNumbers();

struct ObjCheck {
  bool ok = false;
  std::string error;  // the first fault found
  int groups = 0;     // brush groups read
  int faces = 0;      // face records read
};

// Checks the text of an OBJ file: every record is a group, a vertex with
// finite coordinates or a face over the vertices written just before it, and
// every face has at least three vertices that do not lie on one line, none of
// them listed twice.
ObjCheck CheckObjText(const std::string& text);
