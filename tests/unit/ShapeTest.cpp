#include <gtest/gtest.h>

#include <string>

#include "settings/Settings.h"
#include "settings/Shape.h"
#include "settings/Template.h"
#include "support/GlobalState.h"

using ShapeTest = ResetSettingsTest;

namespace {

struct ShapeCase {
  shape s;
  bool* flag;
  const char* display;
  const char* name;
  const char* tex1;
  const char* tex2;  // nullptr: the shape leaves slots 1 and 2 alone
  const char* tex3;
};

const ShapeCase kShapes[] = {
    {cylinder, &IsCylinder, "Cylinder", "generated_cylinder", "TNNL_W1218", nullptr, nullptr},
    {arch, &IsArch, "Arch", "generated_arch", "TNNL_W12C16", "TNNL_W12C17", "TNNL_W12C"},
    {torus, &IsTorus, "Torus", "generated_torus", "C3A2B_REAC1B", nullptr, nullptr},
    {htorus, &IsHTorus, "Hollow Torus", "generated_hollow_torus", "C3A2B_REAC1B", "C3A2B_REAC1C",
     "C3A2B_REAC5"},
    {sphere, &IsSphere, "Sphere", "generated_shpere", "ELEV2_DR", nullptr, nullptr},
};

int SetFlagCount() { return IsCylinder + IsArch + IsTorus + IsHTorus + IsSphere; }

}  // namespace

TEST_F(ShapeTest, EachShapeSetsItsFlagNameAndDefaultTextures) {
  for (const ShapeCase& c : kShapes) {
    SCOPED_TRACE(c.display);
    // A previous selection, typed names and a stale build to be replaced.
    IsSphere = IsCylinder = true;
    cfname = "typed";
    cfpath = "C:\\old\\";
    CurrentDeci = 4;
    firstrun = false;
    def_tex2 = "current2";
    def_tex3 = "current3";
    tex1 = "typed1";
    tex2 = "typed2";
    tex3 = "typed3";
    texn = "typedn";

    SetShape(c.s);

    EXPECT_TRUE(*c.flag);
    EXPECT_EQ(SetFlagCount(), 1);
    EXPECT_EQ(brushname(), c.display);
    EXPECT_EQ(cfname, c.name);
    EXPECT_EQ(cfpath, "");
    EXPECT_EQ(CurrentDeci, 0);
    EXPECT_FALSE(firstrun);  // the callers mark the object stale
    EXPECT_EQ(def_tex1, c.tex1);
    EXPECT_EQ(tex1, c.tex1);
    EXPECT_EQ(def_tex2, c.tex2 ? c.tex2 : "current2");
    EXPECT_EQ(tex2, c.tex2 ? c.tex2 : "typed2");
    EXPECT_EQ(def_tex3, c.tex3 ? c.tex3 : "current3");
    EXPECT_EQ(tex3, c.tex3 ? c.tex3 : "typed3");
    EXPECT_EQ(texn, "typedn");
    EXPECT_EQ(def_texn, "NULL");
  }
}

TEST_F(ShapeTest, CylinderAfterArchKeepsTheArchsInnerAndFloorTextures) {
  SetShape(arch);
  SetShape(cylinder);
  EXPECT_EQ(def_tex1, "TNNL_W1218");
  EXPECT_EQ(def_tex2, "TNNL_W12C17");
  EXPECT_EQ(def_tex3, "TNNL_W12C");
  EXPECT_EQ(tex2, "TNNL_W12C17");
  EXPECT_EQ(tex3, "TNNL_W12C");
}

TEST_F(ShapeTest, BatchModeAndTemplateLoadKeepNameAndDirectory) {
  struct Mark {
    const char* what;
    bool dragAndDrop;
    bool tempLoaded;
  };
  for (const Mark& m : {Mark{"batch mode", true, false}, Mark{"template load", false, true},
                        Mark{"both", true, true}}) {
    SCOPED_TRACE(m.what);
    DragAndDrop = m.dragAndDrop;
    TempLoaded = m.tempLoaded;
    cfname = "tube";
    cfpath = "C:\\out\\";
    CurrentDeci = 2;
    SetShape(sphere);
    EXPECT_TRUE(IsSphere);
    EXPECT_EQ(cfname, "tube");
    EXPECT_EQ(cfpath, "C:\\out\\");
    EXPECT_EQ(CurrentDeci, 0);
    EXPECT_EQ(tex1, "ELEV2_DR");
  }
}

TEST_F(ShapeTest, TemplateTextureNamesGoOverTheDefaults) {
  struct TexCase {
    const char* what;
    const char* t1;
    const char* t2;
    const char* t3;
    const char* tn;
    const char* tex1;
    const char* tex2;
    const char* tex3;
    const char* texn;
  };
  const TexCase cases[] = {
      {"none given", "", "", "", "", "TNNL_W12C16", "TNNL_W12C17", "TNNL_W12C", "NULL"},
      {"all four", "A1", "A2", "A3", "AN", "A1", "A2", "A3", "AN"},
      {"only n_tex", "", "", "", "AN", "TNNL_W12C16", "TNNL_W12C17", "TNNL_W12C", "AN"},
      {"3_tex and n_tex", "", "", "A3", "AN", "TNNL_W12C16", "TNNL_W12C17", "A3", "AN"},
      {"only 1_tex", "A1", "", "", "", "A1", "TNNL_W12C17", "TNNL_W12C", "NULL"},
  };
  for (const TexCase& c : cases) {
    SCOPED_TRACE(c.what);
    ReSettings();
    tset[22] = c.t1;
    tset[23] = c.t2;
    tset[24] = c.t3;
    tset[25] = c.tn;
    SetShape(arch);
    EXPECT_EQ(tex1, c.tex1);
    EXPECT_EQ(tex2, c.tex2);
    EXPECT_EQ(tex3, c.tex3);
    EXPECT_EQ(texn, c.texn);
    // The template names are names, not defaults.
    EXPECT_EQ(def_tex1, "TNNL_W12C16");
    EXPECT_EQ(def_tex3, "TNNL_W12C");
    EXPECT_EQ(def_texn, "NULL");
  }
}

TEST_F(ShapeTest, TemplateNamesStayInForceForLaterSelections) {
  tset[22] = "T1";
  SetShape(torus);
  tex1 = "typed";
  SetShape(sphere);
  EXPECT_EQ(def_tex1, "ELEV2_DR");
  EXPECT_EQ(tex1, "T1");
}

TEST_F(ShapeTest, ReselectingTheSameShapeStartsItAfresh) {
  SetShape(htorus);
  cfname = "renamed";
  tex2 = "typed2";
  CurrentDeci = 3;
  SetShape(htorus);
  EXPECT_EQ(cfname, "generated_hollow_torus");
  EXPECT_EQ(tex2, "C3A2B_REAC1C");
  EXPECT_EQ(CurrentDeci, 0);
}

TEST_F(ShapeTest, DisplayNameFollowsTheFirstSetFlag) {
  EXPECT_EQ(brushname(), "None");
  IsSphere = true;
  IsTorus = true;
  EXPECT_EQ(brushname(), "Torus");
  IsCylinder = true;
  EXPECT_EQ(brushname(), "Cylinder");
}
