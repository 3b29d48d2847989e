// Models whose faces have area but meet themselves in a corner: corners on
// the axis, small circles whose corners snap to one point, collapsed cells of
// the hollow torus. Their OBJ faces list every corner once, and no face of the
// map file is lost from the OBJ file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/BrushCheck.h"
#include "support/Process.h"

namespace {

// The lines of the text that begin with the prefix.
int CountLines(const std::string& text, const std::string& prefix) {
  int n = text.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
  for (size_t at = text.find("\n" + prefix); at != std::string::npos; at = text.find("\n" + prefix, at + 1)) ++n;
  return n;
}

}  // namespace

TEST(ObjCorners, FacesThatMeetThemselvesListEachCornerOnce) {
  struct Case {
    std::string templ;
    std::string begins;  // the beginning of the OBJ file, where it is fixed
  };
  const std::vector<Case> cases = {
      // The first face, a triangle, once listed its corner on the axis twice,
      // as the first and the last of four.
      {"shape arch\nres 12\nrad 0\nrad2 32\nrad3 64\n",
       "g brush_export0\nv 0 0 -32 \nv 48 48 -32 \nv 16 64 -32 \nf -1 -2 -3\n\n"},
      {"shape torus\nres 48\nres2 48\nrad 8\nrad3 24\n", ""},
      {"shape sphere\nres 96\nrad 8\n", ""},
      {"shape htorus\nres 192\nres2 48\nsym 1\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.templ);
    const std::string text = "nomenu 1\nexmap 1\nexobj 1\n" + c.templ;
    TempDir dir;
    dir.Write("t.kvt", text);
    ASSERT_EQ(RunProgram(Exe64(), {"t.kvt"}, "", dir.path()).status, 0);
    const std::string obj = dir.Read("t.obj");
    const std::string map = dir.Read("t.map");
    const ObjCheck check = CheckObjText(obj);
    EXPECT_TRUE(check.ok) << check.error;
    EXPECT_EQ(obj.substr(0, c.begins.size()), c.begins);
    // Every face and brush of the map file is in the OBJ file ("{" also opens
    // the map's one entity).
    EXPECT_EQ(check.faces, CountLines(map, "( "));
    EXPECT_EQ(check.groups, CountLines(map, "{") - 1);
    if (Exe32().empty()) continue;
    TempDir dir32;
    dir32.Write("t.kvt", text);
    ASSERT_EQ(RunProgram(Exe32(), {"t.kvt"}, "", dir32.path()).status, 0);
    EXPECT_TRUE(dir32.Read("t.obj") == obj);
    EXPECT_TRUE(dir32.Read("t.map") == map);
  }
}
