#include <gtest/gtest.h>

#include "generation/Brush.h"
#include "settings/Settings.h"
#include "support/GlobalState.h"

using SettingsTest = GlobalStateTest;

TEST_F(SettingsTest, StartValuesBeforeTheFirstReset) {
  EXPECT_EQ(res, 0);
  EXPECT_EQ(rad, 0.0f);
  EXPECT_TRUE(texn.empty());
  EXPECT_EQ(def_texn, "NULL");
  EXPECT_EQ(def_tex1, "TNNL_W12C16");
  EXPECT_EQ(def_tex2, "TNNL_W12C17");
  EXPECT_EQ(def_tex3, "TNNL_W12C");
  EXPECT_EQ(D_nth, 1);
  EXPECT_EQ(D_start, 1);
  EXPECT_EQ(D_start2, 1);
  EXPECT_TRUE(firstrun);
  EXPECT_EQ(G_ScaleX[0], 0.0f);
}

TEST_F(SettingsTest, ResetGivesEveryDefault) {
  ReSettings();
  EXPECT_TRUE(firstrun);
  EXPECT_EQ(res, 12);
  EXPECT_EQ(res2, 12);
  EXPECT_EQ(rad, 128.0f);
  EXPECT_EQ(rad2, 256.0f);
  EXPECT_EQ(rad3, 320.0f);
  EXPECT_EQ(texn, "NULL");
  EXPECT_EQ(tex1, "TNNL_W12C16");
  EXPECT_FALSE(Sym);
  EXPECT_FALSE(Tri);
  EXPECT_EQ(cfname, "generated_shape");
  EXPECT_EQ(cfpath, "");
  for (int s = 0; s < SlotCount; ++s) {
    EXPECT_EQ(G_SizeX[s], 128);
    EXPECT_EQ(G_SizeY[s], 128);
    EXPECT_EQ(G_ScaleX[s], 1.0f);
    EXPECT_EQ(G_ScaleY[s], 1.0f);
    EXPECT_EQ(G_ShiftX[s], 0.0f);
    EXPECT_EQ(G_Rot[s], 0.0f);
    EXPECT_FALSE(facealign[s]);
  }
  EXPECT_EQ(D_start, 1);
  EXPECT_EQ(D_end, 0);
  EXPECT_EQ(D_start2, 1);
  EXPECT_EQ(D_end2, 0);
  EXPECT_EQ(D_nth, 1);
}

TEST_F(SettingsTest, ResetClearsEveryChangedSetting) {
  ReSettings();
  res = 48;
  rad3 = 7.0f;
  Sym = Tri = true;
  G_SizeY[2] = 3;
  G_HFMethod[1] = 3;
  G_HFace[0] = 9;
  Hwrapam[1] = 4;
  D_method = 2;
  D_nth = 0;
  D_end2 = 5;
  exmap = exobj = nomenu = autoscale = TempLoaded = true;
  CurrentDeci = 5;
  last_transfactor = 0.5f;
  firstrun = false;
  ReSettings();
  EXPECT_EQ(res, 12);
  EXPECT_EQ(rad3, 320.0f);
  EXPECT_FALSE(Sym || Tri);
  EXPECT_EQ(G_SizeY[2], 128);
  EXPECT_EQ(G_HFMethod[1], 0);
  EXPECT_EQ(G_HFace[0], 0);
  EXPECT_EQ(Hwrapam[1], 0);
  EXPECT_EQ(D_method, 0);
  EXPECT_EQ(D_nth, 1);
  EXPECT_EQ(D_end2, 0);
  EXPECT_FALSE(exmap || exobj || nomenu || autoscale || TempLoaded);
  EXPECT_EQ(CurrentDeci, 0);
  EXPECT_EQ(last_transfactor, 0.0f);
  EXPECT_TRUE(firstrun);
}

TEST_F(SettingsTest, ResetNamesTheObjectAfterTheSelectedShape) {
  IsTorus = true;
  ReSettings();
  EXPECT_EQ(cfname, "generated_torus");
  IsTorus = false;
  IsSphere = true;
  ReSettings();
  EXPECT_EQ(cfname, "generated_shpere");
}

TEST_F(SettingsTest, ResetCopiesTheCurrentDefaultTextures) {
  def_tex1 = "TNNL_W1218";
  ReSettings();
  EXPECT_EQ(tex1, "TNNL_W1218");
  EXPECT_EQ(tex2, "TNNL_W12C17");
  EXPECT_EQ(tex3, "TNNL_W12C");
}

TEST_F(SettingsTest, ResetLeavesTheGroupAndTheMessageAndFreesTheSelection) {
  IsCylinder = true;
  ReSettings();
  SetMaxObjects();
  Group = std::make_unique<bgroup>();
  Group->bcount = 1;
  Gmessage = "  | [INFO] pending\n";
  D_list = std::make_unique<bool[]>(3);
  D_listSize = 3;
  firstrun = false;
  ReSettings();
  ASSERT_TRUE(Group);
  EXPECT_EQ(Group->bcount, 1);
  EXPECT_EQ(Gmessage, "  | [INFO] pending\n");
  EXPECT_FALSE(D_list);
  EXPECT_EQ(D_listSize, 0);
  EXPECT_TRUE(firstrun);
  EXPECT_TRUE(IsCylinder);
}

TEST(IsResValid, AcceptsExactlyTheFiveResolutions) {
  for (int n : {12, 24, 48, 96, 192}) EXPECT_TRUE(IsResValid(n)) << n;
  for (int n : {0, -12, 6, 11, 13, 25, 36, 49, 100, 384, 2147483647, -2147483647 - 1})
    EXPECT_FALSE(IsResValid(n)) << n;
}
