// The program-wide settings record: every user setting and the state of the
// current run, held as one variable per setting that every subsystem reads and
// writes by name.
#pragma once

#include <memory>
#include <string>

struct bgroup;

// Texture slots: entry of every per-slot array, and the face field texId.
enum { SlotOuter = 0, SlotInner = 1, SlotFloor = 2, SlotNull = 3 };
constexpr int SlotCount = 3;      // slots with per-slot texture properties
constexpr int BodySlotCount = 2;  // slots with an H-range source

// Export rule 1 (D_method).
enum { ExportAll = 0, ExportBrushRange = 1, ExportSectionRange = 2 };
// Export rule 2 (D_method2).
enum { RuleNone = 0, RuleRandom = 1, RuleNthBrush = 2, RuleNthSection = 3, RuleNthSegment = 4 };
// Horizontal range source method (G_HFMethod).
enum { HRangeOuter = 0, HRangeLower = 1, HRangeInner = 2, HRangeUpper = 3, HRangeCustom = 4 };
// Alternative Y scale source (SYMethod).
enum { ScaleSrcGlobal = 0, ScaleSrcMatchX = 1, ScaleSrcRoundX = 2, ScaleSrcCustom = 3 };

// ---- Defaults -------------------------------------------------------------
constexpr int def_res = 12;
constexpr int def_res2 = 12;
constexpr float def_rad = 128.0f;
constexpr float def_rad2 = 256.0f;
constexpr float def_rad3 = 320.0f;
constexpr bool def_Sym = false;
constexpr bool def_Tri = false;
constexpr int def_G_SizeX = 128;
constexpr int def_G_SizeY = 128;
constexpr float def_G_ShiftX = 0.0f;
constexpr float def_G_ShiftY = 0.0f;
constexpr float def_G_ScaleX = 1.0f;
constexpr float def_G_ScaleY = 1.0f;
constexpr float def_G_Rot = 0.0f;
constexpr bool def_facealign = false;
constexpr bool def_Shear = false;
constexpr bool def_wrapping = false;
constexpr bool def_seamless = false;
constexpr int def_wrapam = 0;
constexpr int def_Method = 0;

// ---- Constants ------------------------------------------------------------
extern const std::string def_name_cylinder;
extern const std::string def_name_arch;
extern const std::string def_name_torus;
extern const std::string def_name_hollow_torus;
extern const std::string def_name_shpere;
extern const std::string def_name_none;  // "generated_shape"
extern const std::string def_path;
extern const std::string cylinder_tex, arch_tex, arch_tex2, arch_tex3;
extern const std::string torus_tex, torus_tex2, torus_tex3, sphere_tex;
extern const std::string pressany;
extern const std::string warn_invchoice;

// ---- Mesh settings --------------------------------------------------------
extern int res, res2;
extern float rad, rad2, rad3;
extern bool Sym, Tri;

// ---- Texture names --------------------------------------------------------
extern std::string tex1, tex2, tex3, texn;
extern std::string def_tex1, def_tex2, def_tex3, def_texn;

// ---- Per-slot texture properties (slots 0 to 2; H-range for 0 and 1) ------
extern int G_SizeX[SlotCount], G_SizeY[SlotCount];
extern float G_ShiftX[SlotCount], G_ShiftY[SlotCount];
extern float G_ScaleX[SlotCount], G_ScaleY[SlotCount];
extern float G_Rot[SlotCount];
extern bool facealign[SlotCount], Shear[SlotCount];
extern bool wrapping[SlotCount], seamless[SlotCount];
extern int wrapam[SlotCount];
extern bool Hwrapping[SlotCount], Hseamless[SlotCount];
extern int Hwrapam[SlotCount];
extern int SYMethod[SlotCount];
extern int G_HFMethod[BodySlotCount], G_HFace[BodySlotCount];

// ---- Export rules ---------------------------------------------------------
extern int D_method, D_method2;
extern bool D_percent;
extern int D_start, D_end, D_start2, D_end2, D_nth;
// The export selection: one flag per brush of the group it was computed for,
// or none. D_listSize is the number of flags it holds.
extern std::unique_ptr<bool[]> D_list;
extern int D_listSize;

// ---- Shape, batch switches and output -------------------------------------
extern bool IsCylinder, IsArch, IsTorus, IsHTorus, IsSphere;
extern bool exmap, exobj, nomenu, autoscale;
extern std::string cfname, cfpath;
extern bool DragAndDrop;
extern bool TempLoaded;

// ---- Run state ------------------------------------------------------------
extern bool firstrun;
extern int CurrentDeci;
extern float last_transfactor;
extern std::string Gmessage;
extern std::unique_ptr<bgroup> Group;
extern int maxB, maxF, maxV;

// Restores every setting to its default; leaves the shape flags, DragAndDrop,
// Group, Gmessage, the template values, the current default textures and the
// capacities alone.
void ReSettings();

// True exactly for the resolutions 12, 24, 48, 96 and 192.
bool IsResValid(int n);
