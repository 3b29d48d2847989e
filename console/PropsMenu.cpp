// The mesh properties menu: resolutions, radii, symmetry lines,
// triangulation and the way to the export rules.
#include <algorithm>
#include <iostream>
#include <limits>
#include <string>

#include "console/ConsoleInput.h"
#include "console/Menus.h"
#include "settings/Settings.h"

namespace {

// ---- Which options the selected shape has ------------------------------------

bool HasRes2() { return IsTorus || IsHTorus; }
bool HasRad2() { return IsHTorus; }
bool HasRad3() { return IsArch || IsTorus || IsHTorus; }
// Symmetry lines and export rules: every shape but the cylinder.
bool HasSymAndRules() { return IsArch || IsTorus || IsHTorus || IsSphere; }
bool HasTri() { return IsArch; }

// ---- Drawing -------------------------------------------------------------------

const std::string kBorder = "    +---------------------------------------------+";

std::string DefaultMark(bool isDefault) { return isDefault ? " (default)" : ""; }
std::string OnOff(bool on) { return on ? " [ON]" : " [OFF]"; }

void DrawPropsMenu() {
  std::cout << kBorder << '\n';
  std::cout << "    |            Mesh Properties Menu             |\n";
  std::cout << kBorder << '\n';
  std::cout << "    |\n";
  std::cout << "    | (1) Specify Resolution 1 [" << res << "]" << DefaultMark(res == def_res) << '\n';
  if (HasRes2()) {
    std::cout << "    | (2) Specify Resolution 2 [" << res2 << "]" << DefaultMark(res2 == def_res2)
              << '\n';
  }
  std::cout << "    | (3) Specify Radius 1 [" << NumberText(rad) << "]" << DefaultMark(rad == def_rad)
            << '\n';
  if (HasRad2()) {
    std::cout << "    | (4) Specify Radius 2 [" << NumberText(rad2) << "]"
              << DefaultMark(rad2 == def_rad2) << '\n';
  }
  if (HasRad3()) {
    std::cout << "    | (5) Specify Radius 3 [" << NumberText(rad3) << "]"
              << DefaultMark(rad3 == def_rad3) << '\n';
  }
  if (HasSymAndRules()) {
    std::cout << "    | (s) Add Symmetry Lines" << OnOff(Sym) << '\n';
    std::cout << "    | (d) Limit Brush Export\n";
  }
  if (HasTri()) std::cout << "    | (t) Triangulate" << OnOff(Tri) << '\n';
  std::cout << "    | (q) Back\n";
  std::cout << kBorder << '\n';
}

// ---- Entries -------------------------------------------------------------------

// A change of the geometry: the object is stale and the decimal places found
// for it no longer apply.
void MarkGeometryChanged() {
  CurrentDeci = 0;
  firstrun = true;
}

// The radius moved by the same amount as the radius that pushed it. Pushed
// beyond the range of float it stops at the largest float: it would become
// infinite, and no geometry could be built from it.
float Pushed(float radius, float oldValue, float newValue) {
  const double moved = static_cast<double>(radius) + (static_cast<double>(newValue) - static_cast<double>(oldValue));
  const double limit = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(moved, -limit, limit));
}

// Asks for a resolution until one that IsResValid accepts is given; the
// setting changes only then, and not at all when the input ends first.
void EnterResolution(int& setting, const std::string& name) {
  int value = setting;
  if (!AskInt("[INPUT] " + name + " (must be 12, 24, 48, 96 or 192): (Currently: " +
                  std::to_string(setting) + ")",
              value)) {
    return;
  }
  while (!IsResValid(value)) {
    if (!AskInt("[WARNING] Entered number \"" + std::to_string(value) +
                    "\" invalid (must be 12, 24, 48, 96,...)! Please enter again: ",
                value)) {
      return;
    }
  }
  setting = value;
  MarkGeometryChanged();
}

// Radius 1 takes any number; reaching radius 2 (and for the hollow torus
// radius 3) pushes them outwards by the same amount.
void EnterRadius1() {
  const float old = rad;
  if (!AskFloat("[INPUT] Specify Radius 1: (Currently: " + NumberText(rad) + ")", rad)) return;
  if (rad == old) return;
  if (IsArch || IsTorus || IsHTorus) {
    if (rad >= rad2) rad2 = Pushed(rad2, old, rad);
  }
  if (IsHTorus) {
    if (rad >= rad3) rad3 = Pushed(rad3, old, rad);
  }
  MarkGeometryChanged();
}

// Asks until the answer is greater than the bound; the warning names it. The
// setting changes only then, and not at all when the input ends first.
bool AskAbove(const std::string& prompt, float bound, const std::string& warning, float& setting) {
  float value = setting;
  while (AskFloat(prompt, value)) {
    if (value > bound) {
      setting = value;
      return true;
    }
    std::cout << warning << " (" << NumberText(bound) << ") !\n";
  }
  return false;
}

// Radius 2 (hollow torus) must exceed radius 1 and pushes radius 3 on.
void EnterRadius2() {
  const float old = rad2;
  if (!AskAbove("[INPUT] Specify Radius 2: (Currently: " + NumberText(rad2) + ")", rad,
                "[WARNING] Radius 2 must be greater than Radius 1", rad2)) {
    return;
  }
  if (rad2 == old) return;
  if (rad2 >= rad3) rad3 = Pushed(rad3, old, rad2);
  MarkGeometryChanged();
}

// Radius 3 must exceed radius 2 for the hollow torus, radius 1 otherwise.
void EnterRadius3() {
  const float old = rad3;
  const std::string prompt = "[INPUT] Specify Radius 3: (Currently: " + NumberText(rad3) + ")";
  const bool entered =
      IsHTorus ? AskAbove(prompt, rad2, "[WARNING] Radius 3 must be greater than Radius 2", rad3)
               : AskAbove(prompt, rad, "[WARNING] Radius 3 must be greater than Radius 1", rad3);
  if (!entered || rad3 == old) return;
  MarkGeometryChanged();
}

void ToggleSwitch(bool& setting) {
  setting = !setting;
  firstrun = true;
}

// ---- Reading the choice ----------------------------------------------------

bool IsMenuKey(char key) {
  const std::string keys = "12345dstq";
  return keys.find(key) != std::string::npos;
}

// Reads keys until one of the menu's keys arrives; the end of the input
// leaves the menu.
char ReadPropsChoice() {
  char key = 0;
  while (ReadChoice(key)) {
    if (IsMenuKey(key)) return key;
    std::cout << warn_invchoice << '\n';
  }
  return 'q';
}

// Carries out the key's action when the shape lists it; false on q.
bool Dispatch(char key) {
  switch (key) {
    case '1': EnterResolution(res, "Resolution 1"); break;
    case '2': if (HasRes2()) EnterResolution(res2, "Resolution 2"); break;
    case '3': EnterRadius1(); break;
    case '4': if (HasRad2()) EnterRadius2(); break;
    case '5': if (HasRad3()) EnterRadius3(); break;
    case 's': if (HasSymAndRules()) ToggleSwitch(Sym); break;
    case 'd': if (HasSymAndRules()) menu_draw(); break;
    case 't': if (HasTri()) ToggleSwitch(Tri); break;
    case 'q': return false;
    default: break;
  }
  return true;
}

}  // namespace

void menu_props() {
  for (;;) {
    DrawPropsMenu();
    if (!Dispatch(ReadPropsChoice())) return;
  }
}
