#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "generation/Brush.h"
#include "generation/Circle.h"
#include "generation/Texturize.h"
#include "settings/Settings.h"
#include "support/ConsoleCapture.h"
#include "support/GlobalState.h"
#include "support/GroupBuilders.h"

namespace {

const std::string kPrompt = "[INPUT] Enter new Value:\n";

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// Hand-made groups in the brush order of the builders. Their body faces are
// flat quads whose extents are easy to read off: a wall of width w in a
// section has GetFaceLen w (vertex 0 to 1 across, 1 to 2 at a right angle),
// its edge from vertex 0 to 3 is kEdge03 long and its edge from 1 to 2 kEdge12.
constexpr float kEdge03 = 20.0f;
constexpr float kEdge12 = 30.0f;

void SetWall(face& f, int slot, int s, int g, float width) {
  const float x = width * static_cast<float>(g);
  const float y = 100.0f * static_cast<float>(s);
  SetVerts(f, {{x, y, 0}, {x + width, y, 0}, {x + width, y + kEdge12, 0}, {x, y + kEdge03, 0}});
  f.texId = slot;
  f.segment = g;
  f.wrapped = slot != SlotFloor;
}

class TexturizeTest : public ResetSettingsTest {
 protected:
  void NewGroup(int brushes, int faces, int sections, int segments, int surfaces) {
    SetCapacities(brushes, faces, 4);
    ::NewGroup(brushes, faces);
    Group->sections = sections;
    Group->segments = segments;
    Group->surfaces = surfaces;
  }
  brush& Brush(int b) { return Group->brushes[b]; }
  face& Face(int b, int i) { return Group->brushes[b].faces[i]; }

  // The cylinder at res 12 and rad 128: side face i is face i + 2, from top i,
  // bottom i, bottom i + 1 to top i + 1.
  void MakeCylinder() {
    IsCylinder = true;
    NewGroup(1, 14, 1, 12, 1);
    const circle c = build_circle(12, 128);
    Brush(0).section = 0;
    for (int i = 0; i < 12; ++i) {
      const int n = (i + 1) % 12;
      face& f = Face(0, i + 2);
      SetVerts(f, {{c.x[i], c.y[i], 128}, {c.x[i], c.y[i], -128}, {c.x[n], c.y[n], -128}, {c.x[n], c.y[n], 128}});
      f.texId = SlotOuter;
      f.wrapped = true;
      f.segment = i;
      f.pos = PosFront;
    }
  }
  face& Side(int i) { return Face(0, i + 2); }

  // A torus of S sections of G wall faces (faces 2 .. G + 1 of brush s); the
  // walls of section s have the width width(s); the wall G_HFace[0] is the
  // H-range source.
  void MakeTorus(int S, int G, const std::function<float(int)>& width = [](int) { return 10.0f; }) {
    IsTorus = true;
    NewGroup(S, G + 2, S, G, 1);
    for (int s = 0; s < S; ++s) {
      Brush(s).section = s;
      for (int g = 0; g < G; ++g) {
        face& f = Face(s, g + 2);
        SetWall(f, SlotOuter, s, g, width(s));
        f.hFace = g == G_HFace[0];
      }
    }
  }
  face& Wall(int s, int g) { return Face(s, g + 2); }

  // A hollow torus of S × G cells: face 0 the inner wall, 1 the outer wall,
  // 2 and 3 the cell ends (down, up), 4 and 5 hidden sides.
  void MakeHTorus(int S, int G) {
    IsHTorus = true;
    NewGroup(S * G, 6, S, G, 2);
    for (int s = 0; s < S; ++s) {
      for (int g = 0; g < G; ++g) {
        const int b = s * G + g;
        Brush(b).section = s;
        SetWall(Face(b, 0), SlotInner, s, g, 8.0f);
        Face(b, 0).hFace = g == G_HFace[1];
        SetWall(Face(b, 1), SlotOuter, s, g, 10.0f);
        Face(b, 1).hFace = g == G_HFace[0];
        SetWall(Face(b, 2), SlotFloor, s, g, 4.0f + static_cast<float>(g));
        Face(b, 2).pos = PosDown;
        SetWall(Face(b, 3), SlotFloor, s, g, 4.0f + static_cast<float>(g));
        Face(b, 3).pos = PosUp;
      }
    }
  }

  // An arch of N segments: face 0 the floor, 1 the ceiling (extent 4 + i in
  // segment i), 2 and 3 hidden sides, 4 the inner wall (16 wide), 5 the outer
  // wall (40 wide; the wall widths are their edges from vertex 0 to 3).
  void MakeArch(int N) {
    IsArch = true;
    NewGroup(N, 6, 1, N, 2);
    for (int i = 0; i < N; ++i) {
      Brush(i).section = 0;
      for (int fi = 0; fi < 2; ++fi) {
        face& f = Face(i, fi);
        SetWall(f, SlotFloor, 0, i, 4.0f + static_cast<float>(i));
        f.pos = fi == 0 ? PosDown : PosUp;
      }
      const float ix = 16.0f * static_cast<float>(i), ox = 40.0f * static_cast<float>(i);
      SetVerts(Face(i, 4), {{ix, 0, 9}, {ix, 0, -9}, {ix + 16, 0, -9}, {ix + 16, 0, 9}});
      Face(i, 4).texId = SlotInner;
      SetVerts(Face(i, 5), {{ox, 50, 9}, {ox, 50, -9}, {ox + 40, 50, -9}, {ox + 40, 50, 9}});
      Face(i, 5).texId = SlotOuter;
      for (int fi = 4; fi < 6; ++fi) {
        Face(i, fi).wrapped = true;
        Face(i, fi).segment = i;
      }
    }
  }

  void Run() {
    UseSettingsTextureSizes();
    Texturize();
  }

  // Every scale and shift of the group is finite.
  ::testing::AssertionResult AllFinite() {
    for (int b = 0; b < Group->bcount; ++b) {
      for (int i = 0; i < Brush(b).fcount; ++i) {
        const face& f = Face(b, i);
        if (!std::isfinite(f.scaleX) || !std::isfinite(f.scaleY) || !std::isfinite(f.shiftX) ||
            !std::isfinite(f.shiftY)) {
          return ::testing::AssertionFailure() << "brush " << b << " face " << i << ": scales " << f.scaleX << ", "
                                               << f.scaleY << " shifts " << f.shiftX << ", " << f.shiftY;
        }
      }
    }
    return ::testing::AssertionSuccess();
  }
};

// The running length of the cylinder's side faces along its one section.
const float kCylinderSegLen[12] = {71.5542f, 143.1084f, 207.1084f, 278.6625f, 350.2167f, 414.2167f,
                                   485.7709f, 557.3251f, 621.3251f, 692.8793f, 764.4335f, 828.4335f};

}  // namespace

TEST_F(TexturizeTest, CylinderShiftsRunOnByTheLengthOfTheEarlierSides) {
  wrapping[0] = true;
  MakeCylinder();
  Face(0, 0).shiftX = 7.0f;  // the caps are hidden faces
  Face(0, 0).scaleX = 3.0f;
  for (int g = 0; g < 12; ++g) Side(g).shiftX = 1000.0f;
  Run();
  EXPECT_EQ(Side(0).shiftX, 1000.0f);
  for (int g = 1; g < 12; ++g) EXPECT_NEAR(Side(g).shiftX, 1000.0f - kCylinderSegLen[g - 1], 5e-4) << g;
  for (int g = 0; g < 12; ++g) {
    EXPECT_EQ(Side(g).scaleX, 1.0f) << "one section keeps its scale";
    EXPECT_EQ(Side(g).scaleY, 1.0f);
  }
  EXPECT_EQ(Face(0, 0).shiftX, 7.0f);
  EXPECT_EQ(Face(0, 0).scaleX, 3.0f);
}

TEST_F(TexturizeTest, SeamlessCylinderFitsAWholeNumberOfRepeats) {
  struct Case {
    int wrapam;
    int source;
    float scaleX, scaleY;
  };
  const Case cases[] = {
      {0, ScaleSrcGlobal, 1.0786895f, 1.0f},      {4, ScaleSrcGlobal, 1.6180341f, 1.0f},
      {0, ScaleSrcMatchX, 1.0786895f, 1.0786895f}, {0, ScaleSrcRoundX, 1.0786895f, 1.0f},
      {4, ScaleSrcRoundX, 1.6180341f, 2.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "wrapam " << c.wrapam << " source " << c.source);
    wrapping[0] = seamless[0] = true;
    wrapam[0] = c.wrapam;
    SYMethod[0] = c.source;
    MakeCylinder();
    Side(1).shiftY = 10.0f;
    Run();
    for (int g = 0; g < 12; ++g) {
      EXPECT_FLOAT_EQ(Side(g).scaleX, c.scaleX);
      EXPECT_FLOAT_EQ(Side(g).scaleY, c.scaleY);
    }
    EXPECT_NEAR(Side(1).shiftX, -kCylinderSegLen[0] / c.scaleX, 1e-3);
    EXPECT_FLOAT_EQ(Side(1).shiftY, 10.0f / c.scaleY);
  }
}

// "Round X" takes the nearest whole number; an X scale that rounds to 0 would
// give a scale of 0, which makes the texture infinitely large: the nearest
// whole number apart from 0, of the same sign, is taken instead.
TEST_F(TexturizeTest, RoundedScaleSourceNeverGivesZero) {
  struct Case {
    float scale, rounded;
  };
  const Case cases[] = {{0.25f, 1.0f}, {-0.25f, -1.0f}, {0.49f, 1.0f}, {1.5f, 2.0f}, {-1.6f, -2.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scale);
    // A body slot's Y scale from its X scale.
    ReSettings();
    wrapping[0] = true;
    G_ScaleX[0] = c.scale;
    SYMethod[0] = ScaleSrcRoundX;
    MakeTorus(2, 12);
    Run();
    EXPECT_EQ(Wall(1, 3).scaleY, c.rounded);
    // The floor's X scale from its fitted Y scale, the extent 4 of segment 0
    // over the size times the count (-1 for a negative scale).
    ReSettings();
    wrapping[0] = Hseamless[2] = true;
    Hwrapam[2] = c.scale < 0.0f ? -1 : 1;
    G_SizeY[2] = static_cast<int>(4.0f / std::fabs(c.scale));
    SYMethod[2] = ScaleSrcRoundX;
    MakeArch(12);
    Run();
    EXPECT_EQ(Face(3, 0).scaleX, c.rounded);
  }
}

TEST_F(TexturizeTest, RotatedSlotFitsWithItsSizesExchangedForTheBuildAlone) {
  struct Case {
    float rot;
    float scaleX;  // wrapam 4 over the sizes 256 × 128
  };
  const Case cases[] = {{0, 0.80901706f}, {90, 1.6180341f}, {180, 0.80901706f}, {270, 1.6180341f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rot);
    G_Rot[0] = c.rot;
    G_SizeX[0] = 256;
    G_SizeY[0] = 128;
    wrapping[0] = seamless[0] = true;
    wrapam[0] = 4;
    for (int build = 0; build < 2; ++build) {
      MakeCylinder();
      Run();
      EXPECT_FLOAT_EQ(Side(0).scaleX, c.scaleX) << "build " << build;
    }
    const bool quarter = c.rot == 90 || c.rot == 270;
    EXPECT_EQ(BuildSizeX[0], quarter ? 128 : 256);
    EXPECT_EQ(BuildSizeY[0], quarter ? 256 : 128);
    EXPECT_EQ(G_SizeX[0], 256);
    EXPECT_EQ(G_SizeY[0], 128);
  }
}

TEST_F(TexturizeTest, CustomScaleSourceAsksOncePerSectionOuterSlotFirst) {
  struct Case {
    const char* name;
    bool hollow;
    std::string input;
    int prompts;
  };
  const Case cases[] = {
      {"torus", false, "1 2 3 4 5 6 7 8 9 10 11 12\n", 12},
      {"hollow torus", true, "1 2 3 11 12 13\n", 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetAllGlobals();
    ReSettings();
    SYMethod[0] = SYMethod[1] = ScaleSrcCustom;
    SYMethod[2] = ScaleSrcCustom;  // the floor's custom source asks nothing
    wrapping[0] = true;
    if (c.hollow) {
      MakeHTorus(3, 4);
    } else {
      MakeTorus(12, 12);
    }
    const ConsoleResult r = WithConsole(c.input, [&] { Run(); });
    EXPECT_FALSE(r.ended);
    EXPECT_EQ(r.output, Repeat(kPrompt, c.prompts));
    if (c.hollow) {
      for (int s = 0; s < 3; ++s) {
        for (int g = 0; g < 4; ++g) {
          EXPECT_EQ(Face(s * 4 + g, 1).scaleY, static_cast<float>(1 + s)) << "outer wall " << s;
          EXPECT_EQ(Face(s * 4 + g, 0).scaleY, static_cast<float>(11 + s)) << "inner wall " << s;
        }
      }
    } else {
      for (int s = 0; s < 12; ++s) EXPECT_EQ(Wall(s, 5).scaleY, static_cast<float>(1 + s));
    }
  }
}

// The custom prompt refuses 0 as the texture properties menu does, and when
// the console input ends it keeps each section's Y scale as it was, so the
// build goes on; a Y scale of 0 from the settings is kept as well and leaves
// the shifts undivided.
TEST_F(TexturizeTest, CustomScaleSourceRefusesZeroAndKeepsTheScaleAtTheEnd) {
  const std::string zero = "[WARNING] Texture scale must not be 0 !\n";
  struct Case {
    const char* input;
    float settingsScaleY;
    std::string output;
    float scaleY[3];  // of sections 0 to 2
  };
  const Case cases[] = {
      {"0 2 0\n-0 4 8\n", 1.0f, kPrompt + zero + kPrompt + kPrompt + zero + kPrompt + zero + kPrompt + kPrompt,
       {2, 4, 8}},
      {"3\n", 1.5f, Repeat(kPrompt, 3), {3, 1.5f, 1.5f}},
      {"0 0 0\n", 1.0f, Repeat(kPrompt + zero, 3) + kPrompt + Repeat(kPrompt, 2), {1, 1, 1}},
      {"", 0.0f, Repeat(kPrompt, 3), {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    ResetAllGlobals();
    ReSettings();
    Hwrapping[0] = true;
    SYMethod[0] = ScaleSrcCustom;
    G_ScaleY[0] = c.settingsScaleY;
    MakeTorus(3, 4);
    for (int s = 0; s < 3; ++s) Wall(s, 0).shiftY = 5.0f;
    const ConsoleResult r = WithConsole(c.input, [&] { Run(); });
    EXPECT_EQ(r.output, c.output);
    for (int s = 0; s < 3; ++s) EXPECT_EQ(Wall(s, 1).scaleY, c.scaleY[s]) << "section " << s;
    EXPECT_TRUE(AllFinite());
    if (c.scaleY[2] == 0.0f) {
      EXPECT_EQ(Wall(2, 1).shiftY, 5.0f - 2.0f * kEdge12);
    }
  }
}

TEST_F(TexturizeTest, FloorCustomScaleSourceAsksNothing) {
  for (bool hseamless : {false, true}) {
    SCOPED_TRACE(hseamless);
    SYMethod[2] = ScaleSrcCustom;
    Hseamless[2] = hseamless;
    wrapping[0] = true;
    MakeArch(12);
    const ConsoleResult r = WithConsole("", [&] { Run(); });
    EXPECT_FALSE(r.ended);
    EXPECT_EQ(r.output, "");
    EXPECT_EQ(Face(3, 1).scaleX, 1.0f);
  }
}

TEST_F(TexturizeTest, VerticalShiftRunsOnAcrossTheSectionsFromTheSourceFace) {
  struct Case {
    int hface;
    bool shear;
    float edge;  // the source's measured edge: 0-3 on the middle segments, else 1-2
  };
  const Case cases[] = {{2, false, kEdge12}, {5, false, kEdge03}, {0, false, kEdge12}, {8, false, kEdge03},
                        {9, false, kEdge12}, {2, true, 0.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "source " << c.hface << (c.shear ? " sheared" : ""));
    Hwrapping[0] = true;
    Shear[0] = c.shear;
    G_HFace[0] = c.hface;
    MakeTorus(4, 12);
    for (int s = 0; s < 4; ++s) {
      for (int g = 0; g < 12; ++g) Wall(s, g).shiftY = (g == c.hface) ? 5.0f + static_cast<float>(s) : 999.0f;
    }
    Run();
    for (int s = 0; s < 4; ++s) {
      for (int g = 0; g < 12; ++g) {
        const float builder = (g == c.hface) ? 5.0f + static_cast<float>(s) : 999.0f;
        const float expected = c.shear ? builder : 5.0f + static_cast<float>(s) - c.edge * static_cast<float>(s);
        EXPECT_EQ(Wall(s, g).shiftY, expected) << "section " << s << " wall " << g;
      }
    }
  }
}

TEST_F(TexturizeTest, SeamlessHorizontalFittingUsesTheWholeRing) {
  // Twelve sections, each 30 across at the source: 360 around the ring.
  struct Case {
    int hwrapam;
    float scaleY;
    float scaleYFitted;
  };
  const Case cases[] = {{0, 1.0f, 0.9375f}, {2, 1.0f, 1.40625f}, {0, 2.0f, 2.8125f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.hwrapam << " " << c.scaleY);
    wrapping[0] = Hseamless[0] = true;
    Hwrapam[0] = c.hwrapam;
    G_ScaleY[0] = c.scaleY;
    G_HFace[0] = 2;
    MakeTorus(12, 12);
    Run();
    for (int s = 0; s < 12; ++s) EXPECT_EQ(Wall(s, 7).scaleY, c.scaleYFitted);
  }
}

TEST_F(TexturizeTest, SeamlessSectionsShareTheCountAndYSourceOfSectionZero) {
  // Sections 120, 240 and 360 long: section 0 fits round(120 / 128) = 1
  // repeat, and so do the others, each with its own length; the Y scale
  // comes from section 0's X scale 0.9375.
  struct Case {
    int source;
    float scaleY;
  };
  const Case cases[] = {{ScaleSrcMatchX, 0.9375f}, {ScaleSrcRoundX, 1.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    wrapping[0] = seamless[0] = true;
    SYMethod[0] = c.source;
    MakeTorus(3, 12, [](int s) { return 10.0f * static_cast<float>(s + 1); });
    Run();
    for (int s = 0; s < 3; ++s) {
      EXPECT_EQ(Wall(s, 4).scaleX, 120.0f * static_cast<float>(s + 1) / 128.0f);
      EXPECT_EQ(Wall(s, 4).scaleY, c.scaleY);
    }
  }
}

TEST_F(TexturizeTest, SectionsScaleInProportionToTheLastOne) {
  wrapping[0] = true;
  G_ScaleX[0] = 2.0f;
  SYMethod[0] = ScaleSrcMatchX;  // takes the X scale before the proportion
  MakeTorus(4, 12, [](int s) { return 10.0f * static_cast<float>(s + 1); });
  Run();
  for (int s = 0; s < 4; ++s) {
    const float scale = 0.5f * static_cast<float>(s + 1);
    for (int g = 0; g < 12; ++g) {
      EXPECT_EQ(Wall(s, g).scaleX, scale);
      EXPECT_EQ(Wall(s, g).scaleY, 2.0f);
      // The running length 10 (s + 1) g divided by the scale 0.5 (s + 1).
      EXPECT_FLOAT_EQ(Wall(s, g).shiftX, -20.0f * static_cast<float>(g));
    }
  }
}

TEST_F(TexturizeTest, ArchFloorWithoutFlagsTakesTheProportionAndDividedShifts) {
  facealign[0] = wrapping[0] = true;
  G_ScaleX[2] = 2.0f;
  G_ScaleY[2] = 3.0f;
  G_ScaleX[1] = 4.0f;
  MakeArch(12);
  for (int i = 0; i < 12; ++i) {
    for (int fi = 0; fi < 6; ++fi) {
      Face(i, fi).shiftX = 8.0f;
      Face(i, fi).shiftY = 12.0f;
    }
  }
  Run();
  for (int i = 0; i < 12; ++i) {
    SCOPED_TRACE(i);
    const float scaleY = 3.0f * (4.0f + static_cast<float>(i)) / 15.0f;
    for (int fi = 0; fi < 2; ++fi) {
      EXPECT_EQ(Face(i, fi).scaleX, 2.0f);
      EXPECT_FLOAT_EQ(Face(i, fi).scaleY, scaleY);
      EXPECT_EQ(Face(i, fi).shiftX, 4.0f);
      EXPECT_FLOAT_EQ(Face(i, fi).shiftY, 12.0f / scaleY);
    }
    EXPECT_EQ(Face(i, 4).scaleX, 4.0f) << "a slot without wrapping still gets its scales";
    EXPECT_EQ(Face(i, 4).shiftX, 2.0f) << "and its shifts divided, not negated";
    for (int fi = 2; fi < 4; ++fi) {
      EXPECT_EQ(Face(i, fi).shiftX, 8.0f) << "hidden faces are left alone";
      EXPECT_EQ(Face(i, fi).scaleX, 1.0f);
    }
  }
}

TEST_F(TexturizeTest, ArchInnerWallAndFloorRunOnWithTheirSlots) {
  for (bool shear : {false, true}) {
    SCOPED_TRACE(shear);
    wrapping[0] = wrapping[1] = wrapping[2] = true;
    Shear[2] = shear;
    MakeArch(12);
    for (int i = 0; i < 12; ++i) Face(i, 4).shiftX = Face(i, 1).shiftX = 100.0f;
    Run();
    EXPECT_EQ(Face(0, 4).shiftX, -100.0f) << "segment 0 is only negated";
    for (int i = 1; i < 12; ++i) {
      EXPECT_EQ(Face(i, 4).shiftX, -(100.0f - 16.0f * static_cast<float>(i))) << i;
      const float floor = shear ? 100.0f : 100.0f - 40.0f * static_cast<float>(i);
      EXPECT_EQ(Face(i, 1).shiftX, floor) << "the floor follows the outer body, " << i;
    }
  }
}

TEST_F(TexturizeTest, HollowTorusTakesEachSlotsSourceAndRunsItsCellEnds) {
  G_HFace[0] = 0;
  G_HFace[1] = 3;
  Hwrapping[0] = Hwrapping[1] = true;
  wrapping[2] = true;
  MakeHTorus(3, 4);
  for (int s = 0; s < 3; ++s) {
    Face(s * 4 + 0, 1).shiftY = 50.0f + static_cast<float>(s);
    Face(s * 4 + 3, 0).shiftY = 70.0f + static_cast<float>(s);
    for (int g = 0; g < 4; ++g) Face(s * 4 + g, 2).shiftX = Face(s * 4 + g, 3).shiftX = 100.0f;
  }
  Run();
  for (int s = 0; s < 3; ++s) {
    for (int g = 0; g < 4; ++g) {
      const int b = s * 4 + g;
      // Both sources lie outside the middle half of the four segments: edge 1-2.
      EXPECT_EQ(Face(b, 1).shiftY, 50.0f + static_cast<float>(s) - kEdge12 * static_cast<float>(s));
      EXPECT_EQ(Face(b, 0).shiftY, 70.0f + static_cast<float>(s) - kEdge12 * static_cast<float>(s));
      const float run = 10.0f * static_cast<float>(g);  // the outer body's running length
      EXPECT_EQ(Face(b, 3).shiftX, 100.0f - run) << "up";
      EXPECT_EQ(Face(b, 2).shiftX, 100.0f + run) << "down";
    }
  }
}

TEST_F(TexturizeTest, GetFaceLenIsTheDistanceFromTheOppositeLine) {
  struct Case {
    const char* name;
    bool sphere;
    int segment;
    vertex v0, v1, v2;
    float expected;
  };
  const Case cases[] = {
      {"right angle", false, 0, {0, 0, 0}, {4, 0, 0}, {4, 3, 0}, 4.0f},
      {"vertex 0 from the line 1-2", false, 0, {0, 5, 0}, {0, 0, 0}, {10, 0, 0}, 5.0f},
      {"oblique", false, 0, {0, 0, 0}, {2, 7, 0}, {10, 0, 0}, 70.0f / std::sqrt(113.0f)},
      {"sphere band", true, 5, {0, 0, 0}, {2, 7, 0}, {10, 0, 0}, 70.0f / std::sqrt(113.0f)},
      {"sphere bottom triangle: vertex 1 from the line 0-2", true, 6, {0, 0, 0}, {2, 7, 0}, {10, 0, 0}, 7.0f},
  };
  maxV = 4;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IsSphere = c.sphere;
    res = 12;
    face f;
    f.segment = c.segment;
    SetVerts(f, {c.v0, c.v1, c.v2, vertex{}});
    EXPECT_NEAR(GetFaceLen(f), c.expected, 1e-5);
  }
}

// ---- Where the settings or the geometry leave a divisor or a source open ----

TEST_F(TexturizeTest, DivisorsOfZeroLeaveTheValueUnchanged) {
  struct Case {
    const char* name;
    std::function<void()> setup;
    std::string input;
    std::function<void()> check;
  };
  const Case cases[] = {
      {"texture size 0",
       [&] {
         wrapping[0] = seamless[0] = true;
         G_SizeX[0] = 0;
         MakeCylinder();
       },
       "", [&] { EXPECT_EQ(Side(3).scaleX, 1.0f); }},
      {"scale 0 in the settings",
       [&] {
         wrapping[0] = seamless[0] = true;
         G_ScaleX[0] = 0.0f;
         MakeCylinder();
       },
       "",
       [&] {
         EXPECT_EQ(Side(3).scaleX, 0.0f);
         EXPECT_NEAR(Side(1).shiftX, -kCylinderSegLen[0], 5e-4) << "a shift is not divided by 0";
       }},
      {"count rounds to 0",
       [&] {
         wrapping[0] = seamless[0] = true;
         G_SizeX[0] = 100000;
         MakeCylinder();
       },
       "", [&] { EXPECT_EQ(Side(3).scaleX, 1.0f); }},
      {"wrap amount with size 0",
       [&] {
         wrapping[0] = seamless[0] = true;
         wrapam[0] = 4;
         G_SizeX[0] = 0;
         MakeCylinder();
       },
       "", [&] { EXPECT_EQ(Side(3).scaleX, 1.0f); }},
      {"horizontal fitting with size 0",
       [&] {
         wrapping[0] = Hseamless[0] = true;
         G_SizeY[0] = 0;
         MakeTorus(3, 4);
       },
       "", [&] { EXPECT_EQ(Wall(1, 1).scaleY, 1.0f); }},
      {"horizontal fitting with a scale of 0",
       [&] {
         wrapping[0] = Hseamless[0] = true;
         G_ScaleY[0] = 0.0f;
         MakeTorus(3, 4);
       },
       "", [&] { EXPECT_EQ(Wall(1, 1).scaleY, 0.0f); }},
      {"horizontal fitting over a source face of extent 0 with a wrap amount",
       [&] {
         wrapping[0] = Hseamless[0] = true;
         Hwrapam[0] = 6;
         MakeTorus(3, 4);
         for (int s = 0; s < 3; ++s) SetVerts(Wall(s, 0), {{5, 5, 5}, {5, 5, 5}, {5, 5, 5}, {5, 5, 5}});
       },
       "", [&] { EXPECT_EQ(Wall(1, 1).scaleY, 1.0f); }},
      {"last section of length 0",
       [&] {
         wrapping[0] = true;
         MakeTorus(3, 4, [](int s) { return s == 2 ? 0.0f : 10.0f; });
       },
       "", [&] { EXPECT_EQ(Wall(0, 1).scaleX, 1.0f); }},
      {"a section of length 0 before the last",
       [&] {
         wrapping[0] = true;
         MakeTorus(3, 4, [](int s) { return s == 1 ? 0.0f : 10.0f; });
       },
       "", [&] { EXPECT_EQ(Wall(1, 1).scaleX, 1.0f); }},
      {"floor: a segment of extent 0 before the last",
       [&] {
         wrapping[0] = true;
         MakeArch(6);
         for (int fi = 0; fi < 2; ++fi) SetWall(Face(2, fi), SlotFloor, 0, 2, 0.0f);
       },
       "", [&] { EXPECT_EQ(Face(2, 1).scaleY, 1.0f); }},
      {"floor: last segment of extent 0",
       [&] {
         wrapping[0] = true;
         MakeArch(6);
         for (int fi = 0; fi < 2; ++fi) SetWall(Face(5, fi), SlotFloor, 0, 5, 0.0f);
       },
       "", [&] { EXPECT_EQ(Face(2, 1).scaleY, 1.0f); }},
      {"floor: seamless with size 0 and horizontal with scale 0",
       [&] {
         wrapping[0] = seamless[2] = Hseamless[2] = true;
         G_SizeX[2] = 0;
         G_ScaleY[2] = 0.0f;
         MakeArch(6);
       },
       "",
       [&] {
         EXPECT_EQ(Face(2, 1).scaleX, 1.0f);
         EXPECT_EQ(Face(2, 1).scaleY, 0.0f);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetAllGlobals();
    ReSettings();
    c.setup();
    const ConsoleResult r = WithConsole(c.input, [&] { Run(); });
    EXPECT_FALSE(r.ended);
    EXPECT_TRUE(AllFinite());
    c.check();
  }
}

TEST_F(TexturizeTest, CollapsedFacesMeasureNothing) {
  // Section 1's wall 3 has all its corners on one point: its extent is
  // undefined and counts as 0.
  wrapping[0] = true;
  MakeTorus(3, 12);
  const vertex p{5, 5, 5};
  SetVerts(Wall(1, 3), {p, p, p, p});
  Run();
  EXPECT_TRUE(AllFinite());
  EXPECT_EQ(Wall(0, 5).shiftX, -50.0f);
  // Section 1 runs to 110 instead of 120, and its scale follows.
  const float scale = 110.0f / 120.0f;
  EXPECT_FLOAT_EQ(Wall(1, 5).scaleX, scale);
  EXPECT_FLOAT_EQ(Wall(1, 5).shiftX, -40.0f / scale);
  EXPECT_FLOAT_EQ(Wall(1, 3).shiftX, -30.0f / scale);

  // A hollow torus whose last cell end in section 0 is collapsed.
  ResetAllGlobals();
  ReSettings();
  wrapping[2] = true;
  G_ScaleY[2] = 2.0f;
  MakeHTorus(2, 4);
  SetVerts(Face(3, 3), {p, p, p, p});
  Run();
  EXPECT_TRUE(AllFinite());
  EXPECT_EQ(Face(1, 3).scaleY, 2.0f) << "no proportion against an extent of 0";
  EXPECT_FLOAT_EQ(Face(5, 3).scaleY, 2.0f * 5.0f / 7.0f);
}

TEST_F(TexturizeTest, SourceNumbersBeyondTheBrushOrSectionAreNotRead) {
  struct Case {
    const char* name;
    bool hollow;
    int hface;
    int flagged;  // the wall that carries the source flag, -1 for none
    float source;
  };
  const Case cases[] = {
      {"torus, past the brush's faces", false, 12, -1, 0.0f},
      {"torus, far past", false, 1000, -1, 0.0f},
      {"torus, negative", false, -3, -1, 0.0f},
      {"torus, flag on the last wall", false, 14, 11, 7.0f},
      {"hollow torus, into the next section", true, 4, -1, 0.0f},
      {"hollow torus, past the group", true, 100, -1, 0.0f},
      {"hollow torus, flag on the last wall", true, 9, 3, 7.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetAllGlobals();
    ReSettings();
    Hwrapping[0] = Hwrapping[1] = true;
    wrapping[0] = true;
    G_HFace[0] = G_HFace[1] = c.hface;
    const int G = c.hollow ? 4 : 12;
    if (c.hollow) {
      MakeHTorus(3, 4);
    } else {
      MakeTorus(3, 12);
    }
    auto wall = [&](int s, int g) -> face& { return c.hollow ? Face(s * G + g, 1) : Wall(s, g); };
    for (int s = 0; s < 3; ++s) {
      for (int g = 0; g < G; ++g) {
        wall(s, g).hFace = g == c.flagged;
        wall(s, g).shiftY = g == c.flagged ? c.source : 0.0f;
      }
    }
    Run();
    for (int s = 0; s < 3; ++s) {
      const float expected = c.flagged < 0 ? 0.0f : c.source - kEdge12 * static_cast<float>(s);
      EXPECT_EQ(wall(s, 1).shiftY, expected) << "section " << s;
    }
  }
}
