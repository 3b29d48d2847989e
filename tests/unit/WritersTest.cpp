#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "export/MapWriter.h"
#include "export/ObjWriter.h"
#include "export/TextOut.h"
#include "generation/Brush.h"
#include "generation/Scale.h"
#include "settings/Settings.h"
#include "support/BrushCheck.h"
#include "support/GlobalState.h"
#include "support/GroupBuilders.h"
#include "support/MenuText.h"
#include "support/Process.h"

namespace {

// Three boxes, written into a temporary directory as "out".
class WritersTest : public ResetSettingsTest {
 protected:
  void SetUp() override {
    ResetSettingsTest::SetUp();
    SetCapacities(3, 7, 12);
    NewGroup(3, 0);
    for (int i = 0; i < 3; ++i) MakeBox(Group->brushes[i], 64, 32, 16);
    cfpath = dir.path() + "/";
    cfname = "out";
  }
  TempDir dir;
};

const char* const kHeader =
    "{\n\"classname\" \"worldspawn\"\n\"sounds\" \"1\"\n\"MaxRange\" \"4096\"\n\"mapversion\" \"220\"\n";

}  // namespace

TEST_F(WritersTest, MapFaceLineWritesVertices201AndEveryNumberWithSixDecimals) {
  // A wedge whose first face is the first side face of the default cylinder;
  // the other faces close it.
  Group->bcount = 1;
  brush& b = Group->brushes[0];
  const vertex p[6] = {{32, 128, 128}, {32, 128, -128}, {96, 96, -128}, {96, 96, 128}, {0, 0, 128}, {0, 0, -128}};
  const int faces[5][4] = {{0, 1, 2, 3}, {3, 4, 0, -1}, {1, 5, 2, -1}, {0, 4, 5, 1}, {2, 5, 4, 3}};
  b.fcount = 5;
  for (int i = 0; i < 5; ++i) {
    face& f = b.faces[i];
    f.vcount = faces[i][3] < 0 ? 3 : 4;
    for (int k = 0; k < f.vcount; ++k) f.verts[k] = p[faces[i][k]];
  }
  face& f = b.faces[0];
  f.texture = TextureName("TNNL_W1218");
  f.vecHor = vector{1, 0, 0};
  f.vecVer = vector{0, 0, -1};
  ASSERT_TRUE(ExportToMap());
  const std::string text = dir.Read("out.map");
  EXPECT_EQ(text.substr(0, text.find('\n', std::string(kHeader).size() + 2) + 1),
            std::string(kHeader) +
                "{\n( 96.000000 96.000000 -128.000000 ) ( 32.000000 128.000000 128.000000 ) "
                "( 32.000000 128.000000 -128.000000 ) TNNL_W1218 [ 1.000000 0.000000 0.000000 0.000000 ] "
                "[ 0.000000 0.000000 -1.000000 0.000000 ] 0.000000 1.000000 1.000000 \n");
  const MapCheck check = CheckMapText(text);
  EXPECT_TRUE(check.ok) << check.error;
  EXPECT_EQ(text.substr(text.size() - 7), " \n}\n}\n\n");
}

TEST_F(WritersTest, MapHeaderCarriesTheScaleFactorOnlyWhenRecorded) {
  D_list = std::make_unique<bool[]>(3);
  D_listSize = 3;
  ASSERT_TRUE(ExportToMap());
  EXPECT_EQ(dir.Read("out.map"), std::string(kHeader) + "}\n\n");
  last_transfactor = 0.125f;
  ASSERT_TRUE(ExportToMap());
  EXPECT_EQ(dir.Read("out.map"), "{\n\"scalefactor\" \"0.125000\"\n" + std::string(kHeader).substr(2) + "}\n\n");
}

TEST_F(WritersTest, SelectionDecidesWhichBrushesAreWritten) {
  D_list = std::make_unique<bool[]>(3);
  D_listSize = 3;
  D_list[0] = D_list[2] = true;
  ASSERT_TRUE(ExportToMap());
  EXPECT_EQ(CheckMapText(dir.Read("out.map")).brushes, 2);
  ASSERT_TRUE(ExportToObj());
  const std::string obj = dir.Read("out.obj");
  EXPECT_NE(obj.find("g brush_export0\n"), std::string::npos);
  EXPECT_EQ(obj.find("g brush_export1\n"), std::string::npos);
  EXPECT_NE(obj.find("g brush_export2\n"), std::string::npos);
}

TEST_F(WritersTest, BoxesPassTheValidityCheck) {
  const MapCheck check = CheckGroupAsMap();
  EXPECT_TRUE(check.ok) << check.error;
  EXPECT_EQ(check.brushes, 3);
}

TEST_F(WritersTest, NegativeZeroIsWrittenWithItsSign) {
  Group->bcount = 1;
  Group->brushes[0].faces[0].vecHor = vector{-0.0f, 1, 0};
  ASSERT_TRUE(ExportToMap());
  EXPECT_NE(dir.Read("out.map").find("[ -0.000000 1.000000 "), std::string::npos);
}

TEST_F(WritersTest, CollapsedFacesKeepAPlaneOrAreLeftOut) {
  Group->bcount = 1;
  brush& b = Group->brushes[0];
  // Face 1 (the top) gets a doubled corner: vertices 0 and 1 coincide, so
  // vertices 2, 0, 1 lie on one line; its plane comes from vertices 0, 2, 3.
  face& top = b.faces[1];
  top.vcount = 5;
  top.verts[4] = top.verts[3];
  top.verts[3] = top.verts[2];
  top.verts[2] = top.verts[1];
  top.verts[1] = top.verts[0];
  // A seventh face without area is left out.
  b.fcount = 7;
  face& line = b.faces[6];
  SetVerts(line, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, 0, 0}});
  line.vecHor = vector{1, 0, 0};
  line.vecVer = vector{0, 0, -1};
  ASSERT_TRUE(ExportToMap());
  const std::string text = dir.Read("out.map");
  EXPECT_NE(text.find("( 0.000000 32.000000 16.000000 ) ( 64.000000 32.000000 16.000000 ) "
                      "( 64.000000 0.000000 16.000000 ) BOX"),
            std::string::npos)
      << text;
  const MapCheck check = CheckMapText(text);
  EXPECT_TRUE(check.ok) << check.error;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5 + 1 + 6 + 1 + 2);
}

TEST_F(WritersTest, BrushesWithoutVolumeAreLeftOut) {
  // Brush 1 collapses onto its bottom: only two of its faces keep an area.
  brush& flat = Group->brushes[1];
  MakeBox(flat, 64, 32, 0);
  ASSERT_TRUE(ExportToMap());
  const MapCheck check = CheckMapText(dir.Read("out.map"));
  EXPECT_TRUE(check.ok) << check.error;
  EXPECT_EQ(check.brushes, 2);
}

TEST_F(WritersTest, ObjWritesEachFaceWithItsOwnVerticesAndRelativeIndices) {
  // A tetrahedron whose first face shows the number format.
  Group->bcount = 1;
  brush& b = Group->brushes[0];
  b.fcount = 4;
  const vertex p[4] = {{128, 32.5f, -0.0f}, {1048576, 0.00001f, 1.0f / 3.0f}, {-1, 0, 100000}, {0, 0, 0}};
  const int faces[4][3] = {{0, 1, 2}, {0, 3, 1}, {1, 3, 2}, {2, 3, 0}};
  for (int i = 0; i < 4; ++i) SetVerts(b.faces[i], {p[faces[i][0]], p[faces[i][1]], p[faces[i][2]]});
  ASSERT_TRUE(ExportToObj());
  const std::string first =
      "g brush_export0\nv 128 32.5 -0 \nv 1.04858e+06 1e-05 0.333333 \nv -1 0 100000 \nf -1 -2 -3\n\n";
  const std::string obj = dir.Read("out.obj");
  EXPECT_EQ(obj.substr(0, first.size()), first);
  EXPECT_EQ(std::count(obj.begin(), obj.end(), 'f'), 4);
}

// The OBJ file leaves out what the map file leaves out: faces whose vertices
// lie on one line or in one point, and brushes left with fewer than four faces
// with area. The other brushes keep their index in the group name.
TEST_F(WritersTest, ObjLeavesOutFacesAndBrushesThatTheMapLeavesOut) {
  SetCapacities(3, 8, 12);
  NewGroup(3, 0);
  for (int i = 0; i < 3; ++i) MakeBox(Group->brushes[i], 64, 32, 16);
  brush& withLines = Group->brushes[0];
  withLines.fcount = 8;
  SetVerts(withLines.faces[6], {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, 0, 0}});  // on one line
  SetVerts(withLines.faces[7], {{5, 5, 5}, {5, 5, 5}, {5, 5, 5}});              // one point
  MakeBox(Group->brushes[1], 64, 32, 0);  // flat: two faces with area
  ASSERT_TRUE(ExportToObj());
  const std::string obj = dir.Read("out.obj");
  EXPECT_EQ(obj.find("g brush_export1\n"), std::string::npos);
  EXPECT_NE(obj.find("g brush_export0\n"), std::string::npos);
  EXPECT_NE(obj.find("g brush_export2\n"), std::string::npos);
  EXPECT_EQ(std::count(obj.begin(), obj.end(), 'f'), 12);  // six faces in each of brushes 0 and 2
  EXPECT_EQ(obj.find("v 2 0 0 "), std::string::npos);
  EXPECT_EQ(obj.find("v 5 5 5 "), std::string::npos);
  ASSERT_TRUE(ExportToMap());
  EXPECT_EQ(CheckMapText(dir.Read("out.map")).brushes, 2);
}

TEST_F(WritersTest, TwelveVertexFaceGivesTwelveRecordsAndOneFaceLine) {
  // The box's bottom with two more corners on each of its four edges.
  Group->bcount = 1;
  brush& b = Group->brushes[0];
  SetVerts(b.faces[0], {{64, 0, 0}, {64, 8, 0}, {64, 16, 0}, {64, 32, 0}, {40, 32, 0}, {20, 32, 0},
                        {0, 32, 0}, {0, 24, 0}, {0, 16, 0}, {0, 0, 0}, {16, 0, 0}, {32, 0, 0}});
  ASSERT_TRUE(ExportToObj());
  const std::string obj = dir.Read("out.obj");
  const std::string bottom = "v 64 0 0 \nv 64 8 0 \nv 64 16 0 \nv 64 32 0 \nv 40 32 0 \nv 20 32 0 \nv 0 32 0 \n"
                             "v 0 24 0 \nv 0 16 0 \nv 0 0 0 \nv 16 0 0 \nv 32 0 0 \n"
                             "f -1 -2 -3 -4 -5 -6 -7 -8 -9 -10 -11 -12\n\n";
  EXPECT_EQ(obj.substr(0, 16 + bottom.size()), "g brush_export0\n" + bottom);
  EXPECT_EQ(std::count(obj.begin(), obj.end(), 'v'), 12 + 5 * 4);
}

// A face lists every point once: a corner that is the same point as the
// corner before it (the last one as the first) is left out, and a face left
// with fewer than three corners is not written. Points are the same when they
// are written alike, as an importer reads them, whatever the floats were.
TEST_F(WritersTest, ObjWritesEveryCornerOfAFaceOnce) {
  const vertex a{64, 0, 0}, b{64, 32, 0}, c{0, 32, 0}, d{0, 0, 0};
  const vertex aAlike{64.00001f, 0, 0};     // written "64 0 0"
  const vertex aApart{64.0001f, 0, 0};      // written "64.0001 0 0"
  const vertex dNegative{-0.0f, 0, -0.0f};  // written "-0 0 -0"
  const vertex dNaN{std::numeric_limits<float>::quiet_NaN(), 0, 0};  // written "0 0 0"
  const char* const triangle = "v 64 0 0 \nv 64 32 0 \nv 0 32 0 \nf -1 -2 -3\n\n";
  const char* const quad = "v 64 0 0 \nv 64 32 0 \nv 0 32 0 \nv 0 0 0 \nf -1 -2 -3 -4\n\n";
  struct Case {
    const char* what;
    std::vector<vertex> corners;
    const char* written;  // the face's records; null: the face is not written
  };
  const Case cases[] = {
      {"every corner once", {a, b, c, d}, quad},
      {"the last corner is the first", {a, b, c, a}, triangle},
      {"runs inside and across the end", {a, a, b, b, b, c, d, a, a}, quad},
      {"floats written alike", {a, b, c, aAlike}, triangle},
      {"floats written apart", {a, b, c, aApart}, "v 64 0 0 \nv 64 32 0 \nv 0 32 0 \nv 64.0001 0 0 \nf -1 -2 -3 -4\n\n"},
      {"zeros of either sign", {d, a, b, dNegative}, "v 0 0 0 \nv 64 0 0 \nv 64 32 0 \nf -1 -2 -3\n\n"},
      {"a NaN, written as 0", {d, a, b, dNaN}, "v 0 0 0 \nv 64 0 0 \nv 64 32 0 \nf -1 -2 -3\n\n"},
      {"two points left", {a, aAlike, c, a}, nullptr},
  };
  Group->bcount = 1;
  face& bottom = Group->brushes[0].faces[0];
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    bottom.vcount = static_cast<int>(k.corners.size());
    for (size_t i = 0; i < k.corners.size(); ++i) bottom.verts[i] = k.corners[i];
    ASSERT_TRUE(ExportToObj());
    const std::string obj = dir.Read("out.obj");
    // The other five faces of the box follow as they are.
    EXPECT_EQ(std::count(obj.begin(), obj.end(), 'f'), k.written ? 6 : 5);
    const std::string first = std::string("g brush_export0\n") + (k.written ? k.written : "v 0 32 16 \n");
    EXPECT_EQ(obj.substr(0, first.size()), first);
  }
}

TEST_F(WritersTest, EmptySelectionGivesAnEmptyObjFile) {
  D_list = std::make_unique<bool[]>(3);
  D_listSize = 3;
  ASSERT_TRUE(ExportToObj());
  EXPECT_TRUE(dir.Exists("out.obj"));
  EXPECT_EQ(dir.Read("out.obj"), "");
}

// A file that cannot be created is reported to the caller, which shows the
// warning; the writers print nothing themselves. Whatever stood under the
// name stays as it was, and no temporary file is left.
TEST_F(WritersTest, FilesThatCannotBeCreatedAreLeftAsTheyWere) {
  struct Case {
    const char* what;
    std::function<void()> prepare;
  };
  const std::string keep = dir.path() + "/keep";
  const Case cases[] = {
      {"missing directory", [&] { cfpath = dir.path() + "/missing/"; }},
      {"directories in the way",
       [&] {
         std::filesystem::create_directory(keep + "/out.map");
         std::filesystem::create_directory(keep + "/out.obj");
       }},
      {"a NUL in the name", [&] { cfname = std::string("out\0x", 5); }},
      {"write-protected files",
       [&] {
         for (const char* name : {"/out.map", "/out.obj"}) {
           std::ofstream(keep + name) << "old";
           std::filesystem::permissions(keep + name, std::filesystem::perms::owner_read);
         }
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(keep);
    std::filesystem::create_directory(keep);
    cfpath = keep + "/";
    cfname = "out";
    c.prepare();
    const std::vector<std::string> before = Entries(keep);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(ExportToMap());
    EXPECT_FALSE(ExportToObj());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(Entries(keep), before);
    for (const char* name : {"/out.map", "/out.obj"}) {
      if (std::filesystem::is_regular_file(keep + name)) {
        EXPECT_EQ(ReadFile(keep + name), "old");
      }
    }
  }
  EXPECT_EQ(CouldNotCreateWarning("maps/a.map"), "[WARNING] Could not create the file \"maps/a.map\"!");
}

// A written file replaces an older one, keeps its permissions and leaves
// nothing else in its directory.
TEST_F(WritersTest, AWrittenFileReplacesTheOldOne) {
  const mode_t mask = umask(022);
  for (const char* name : {"out.map", "out.obj"}) {
    dir.Write(name, "old");
    std::filesystem::permissions(dir.path() + "/" + name, std::filesystem::perms::owner_all);
  }
  ASSERT_TRUE(ExportToMap());
  ASSERT_TRUE(ExportToObj());
  umask(mask);
  EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"out.map", "out.obj"}));
  for (const char* name : {"out.map", "out.obj"}) {
    SCOPED_TRACE(name);
    EXPECT_NE(dir.Read(name), "old");
    struct stat st;
    ASSERT_EQ(stat((dir.path() + "/" + name).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
  }
  EXPECT_EQ(dir.Read("out.map").substr(0, 2), "{\n");
}

// A map compiler divides by the texture scale: no face may be written with a
// scale of 0, however small or broken the computed one is.
TEST_F(WritersTest, NoTextureScaleIsWrittenAsZero) {
  struct Case {
    float scale;
    const char* written;
  };
  const Case cases[] = {
      {0.0f, "0.000001"},      {-0.0f, "-0.000001"},   {1e-30f, "0.000001"},
      {-4e-7f, "-0.000001"},   {0.0000006f, "0.000001"}, {0.000002f, "0.000002"},
      {std::numeric_limits<float>::quiet_NaN(), "1.000000"},
      {-std::numeric_limits<float>::infinity(), "1.000000"},
  };
  Group->bcount = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.written);
    face& f = Group->brushes[0].faces[0];
    f.scaleX = c.scale;
    f.scaleY = c.scale;
    ASSERT_TRUE(ExportToMap());
    const std::string map = dir.Read("out.map");
    EXPECT_NE(map.find(std::string(" ") + c.written + " " + c.written + " \n"), std::string::npos) << map;
    EXPECT_TRUE(CheckMapText(map).ok) << CheckMapText(map).error;
  }
}

TEST_F(WritersTest, NonFiniteValuesNeverReachAFile) {
  Group->bcount = 1;
  face& f = Group->brushes[0].faces[0];
  f.shiftX = std::numeric_limits<float>::quiet_NaN();
  f.scaleY = std::numeric_limits<float>::infinity();
  ASSERT_TRUE(ExportToMap());
  EXPECT_TRUE(CheckMapNumbers(dir.Read("out.map")).ok);
}

TEST_F(WritersTest, ScaleMultipliesWhatTheAttributeSelects) {
  struct Case {
    attr a;
    float x, y, z, sx, sy;
  };
  const Case cases[] = {
      {all, 128, 64, 32, 2, 2},    {coords, 128, 64, 32, 1, 1},  {coordX, 128, 32, 16, 1, 1},
      {coordY, 64, 64, 16, 1, 1},  {coordZ, 64, 32, 32, 1, 1},   {texScale, 64, 32, 16, 2, 2},
      {texScaleX, 64, 32, 16, 2, 1}, {texScaleY, 64, 32, 16, 1, 2}, {static_cast<attr>(99), 64, 32, 16, 1, 1},
  };
  for (const Case& c : cases) {
    MakeBox(Group->brushes[0], 64, 32, 16);
    Group->brushes[0].faces[1].scaleX = Group->brushes[0].faces[1].scaleY = 1.0f;
    Gmessage.clear();
    Scale(2.0f, c.a);
    const face& top = Group->brushes[0].faces[1];  // vertex 1 is (64, 32, 16)
    EXPECT_EQ(top.verts[1].x, c.x) << c.a;
    EXPECT_EQ(top.verts[1].y, c.y) << c.a;
    EXPECT_EQ(top.verts[1].z, c.z) << c.a;
    EXPECT_EQ(top.scaleX, c.sx) << c.a;
    EXPECT_EQ(top.scaleY, c.sy) << c.a;
    EXPECT_FALSE(Gmessage.empty());
  }
}

TEST_F(WritersTest, BrushCheckFindsTheFaultsItIsMeantFor) {
  Group->bcount = 1;
  ASSERT_TRUE(ExportToMap());
  const std::string good = dir.Read("out.map");
  ASSERT_TRUE(CheckMapText(good).ok) << CheckMapText(good).error;
  // The face lines of the one brush: lines 6 to 11 of the file.
  std::vector<std::string> lines = Lines(good);
  auto join = [](const std::vector<std::string>& ls) {
    std::string text;
    for (const auto& l : ls) text += l + "\n";
    return text + "\n";
  };
  lines.pop_back();  // the empty last line is added back by join
  const size_t first = 6, last = 11;
  ASSERT_EQ(lines[first - 1], "{");
  ASSERT_EQ(lines[last + 1], "}");

  std::vector<std::string> flipped = lines;  // two points exchanged: the plane faces inward
  {
    std::string& l = flipped[last];
    const size_t a = l.find(") ( ") + 2;
    const size_t b = l.find(") ( ", a) + 2;
    const size_t c = l.find(") ", b) + 2;
    l = l.substr(0, a) + l.substr(b, c - b) + l.substr(a, b - a) + l.substr(c);
  }
  std::vector<std::string> open = lines;  // one side missing
  open.erase(open.begin() + static_cast<long>(last));
  std::vector<std::string> doubled = lines;  // one plane twice
  doubled.insert(doubled.begin() + static_cast<long>(last), lines[last]);
  std::vector<std::string> nan = lines;  // a number that is not finite
  nan[first].replace(nan[first].find("0.000000 ]"), 8, "nan");

  EXPECT_FALSE(CheckMapText(join(flipped)).ok);
  EXPECT_TRUE(CheckMapNumbers(join(flipped)).ok);
  EXPECT_FALSE(CheckMapText(join(open)).ok);
  EXPECT_FALSE(CheckMapText(join(doubled)).ok);
  EXPECT_FALSE(CheckMapText(join(nan)).ok);
  EXPECT_FALSE(CheckMapNumbers(join(nan)).ok);
  EXPECT_FALSE(CheckMapText(good.substr(0, good.size() - 1)).ok);  // no empty line at the end

  std::vector<std::string> scale0 = lines;  // a Y scale of 0
  scale0[first].replace(scale0[first].rfind("1.000000 "), 9, "0.000000 ");
  EXPECT_FALSE(CheckMapText(join(scale0)).ok);
  EXPECT_FALSE(CheckMapNumbers(join(scale0)).ok);
}

TEST_F(WritersTest, ObjCheckFindsFacesWithoutAreaOrWithACornerTwice) {
  struct Case {
    const char* what;
    const char* text;
    bool ok;
  };
  const Case cases[] = {
      {"a triangle", "g brush_export0\nv 0 0 0 \nv 1 0 0 \nv 0 1 0 \nf -1 -2 -3\n\n", true},
      {"a long thin quad", "v 0 1 0 \nv 0 1 64307 \nv 0.0625 1 64307 \nv 0.0625 1 0 \nf -1 -2 -3 -4\n", true},
      {"corners on one line", "v 0 0 0 \nv 1 0 0 \nv 2 0 0 \nv 1 0 0 \nf -1 -2 -3 -4\n", false},
      {"corners in one point", "v 5 5 5 \nv 5 5 5 \nv 5 5 5 \nf -1 -2 -3\n", false},
      {"two corners", "v 0 0 0 \nv 1 0 0 \nf -1 -2\n", false},
      {"a corner not written", "v 0 0 0 \nv 1 0 0 \nf -1 -2 -3\n", false},
      {"a number not finite", "v 0 0 nan \nv 1 0 0 \nv 0 1 0 \nf -1 -2 -3\n", false},
      {"a corner twice, last and first", "v 0 0 0 \nv 1 0 0 \nv 0 1 0 \nv 0 0 0 \nf -1 -2 -3 -4\n", false},
      {"a corner twice, apart", "v 0 0 0 \nv 1 0 0 \nv 0 0 0 \nv 0 1 0 \nf -1 -2 -3 -4\n", false},
      {"a corner twice, as -0 and 0", "v -0 0 0 \nv 1 0 0 \nv 0 1 0 \nv 0 0 0 \nf -1 -2 -3 -4\n", false},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckObjText(c.text).ok, c.ok) << c.what;
}
