#include "settings/Settings.h"

#include "generation/Brush.h"

const std::string def_name_cylinder = "generated_cylinder";
const std::string def_name_arch = "generated_arch";
const std::string def_name_torus = "generated_torus";
const std::string def_name_hollow_torus = "generated_hollow_torus";
const std::string def_name_shpere = "generated_shpere";
const std::string def_name_none = "generated_shape";
const std::string def_path;
const std::string cylinder_tex = "TNNL_W1218";
const std::string arch_tex = "TNNL_W12C16";
const std::string arch_tex2 = "TNNL_W12C17";
const std::string arch_tex3 = "TNNL_W12C";
const std::string torus_tex = "C3A2B_REAC1B";
const std::string torus_tex2 = "C3A2B_REAC1C";
const std::string torus_tex3 = "C3A2B_REAC5";
const std::string sphere_tex = "ELEV2_DR";
const std::string pressany = "[INPUT] Press any button to continue...";
const std::string warn_invchoice = "[WARNING] Invalid choice!";

int res = 0, res2 = 0;
float rad = 0.0f, rad2 = 0.0f, rad3 = 0.0f;
bool Sym = false, Tri = false;

std::string tex1, tex2, tex3, texn;
// The current defaults start as the arch's textures; they are defined after
// those constants in this file, so they are initialised after them.
std::string def_tex1 = arch_tex;
std::string def_tex2 = arch_tex2;
std::string def_tex3 = arch_tex3;
std::string def_texn = "NULL";

int G_SizeX[SlotCount] = {}, G_SizeY[SlotCount] = {};
float G_ShiftX[SlotCount] = {}, G_ShiftY[SlotCount] = {};
float G_ScaleX[SlotCount] = {}, G_ScaleY[SlotCount] = {};
float G_Rot[SlotCount] = {};
bool facealign[SlotCount] = {}, Shear[SlotCount] = {};
bool wrapping[SlotCount] = {}, seamless[SlotCount] = {};
int wrapam[SlotCount] = {};
bool Hwrapping[SlotCount] = {}, Hseamless[SlotCount] = {};
int Hwrapam[SlotCount] = {};
int SYMethod[SlotCount] = {};
int G_HFMethod[BodySlotCount] = {}, G_HFace[BodySlotCount] = {};

int D_method = 0, D_method2 = 0;
bool D_percent = false;
int D_start = 1, D_end = 0, D_start2 = 1, D_end2 = 0, D_nth = 1;
std::unique_ptr<bool[]> D_list;
int D_listSize = 0;

bool IsCylinder = false, IsArch = false, IsTorus = false, IsHTorus = false, IsSphere = false;
bool exmap = false, exobj = false, nomenu = false, autoscale = false;
std::string cfname, cfpath;
bool DragAndDrop = false;
bool TempLoaded = false;

bool firstrun = true;
int CurrentDeci = 0;
float last_transfactor = 0.0f;
std::string Gmessage;
std::unique_ptr<bgroup> Group;
int maxB = 0, maxF = 0, maxV = 0;

namespace {

const std::string& DefaultObjectName() {
  if (IsCylinder) return def_name_cylinder;
  if (IsArch) return def_name_arch;
  if (IsTorus) return def_name_torus;
  if (IsHTorus) return def_name_hollow_torus;
  if (IsSphere) return def_name_shpere;
  return def_name_none;
}

}  // namespace

void ReSettings() {
  firstrun = true;
  res = def_res;
  res2 = def_res2;
  rad = def_rad;
  rad2 = def_rad2;
  rad3 = def_rad3;
  tex1 = def_tex1;
  tex2 = def_tex2;
  tex3 = def_tex3;
  texn = def_texn;
  Sym = def_Sym;
  Tri = def_Tri;
  CurrentDeci = 0;
  last_transfactor = 0.0f;
  nomenu = autoscale = TempLoaded = exmap = exobj = false;
  cfname = DefaultObjectName();
  cfpath = def_path;
  for (int s = 0; s < SlotCount; ++s) {
    G_SizeX[s] = def_G_SizeX;
    G_SizeY[s] = def_G_SizeY;
    G_ShiftX[s] = def_G_ShiftX;
    G_ShiftY[s] = def_G_ShiftY;
    G_ScaleX[s] = def_G_ScaleX;
    G_ScaleY[s] = def_G_ScaleY;
    G_Rot[s] = def_G_Rot;
    Shear[s] = def_Shear;
    facealign[s] = def_facealign;
    wrapping[s] = def_wrapping;
    seamless[s] = def_seamless;
    wrapam[s] = def_wrapam;
    Hwrapping[s] = def_wrapping;
    Hseamless[s] = def_seamless;
    Hwrapam[s] = def_wrapam;
    SYMethod[s] = def_Method;
    if (s < BodySlotCount) {
      G_HFMethod[s] = def_Method;
      G_HFace[s] = 0;
    }
  }
  D_percent = false;
  D_method = ExportAll;
  D_method2 = RuleNone;
  D_nth = 1;
  D_start = 1;
  D_end = 0;
  D_start2 = 1;
  D_end2 = 0;
  D_list.reset();
  D_listSize = 0;
}

bool IsResValid(int n) {
  if (n == 12) return true;
  if (n > 192 || n <= 12) return false;
  return n == 24 || n == 48 || n == 96 || n == 192;
}
