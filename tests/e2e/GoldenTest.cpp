// Whole outputs fixed in golden files: small models of every shape, written
// by the real executable from inline templates. Set KORVANE_UPDATE_GOLDEN=1 to
// write the files anew, on purpose only, after checking the difference.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/BrushCheck.h"
#include "support/Process.h"

namespace {

struct Golden {
  std::string name;  // tests/golden/<name>.map and .obj
  std::string templ;
};

const std::vector<Golden>& Goldens() {
  static const std::vector<Golden> goldens = {
      {"cylinder12", R"(shape cylinder
res 12
)"},
      {"cylinder24_wrapped", R"(shape cylinder
res 24
rad 100
1_facealign 1
1_v_wrap 1
1_v_seamless 1
)"},
      {"arch12_sym", R"(shape arch
res 12
sym 1
)"},
      {"arch12_tri_textured", R"(shape arch
res 12
tri 1
1_facealign 1
2_facealign 1
3_facealign 1
1_v_wrap 1
2_v_wrap 1
3_v_wrap 1
3_shear 1
1_rot 90
2_shiftx 16
)"},
      {"torus12_textured", R"(shape torus
res 12
res2 12
1_facealign 1
1_v_wrap 1
1_h_wrap 1
1_h_seamless 1
1_sizex 256
)"},
      {"sphere12_textured", R"(shape sphere
res 12
1_facealign 1
1_v_wrap 1
1_h_wrap 1
1_shear 1
1_rot 180
)"},
      {"htorus12_textured", R"(shape htorus
res 12
res2 12
1_facealign 1
2_facealign 1
3_facealign 1
1_v_wrap 1
2_v_wrap 1
3_v_wrap 1
2_h_wrap 1
1_h_rangesrc 2
rule2 2
nth 3
)"},
  };
  return goldens;
}

std::string GoldenPath(const std::string& file) { return SourceDir() + "/tests/golden/" + file; }

bool Updating() {
  const char* update = std::getenv("KORVANE_UPDATE_GOLDEN");
  return update && std::string(update) == "1";
}

}  // namespace

TEST(Golden, OutputsMatchTheGoldenFiles) {
  for (const Golden& g : Goldens()) {
    TempDir dir;
    dir.Write(g.name + ".kvt", "nomenu 1\nexmap 1\nexobj 1\n" + g.templ);
    const ProcessResult r = RunProgram(Exe64(), {g.name + ".kvt"}, "", dir.path());
    ASSERT_EQ(r.status, 0) << g.name;
    for (const std::string ext : {".map", ".obj"}) {
      const std::string written = dir.Read(g.name + ext);
      if (Updating()) {
        std::ofstream(GoldenPath(g.name + ext), std::ios::binary) << written;
        continue;
      }
      EXPECT_TRUE(written == ReadFile(GoldenPath(g.name + ext))) << g.name << ext << " differs from its golden file";
    }
    const MapCheck check = CheckMapText(dir.Read(g.name + ".map"));
    EXPECT_TRUE(check.ok) << g.name << ": " << check.error;
  }
}
