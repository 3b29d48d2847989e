// Inputs that the template fuzz target found, fed through the same steps as
// there: the bytes before "#console" and its line end as a template file, the
// rest as the console input, then LoadTemplate, the build, the enlargement it
// asks for and both writers. Each once ran into undefined behaviour (reported
// by the sanitizers) or left a number that is not finite in the group, which
// the writers would have written as 0.
#include <gtest/gtest.h>

#include <string>

#include "export/MapWriter.h"
#include "export/ObjWriter.h"
#include "generation/Brush.h"
#include "generation/Circle.h"
#include "generation/Generate.h"
#include "generation/Scale.h"
#include "settings/Settings.h"
#include "settings/Template.h"
#include "support/BrushCheck.h"
#include "support/ConsoleCapture.h"
#include "support/GlobalState.h"
#include "support/GroupCheck.h"
#include "support/Process.h"

namespace {

struct Finding {
  const char* what;
  std::string bytes;
  float topZ;  // height of the first brush's top face
};

class FuzzRegressionTest : public ResetSettingsTest {};

#define BYTES(literal) std::string(literal, sizeof(literal) - 1)

}  // namespace

TEST_F(FuzzRegressionTest, FoundInputsBuildAndExport) {
  const Finding findings[] = {
      // "rad -2147483648": the cylinder's half height was the smallest int,
      // whose negation for the top cap overflowed.
      {"cylinder radius at the smallest int",
       BYTES("nomenu 1\n"
             " console\n"
             ": a rad -2147483648\n"
             "$ rd2a_v_wrap 1\n"
             "\r\r\rf 1\xbf,slota"),
       1024.0f},
      // "shape arch" after a NUL and "rad2 2147483647": the half height,
      // rounded up to 2^31 in float, was converted to int out of range.
      {"arch half height at the largest int",
       BYTES("// Hollow torus built and written without the menu: aRRRx: texture of the outer wall\n"
             "//2_texer wall\xf6\xd0\xd0\xcdnt\n"
             "//1_v_seamless: 1 rad2 2147483647\n"
             "ber of repeats or untadhe 0\n"
             " outer wall\n"
             "//2_facealign: the same for the inner wall\xa0\x99\x9e\xa1" "ealign: the same for the inner wall\n"
             "//2_v_wrap: the same for the inner wa//two triangu\x94" "arsrpis mwrt word on th// Hollow torus "
             "\xffW\xde/\x1f\x7f" "e\x00shape arch\n"
             "\x00" "b"),
       2147483648.0f},
      // The custom scale prompt took 3e38 as the outer walls' Y scale, and
      // the enlargement for the decimal places of the radius 1 (by 2^2) made it
      // infinite.
      {"texture scale near the float limit enlarged",
       BYTES("rad 1shape arch\nautoscale 1\n1_scalesrc 3_facealign 1\n1_v_wrap 1#console\n3e38"), 1024.0f},
  };
  for (const Finding& f : findings) {
    ResetAllGlobals();
    DragAndDrop = true;
    TempDir dir;
    const std::string mark = "#console\n";
    const std::size_t at = f.bytes.find(mark);
    const std::string console = at == std::string::npos ? std::string() : f.bytes.substr(at + mark.size());
    ASSERT_TRUE(LoadTemplate(dir.Write("t.kvt", f.bytes.substr(0, at)))) << f.what;
    cfpath = dir.path() + "/";
    cfname = "out";
    WithConsole(console, [] {
      ASSERT_TRUE(Generate());
      if (autoscale && CurrentDeci != 0) Scale(static_cast<float>(n_pow(2, CurrentDeci)), all);
    });
    std::string where;
    EXPECT_TRUE(GroupIsFinite(&where)) << f.what << ": " << where;
    EXPECT_EQ(Group->brushes[0].faces[1].verts[0].z, f.topZ) << f.what;
    ASSERT_TRUE(ExportToMap()) << f.what;
    ASSERT_TRUE(ExportToObj()) << f.what;
    const MapCheck numbers = CheckMapNumbers(dir.Read("out.map"));
    EXPECT_TRUE(numbers.ok) << f.what << ": " << numbers.error;
    EXPECT_GT(numbers.brushes, 0) << f.what;
    const std::string obj = dir.Read("out.obj");
    EXPECT_EQ(obj.find("nan"), std::string::npos) << f.what;
    EXPECT_EQ(obj.find("inf"), std::string::npos) << f.what;
  }
}
