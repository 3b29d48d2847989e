#include "support/GlobalState.h"

#include <iostream>

#include "console/Driver.h"
#include "generation/Brush.h"
#include "generation/Texturize.h"
#include "settings/Settings.h"
#include "settings/Template.h"

void ResetAllGlobals() {
  res = res2 = 0;
  rad = rad2 = rad3 = 0.0f;
  Sym = Tri = false;
  tex1.clear();
  tex2.clear();
  tex3.clear();
  texn.clear();
  def_tex1 = arch_tex;
  def_tex2 = arch_tex2;
  def_tex3 = arch_tex3;
  def_texn = "NULL";
  for (int s = 0; s < SlotCount; ++s) {
    G_SizeX[s] = G_SizeY[s] = 0;
    G_ShiftX[s] = G_ShiftY[s] = 0.0f;
    G_ScaleX[s] = G_ScaleY[s] = 0.0f;
    G_Rot[s] = 0.0f;
    facealign[s] = Shear[s] = wrapping[s] = seamless[s] = false;
    wrapam[s] = 0;
    Hwrapping[s] = Hseamless[s] = false;
    Hwrapam[s] = 0;
    SYMethod[s] = 0;
    BuildSizeX[s] = BuildSizeY[s] = 0;
  }
  for (int s = 0; s < BodySlotCount; ++s) G_HFMethod[s] = G_HFace[s] = 0;
  D_method = D_method2 = 0;
  D_percent = false;
  D_start = 1;
  D_end = 0;
  D_start2 = 1;
  D_end2 = 0;
  D_nth = 1;
  D_list.reset();
  D_listSize = 0;
  IsCylinder = IsArch = IsTorus = IsHTorus = IsSphere = false;
  exmap = exobj = nomenu = autoscale = false;
  cfname.clear();
  cfpath.clear();
  DragAndDrop = false;
  TempLoaded = false;
  firstrun = true;
  CurrentDeci = 0;
  last_transfactor = 0.0f;
  Gmessage.clear();
  Group.reset();
  maxB = maxF = maxV = 0;
  for (auto& value : tset) value.clear();
  ExportFailed = false;
  std::cout.precision(6);
}

void ResetSettingsTest::SetUp() {
  ResetAllGlobals();
  ReSettings();
}
