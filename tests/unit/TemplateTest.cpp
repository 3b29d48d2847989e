#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "settings/Message.h"
#include "settings/Settings.h"
#include "settings/Shape.h"
#include "settings/Template.h"
#include "support/GlobalState.h"
#include "support/Process.h"

namespace {

int KeyIndex(const std::string& key) {
  for (int i = 0; i < maxset; ++i)
    if (slist[i] == key) return i;
  ADD_FAILURE() << "no key " << key;
  return 0;
}

// Tests start from the state after the driver's first reset and write their
// templates into a fresh directory.
class TemplateTest : public ResetSettingsTest {
 protected:
  bool Load(const std::string& content) { return LoadTemplate(dir_.Write("t.kvt", content)); }
  const std::string& Value(const std::string& key) { return tset[KeyIndex(key)]; }

  TempDir dir_;
};

}  // namespace

TEST(TemplateKeys, TableOrderAndSpelling) {
  const char* const general[] = {"filename", "filepath", "exmap",  "exobj",  "nomenu", "autoscale",
                                 "shape",    "res",      "res2",   "rad",    "rad2",   "rad3",
                                 "sym",      "tri",      "rule1",  "rule2",  "percent", "nth",
                                 "start1",   "end1",     "start2", "end2",   "1_tex",  "2_tex",
                                 "3_tex",    "n_tex"};
  const char* const suffixes[] = {"sizex",      "sizey",    "shiftx",     "shifty",   "scalex",
                                  "scaley",     "rot",      "facealign",  "shear",    "v_wrap",
                                  "v_seamless", "v_wrapam", "h_wrap",     "h_seamless", "h_wrapam",
                                  "scalesrc",   "h_rangesrc", "h_range"};
  ASSERT_EQ(maxset, 80);
  for (int i = 0; i < 26; ++i) EXPECT_EQ(slist[i], general[i]) << i;
  for (int s = 0; s < 3; ++s) {
    for (int o = 0; o < 18; ++o) {
      const int i = 26 + 18 * s + o;
      const std::string expected =
          i == 64 ? "3_hiftx" : std::to_string(s + 1) + "_" + suffixes[o];
      EXPECT_EQ(slist[i], expected) << i;
    }
  }
}

// What the key search gives, one template per row.
TEST_F(TemplateTest, KeySearch) {
  struct Case {
    const char* what;
    std::string content;
    const char* key;
    std::string value;
  };
  const Case cases[] = {
      {"plain", "res 24\n", "res", "24"},
      {"last line without line end", "res\t24", "res", "24"},
      {"blanks and tabs before the value", "res \t  24\n", "res", "24"},
      {"two slashes comment it out", "//res 24\n", "res", ""},
      {"one slash comments it out", "/res 24\n", "res", ""},
      {"a blank after the slashes does not", "// res 24\n", "res", "24"},
      {"a hash does not", "# res 24\n", "res", "24"},
      {"commented first, given later", "//res 48\nres 24\n", "res", "24"},
      {"equals sign is no separator", "res=24\n", "res", ""},
      {"colon is no separator", "res:24\n", "res", ""},
      {"case-sensitive", "RES 24\n", "res", ""},
      {"end of a longer word", "xres 24\n", "res", "24"},
      {"prefix of a longer key", "1_v_wrapam 3\n", "1_v_wrap", ""},
      {"longer key first", "1_v_wrapam 3\n1_v_wrap 1\n", "1_v_wrap", "1"},
      {"the longer key itself", "1_v_wrapam 3\n1_v_wrap 1\n", "1_v_wrapam", "3"},
      {"h_range inside h_rangesrc", "1_h_rangesrc 2\n", "1_h_range", ""},
      {"rad inside rad2", "rad2 256\n", "rad", ""},
      {"res inside res2", "res2 24\n", "res", ""},
      {"value on the next line", "res\n24\n", "res", ""},
      {"first accepted wins although empty", "res\nres 24\n", "res", ""},
      {"key at the very end", "rad 1\nres", "res", ""},
      {"value stops at a slash", "res 24//comment\n", "res", "24"},
      {"value stops at a blank", "res 24 48\n", "res", "24"},
      {"forward slashes cut a path", "filepath C:/maps/\n", "filepath", "C:"},
      {"backslashes stay", "filepath C:\\maps\\\n", "filepath", "C:\\maps\\"},
      {"key in a value: the value", "filename res\nres 24\n", "filename", "res"},
      {"key in a value: the key", "filename res\nres 24\n", "res", ""},
      {"CRLF line end", "filename tube\r\nres 24\r\n", "filename", "tube"},
      {"CRLF, key at line end", "res\r\n24\r\n", "res", ""},
      {"lone CR inside a value", "filename a\rb\r\n", "filename", "a\rb"},
      {"lone CR at the end of the file", "filename tube\r", "filename", "tube\r"},
      {"lone CR after a key", "res\r24\n", "res", "\r24"},
      {"nul byte is a character", std::string("shape a\0b\n", 10), "shape",
       std::string("a\0b", 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(Load(c.content));
    EXPECT_EQ(Value(c.key), c.value);
  }
}

TEST_F(TemplateTest, EmptyFileSelectsTheCylinderWithDefaults) {
  res = 48;
  Sym = true;
  G_SizeX[2] = 5;
  D_nth = 9;
  firstrun = false;
  CurrentDeci = 3;
  tset[22] = "old";
  ASSERT_TRUE(Load(""));
  for (int i = 0; i < maxset; ++i) EXPECT_EQ(tset[i], "") << i;
  EXPECT_TRUE(IsCylinder);
  EXPECT_FALSE(IsArch || IsTorus || IsHTorus || IsSphere);
  EXPECT_TRUE(firstrun);
  EXPECT_EQ(CurrentDeci, 0);
  EXPECT_EQ(res, 12);
  EXPECT_FALSE(Sym);
  EXPECT_EQ(G_SizeX[2], 128);
  EXPECT_EQ(D_nth, 1);
  EXPECT_EQ(tex1, "TNNL_W1218");
  EXPECT_EQ(tex2, "TNNL_W12C17");
  EXPECT_EQ(texn, "NULL");
  EXPECT_EQ(cfname, "generated_cylinder");
  EXPECT_EQ(Gmessage, "");  // the callers post the loaded message
}

// A template giving every key its own value: each lands in its setting.
TEST_F(TemplateTest, EveryKeyLandsInItsSetting) {
  std::string content =
      "filename tube\nfilepath C:\\out\\\nexmap 1\nexobj 1\nnomenu 1\nautoscale 1\n"
      "shape htorus\nres 24\nres2 48\nrad 10\nrad2 20\nrad3 30\nsym 1\ntri 1\n"
      "rule1 2\nrule2 3\npercent 1\nnth 4\nstart1 5\nend1 6\nstart2 7\nend2 8\n"
      "1_tex A\n2_tex B\n3_tex C\nn_tex N\n";
  const char* const shiftX[] = {"1_shiftx", "2_shiftx", "3_hiftx"};
  for (int s = 0; s < 3; ++s) {
    const std::string p = std::to_string(s + 1) + "_";
    const std::string n = std::to_string(s + 1);
    content += p + "sizex 1" + n + "\n" + p + "sizey 2" + n + "\n" + shiftX[s] + " 3" + n +
               ".5\n" + p + "shifty 4" + n + ".5\n" + p + "scalex 5" + n + ".5\n" + p +
               "scaley 6" + n + ".5\n" + p + "rot " + (s == 0 ? "90" : s == 1 ? "180" : "270") +
               "\n" + p + "v_wrapam 7" + n + "\n" + p + "h_wrapam 8" + n + "\n" + p +
               "scalesrc 9" + n + "\n" + p + "h_rangesrc 10" + n + "\n" + p + "h_range 1" + n +
               "\n";
  }
  DragAndDrop = true;  // keeps the template's name through the shape selection
  ASSERT_TRUE(Load(content));
  EXPECT_EQ(cfname, "tube");
  EXPECT_EQ(cfpath, "C:\\out\\");
  EXPECT_TRUE(exmap && exobj && nomenu && autoscale);
  EXPECT_TRUE(IsHTorus);
  EXPECT_EQ(res, 24);
  EXPECT_EQ(res2, 48);
  EXPECT_EQ(rad, 10.0f);
  EXPECT_EQ(rad2, 20.0f);
  EXPECT_EQ(rad3, 30.0f);
  EXPECT_TRUE(Sym && Tri && D_percent);
  EXPECT_EQ(D_method, 2);
  EXPECT_EQ(D_method2, 3);
  EXPECT_EQ(D_nth, 4);
  EXPECT_EQ(D_start, 5);
  EXPECT_EQ(D_end, 6);
  EXPECT_EQ(D_start2, 7);
  EXPECT_EQ(D_end2, 8);
  EXPECT_EQ(tex1, "A");
  EXPECT_EQ(tex2, "B");
  EXPECT_EQ(tex3, "C");
  EXPECT_EQ(texn, "N");
  EXPECT_EQ(def_tex1, "C3A2B_REAC1B");
  const float rot[] = {90.0f, 180.0f, 270.0f};
  for (int s = 0; s < 3; ++s) {
    SCOPED_TRACE(s);
    const int n = s + 1;
    EXPECT_EQ(G_SizeX[s], 10 + n);
    EXPECT_EQ(G_SizeY[s], 20 + n);
    EXPECT_EQ(G_ShiftX[s], static_cast<float>(30 + n) + 0.5f);
    EXPECT_EQ(G_ShiftY[s], static_cast<float>(40 + n) + 0.5f);
    EXPECT_EQ(G_ScaleX[s], static_cast<float>(50 + n) + 0.5f);
    EXPECT_EQ(G_ScaleY[s], static_cast<float>(60 + n) + 0.5f);
    EXPECT_EQ(G_Rot[s], rot[s]);
    EXPECT_EQ(wrapam[s], 70 + n);
    EXPECT_EQ(Hwrapam[s], 80 + n);
    EXPECT_EQ(SYMethod[s], 90 + n);
  }
  // 1-based in the file, 0-based in the settings, within res 24.
  EXPECT_EQ(G_HFMethod[0], 101);
  EXPECT_EQ(G_HFMethod[1], 102);
  EXPECT_EQ(G_HFace[0], 10);
  EXPECT_EQ(G_HFace[1], 11);
}

// Each flag key switches on its own flag, and only with the exact value "1".
TEST_F(TemplateTest, FlagKeys) {
  struct Flag {
    const char* key;
    bool* flag;
  };
  const Flag flags[] = {
      {"exmap", &exmap},           {"exobj", &exobj},
      {"nomenu", &nomenu},         {"autoscale", &autoscale},
      {"sym", &Sym},               {"tri", &Tri},
      {"percent", &D_percent},     {"1_facealign", &facealign[0]},
      {"2_facealign", &facealign[1]}, {"3_facealign", &facealign[2]},
      {"1_shear", &Shear[0]},      {"2_shear", &Shear[1]},
      {"3_shear", &Shear[2]},      {"1_v_wrap", &wrapping[0]},
      {"2_v_wrap", &wrapping[1]},  {"3_v_wrap", &wrapping[2]},
      {"1_v_seamless", &seamless[0]}, {"2_v_seamless", &seamless[1]},
      {"3_v_seamless", &seamless[2]}, {"1_h_wrap", &Hwrapping[0]},
      {"2_h_wrap", &Hwrapping[1]}, {"3_h_wrap", &Hwrapping[2]},
      {"1_h_seamless", &Hseamless[0]}, {"2_h_seamless", &Hseamless[1]},
      {"3_h_seamless", &Hseamless[2]},
  };
  for (const Flag& f : flags) {
    for (const char* value : {"1", "2", "01", "true", "1.0", "-1"}) {
      SCOPED_TRACE(std::string(f.key) + " " + value);
      ASSERT_TRUE(Load(std::string(f.key) + " " + value + "\n"));
      const bool on = std::string(value) == "1";
      for (const Flag& other : flags) EXPECT_EQ(*other.flag, on && other.flag == f.flag) << other.key;
    }
  }
}

// How integer and float words are read, including words that are no number
// or do not fit: those leave the setting at its default.
TEST_F(TemplateTest, NumberWords) {
  struct IntCase {
    const char* line;
    const int* setting;
    int expected;
  };
  const IntCase ints[] = {
      {"1_sizex 24", &G_SizeX[0], 24},
      {"1_sizex 24x", &G_SizeX[0], 24},
      {"1_sizex 1.5", &G_SizeX[0], 1},
      {"1_sizex -3", &G_SizeX[0], -3},
      {"1_sizex +7", &G_SizeX[0], 7},
      {"1_sizex 0", &G_SizeX[0], 0},
      {"1_sizex 0x10", &G_SizeX[0], 0},
      {"1_sizex 2147483647", &G_SizeX[0], INT_MAX},
      {"1_sizex -2147483648", &G_SizeX[0], INT_MIN},
      {"1_sizex abc", &G_SizeX[0], 128},
      {"1_sizex x24", &G_SizeX[0], 128},
      {"1_sizex -", &G_SizeX[0], 128},
      {"1_sizex .5", &G_SizeX[0], 128},
      {"1_sizex 2147483648", &G_SizeX[0], 128},
      {"1_sizex 5000000000", &G_SizeX[0], 128},
      {"1_sizex -2147483649", &G_SizeX[0], 128},
      {"1_sizex 99999999999999999999999999", &G_SizeX[0], 128},
      {"res\r24", &res, 12},  // the lone CR is part of the word
      {"3_sizey -5", &G_SizeY[2], -5},
      {"nth 0", &D_nth, 0},
      {"nth abc", &D_nth, 1},
      {"start2 5000000000", &D_start2, 1},
      {"rule1 9", &D_method, 9},
      {"res 24", &res, 24},
      {"res 192", &res, 192},
      {"res 24x", &res, 24},
      {"res 20", &res, 12},
      {"res 384", &res, 12},
      {"res -12", &res, 12},
      {"res abc", &res, 12},
      {"res 4294967320", &res, 12},  // 2^32 + 24 must not wrap to 24
      {"res2 96", &res2, 96},
      {"res2 13", &res2, 12},
  };
  for (const IntCase& c : ints) {
    SCOPED_TRACE(c.line);
    ASSERT_TRUE(Load(std::string(c.line) + "\n"));
    EXPECT_EQ(*c.setting, c.expected);
  }

  struct FloatCase {
    const char* line;
    const float* setting;
    float expected;
  };
  const FloatCase floats[] = {
      {"rad 100", &rad, 100.0f},
      {"rad 128.5", &rad, 128.0f},  // radii are whole numbers
      {"rad3 1e3", &rad3, 1.0f},
      {"rad -5", &rad, -5.0f},
      {"rad abc", &rad, 128.0f},
      {"rad 99999999999", &rad, 128.0f},
      {"rad2 2147483647", &rad2, 2147483648.0f},
      {"1_shiftx 0.5", &G_ShiftX[0], 0.5f},
      {"1_shiftx -2", &G_ShiftX[0], -2.0f},
      {"1_shiftx 1e2", &G_ShiftX[0], 100.0f},
      {"1_shiftx .25", &G_ShiftX[0], 0.25f},
      {"1_shiftx -.25", &G_ShiftX[0], -0.25f},
      {"1_shiftx 1.5abc", &G_ShiftX[0], 1.5f},
      {"1_shiftx 0.1", &G_ShiftX[0], 0.1f},
      {"1_shiftx abc", &G_ShiftX[0], 0.0f},
      {"2_shifty 7", &G_ShiftY[1], 7.0f},
      {"1_scalex 0", &G_ScaleX[0], 1.0f},
      {"1_scalex -1", &G_ScaleX[0], -1.0f},
      {"1_scalex 3.4e38", &G_ScaleX[0], 3.4e38f},
      {"1_scalex 1e39", &G_ScaleX[0], 1.0f},
      {"1_scalex -1e39", &G_ScaleX[0], 1.0f},
      {"1_scalex 1e400", &G_ScaleX[0], 1.0f},
      {"1_scalex inf", &G_ScaleX[0], 1.0f},
      {"1_scalex -inf", &G_ScaleX[0], 1.0f},
      {"1_scalex infinity", &G_ScaleX[0], 1.0f},
      {"1_scalex nan", &G_ScaleX[0], 1.0f},
      {"1_scalex NaN", &G_ScaleX[0], 1.0f},
      {"1_scalex .", &G_ScaleX[0], 1.0f},
      {"1_scalex -", &G_ScaleX[0], 1.0f},
      {"3_scaley 2.5", &G_ScaleY[2], 2.5f},
      {"3_hiftx 16", &G_ShiftX[2], 16.0f},
      {"3_shiftx 16", &G_ShiftX[2], 0.0f},  // not a key of the floor slot
      {"1_rot 270", &G_Rot[0], 270.0f},
      {"2_rot 90", &G_Rot[1], 90.0f},
      {"3_rot 180", &G_Rot[2], 180.0f},
      {"1_rot 45", &G_Rot[0], 0.0f},
      {"1_rot 090", &G_Rot[0], 0.0f},
      {"1_rot 90.0", &G_Rot[0], 0.0f},
      {"1_rot 90x", &G_Rot[0], 0.0f},
      {"1_rot -90", &G_Rot[0], 0.0f},
  };
  for (const FloatCase& c : floats) {
    SCOPED_TRACE(c.line);
    ASSERT_TRUE(Load(std::string(c.line) + "\n"));
    EXPECT_EQ(*c.setting, c.expected);
  }
}

// A texture scale of 0 is ignored in every slot and on both axes, also when
// it is written otherwise or is too small for a float.
TEST_F(TemplateTest, ScaleZeroIsIgnored) {
  for (int s = 0; s < 3; ++s) {
    for (const char* axis : {"scalex", "scaley"}) {
      for (const char* zero : {"0", "-0", "0.0", "0e5", "1e-50"}) {
        const std::string line = std::to_string(s + 1) + "_" + axis + " " + zero;
        SCOPED_TRACE(line);
        ASSERT_TRUE(Load(line + "\n"));
        EXPECT_EQ(G_ScaleX[s], 1.0f);
        EXPECT_EQ(G_ScaleY[s], 1.0f);
      }
    }
  }
  ASSERT_TRUE(Load("2_scaley 1e-45\n"));  // the smallest float is taken
  EXPECT_GT(G_ScaleY[1], 0.0f);
}

// Names the program does not take count as not given: the setting keeps its
// value, and the shape selection does not bring the texture name back.
TEST_F(TemplateTest, RefusedNamesCountAsNotGiven) {
  struct Case {
    const char* what;
    std::string content;
    const char* key;
    const std::string* setting;
    std::string expected;
    bool taken;  // the value stays in the template values
  };
  DragAndDrop = true;  // the template's own name survives the shape selection
  const std::string nul("a\0b", 3);
  const std::string longest(255, 'x');
  const Case cases[] = {
      {"filename with NUL", "filename " + nul + "\n", "filename", &cfname, "generated_shape", false},
      {"filepath with NUL", "filepath " + nul + "\\\n", "filepath", &cfpath, "", false},
      {"texture with NUL", "1_tex " + nul + "\n", "1_tex", &tex1, "TNNL_W1218", false},
      {"texture with a lone CR", "2_tex a\rb\n", "2_tex", &tex2, "TNNL_W12C17", false},
      {"texture with a control character", "3_tex a\x01\n", "3_tex", &tex3, "TNNL_W12C", false},
      {"texture of 256 bytes", "n_tex " + longest + "y\n", "n_tex", &texn, "NULL", false},
      {"texture of 255 bytes", "n_tex " + longest + "\n", "n_tex", &texn, longest, true},
      {"Quake's texture characters", "1_tex *+{-_09aZ\n", "1_tex", &tex1, "*+{-_09aZ", true},
      {"filename with a lone CR", "filename a\rb\n", "filename", &cfname, "a\rb", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(Load(c.content));
    EXPECT_EQ(*c.setting, c.expected);
    EXPECT_EQ(Value(c.key).empty(), !c.taken);
  }
  // A later shape selection applies the template's texture names again; a
  // refused one does not come back.
  ASSERT_TRUE(Load("1_tex " + nul + "\n"));
  SetShape(sphere);
  EXPECT_EQ(tex1, "ELEV2_DR");
}

// The H-range face is clamped with the resolution in force when it is applied.
TEST_F(TemplateTest, HRangeClampUsesTheResolutionOfTheTemplate) {
  struct Case {
    const char* content;
    int face0;
    int face1;
  };
  const Case cases[] = {
      {"1_h_range 0\n", 0, 0},
      {"1_h_range 1\n", 0, 0},
      {"1_h_range 5\n", 4, 0},
      {"1_h_range 12\n", 11, 0},
      {"1_h_range 13\n", 11, 0},
      {"1_h_range 99\n", 11, 0},             // default res 12
      {"1_h_range 99\nres 24\n", 23, 0},     // res is applied first, wherever it stands
      {"1_h_range 13\nres 24\n", 12, 0},
      {"1_h_range 99\nres 20\n", 11, 0},     // rejected res: the default counts
      {"1_h_range 99\nres2 48\n", 11, 0},    // res2 plays no part
      {"1_h_range -5\n", 0, 0},
      {"1_h_range -2147483648\n", 0, 0},
      {"1_h_range 2147483647\nres 192\n", 191, 0},
      {"1_h_range abc\n", 0, 0},
      {"2_h_range 5\n", 0, 4},
      {"2_h_range 50\nres 48\n", 0, 47},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    ASSERT_TRUE(Load(c.content));
    EXPECT_EQ(G_HFace[0], c.face0);
    EXPECT_EQ(G_HFace[1], c.face1);
  }
}

TEST_F(TemplateTest, FloorSlotHasNoHRangeSource) {
  ASSERT_TRUE(Load("3_h_rangesrc 4\n3_h_range 5\n"));
  EXPECT_EQ(Value("3_h_rangesrc"), "4");
  EXPECT_EQ(Value("3_h_range"), "5");
  EXPECT_EQ(G_HFMethod[0], 0);
  EXPECT_EQ(G_HFMethod[1], 0);
  EXPECT_EQ(G_HFace[0], 0);
  EXPECT_EQ(G_HFace[1], 0);
}

TEST_F(TemplateTest, ShapeWord) {
  struct Case {
    const char* content;
    const bool* flag;
    const char* tex1;
  };
  const Case cases[] = {
      {"shape cylinder\n", &IsCylinder, "TNNL_W1218"},
      {"shape arch\n", &IsArch, "TNNL_W12C16"},
      {"shape torus\n", &IsTorus, "C3A2B_REAC1B"},
      {"shape htorus\n", &IsHTorus, "C3A2B_REAC1B"},
      {"shape sphere\n", &IsSphere, "ELEV2_DR"},
      {"shape HTORUS\n", &IsCylinder, "TNNL_W1218"},
      {"shape cube\n", &IsCylinder, "TNNL_W1218"},
      {"shape\nsphere\n", &IsCylinder, "TNNL_W1218"},
      {"shape arch\n1_tex BRICK\n", &IsArch, "BRICK"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    SetShape(sphere);
    ASSERT_TRUE(Load(c.content));
    EXPECT_TRUE(*c.flag);
    EXPECT_EQ(IsCylinder + IsArch + IsTorus + IsHTorus + IsSphere, 1);
    EXPECT_EQ(tex1, c.tex1);
  }
}

// The template's object name and directory survive the shape selection only
// in batch mode or while the sub menu loads the template.
TEST_F(TemplateTest, NameAndDirectoryAgainstTheShapeSelection) {
  struct Case {
    const char* what;
    bool dragAndDrop;
    bool tempLoaded;
    const char* name;
    const char* path;
  };
  const Case cases[] = {
      {"no mark", false, false, "generated_arch", ""},
      {"batch mode", true, false, "tube", "C:\\out\\"},
      {"sub menu load", false, true, "tube", "C:\\out\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DragAndDrop = c.dragAndDrop;
    TempLoaded = c.tempLoaded;
    ASSERT_TRUE(Load("filename tube\nfilepath C:\\out\\\nshape arch\n"));
    EXPECT_EQ(cfname, c.name);
    EXPECT_EQ(cfpath, c.path);
    EXPECT_EQ(TempLoaded, c.tempLoaded);  // kept through the load's reset
    EXPECT_EQ(Value("filename"), "tube");
  }
}

TEST_F(TemplateTest, MissingFileLeavesDefaultsAndPostsCode10) {
  ResetAllGlobals();  // start state: no shape selected yet
  ReSettings();
  res = 48;
  tset[5] = "1";
  firstrun = false;
  TempLoaded = true;
  const std::string path = dir_.path() + "/C:\\maps\\arch1.kvt";
  EXPECT_FALSE(LoadTemplate(path));
  EXPECT_EQ(Gmessage, "  | [INFO] File \"arch1\" not available...\n");
  EXPECT_EQ(cfname, "arch1");
  EXPECT_EQ(cfpath, "");
  EXPECT_EQ(res, 12);
  EXPECT_TRUE(firstrun);
  EXPECT_TRUE(TempLoaded);
  for (int i = 0; i < maxset; ++i) EXPECT_EQ(tset[i], "") << i;
  EXPECT_FALSE(IsCylinder || IsArch || IsTorus || IsHTorus || IsSphere);
  EXPECT_EQ(brushname(), "None");
}

TEST_F(TemplateTest, FailedLoadKeepsThePreviousShape) {
  SetShape(torus);
  EXPECT_FALSE(LoadTemplate(dir_.path() + "/none.kvt"));
  EXPECT_TRUE(IsTorus);
  EXPECT_EQ(Gmessage, "  | [INFO] File \"" + dir_.path() + "/none\" not available...\n");
}

TEST_F(TemplateTest, DirectoryCountsAsAFileThatCannotBeOpened) {
  const std::string sub = dir_.path() + "/sub";
  dir_.Write("sub/inner.kvt", "res 24\n");
  EXPECT_FALSE(LoadTemplate(sub));
  EXPECT_EQ(Gmessage, "  | [INFO] File \"" + sub + "\" not available...\n");
  EXPECT_EQ(res, 12);
}

TEST_F(TemplateTest, BinaryFileIsReadLikeText) {
  std::string content;
  for (int i = 0; i < 4096; ++i) content += static_cast<char>((i * 37 + 11) % 256);
  content += std::string("\0res 48\0rad 100", 15);
  for (int i = 0; i < 256; ++i) content += static_cast<char>(i);
  ASSERT_TRUE(Load(content));
  EXPECT_EQ(res, 48);
  EXPECT_EQ(rad, 100.0f);
}

TEST_F(TemplateTest, LargeFileWithManyNearMisses) {
  // 4 MB on one line full of commented and unseparated key occurrences, the
  // real values at the end.
  std::string content;
  while (content.size() < 4000000) content += "/res 24 res2=48 //rad 7 1_v_wrapam3 ";
  content += "res 96 rad 300\n";
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(Load(content));
  const auto seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(res, 96);
  EXPECT_EQ(rad, 300.0f);
  EXPECT_EQ(Value("res2"), "");
  EXPECT_EQ(Value("1_v_wrapam"), "");
  EXPECT_LT(seconds, 20.0);
}

TEST(TemplatePath, NameAndDirectory) {
  struct Case {
    const char* path;
    const char* name;
    const char* dir;
  };
  const Case cases[] = {
      {"C:\\maps\\arch1.kvt", "arch1", "C:\\maps\\"},
      {"maps/arch1.kvt", "maps/arch1", ""},
      {"a.b.kvt", "a.b", ""},
      {"arch1", "arch1", ""},
      {"C:\\maps.old\\arch1", "arch1", "C:\\maps.old\\"},
      // The extension is looked for in the last component only.
      {"./cyl", "./cyl", ""},
      {"../cyl", "../cyl", ""},
      {"./cyl.kvt", "./cyl", ""},
      {"maps.v2/arch", "maps.v2/arch", ""},
      {"maps.v2/arch.kvt", "maps.v2/arch", ""},
      {"C:\\maps\\sub.d/arch", "sub.d/arch", "C:\\maps\\"},
      {"maps/.kvt", "maps/", ""},
      {"C:\\maps\\", "", "C:\\maps\\"},
      {".kvt", "", ""},
      {"\\\\server\\share\\t.kvt", "t", "\\\\server\\share\\"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetFileName(c.path), c.name) << c.path;
    EXPECT_EQ(GetFilePath(c.path), c.dir) << c.path;
  }
}
