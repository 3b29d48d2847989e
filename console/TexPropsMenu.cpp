// The texture properties menu of one texture slot: name, size, scale and
// scale source, shift, rotation, alignment, shear, vertical and horizontal
// wrapping and the H-range source face.
#include <iostream>
#include <limits>
#include <string>
#include <utility>

#include "console/ConsoleInput.h"
#include "console/Menus.h"
#include "settings/Names.h"
#include "settings/Settings.h"

namespace {

const std::string warn_invtexname = "[WARNING] Invalid texture name (1 to " +
                                     std::to_string(kMaxTextureName) +
                                     " characters, no control characters, not beginning with "
                                     "//)! Please enter again.";
const std::string kBorder = "        +------------------------------+";
const std::string kDots = "        | .............................";

// ---- The slot ----------------------------------------------------------------

std::string& SlotTexture(int slot) {
  switch (slot) {
    case SlotOuter: return tex1;
    case SlotInner: return tex2;
    case SlotFloor: return tex3;
    default: return texn;
  }
}

const std::string& SlotDefaultTexture(int slot) {
  switch (slot) {
    case SlotOuter: return def_tex1;
    case SlotInner: return def_tex2;
    case SlotFloor: return def_tex3;
    default: return def_texn;
  }
}

// The number of faces offered as H-range source: res faces around the tube
// (half of them on the sphere), four more on the hollow torus with symmetry
// lines.
int SourceFaceCount() {
  const int divisor = IsSphere ? 2 : 1;
  const int symmetry = Sym && IsHTorus ? 4 : 0;
  return res / divisor + symmetry;
}

// Whether the key's option is listed for the slot and the selected shape.
bool IsListed(char key, int slot) {
  if (key == 'a') return true;
  if (slot == SlotNull) return false;
  switch (key) {
    case 'b': case 'c': case 'd': case 'e': case 'f': case 'g':
    case 'i': case 'j': case 'k': return true;
    case 'h': case 'l': case 'm': case 'n': return !IsCylinder;
    case 'o': return !IsCylinder && slot != SlotFloor;
    default: return false;  // p and r have no option
  }
}

// ---- Drawing -------------------------------------------------------------------

std::string DefaultMark(bool isDefault) { return isDefault ? " (default)" : ""; }
std::string OnOff(bool on) { return on ? " [ON]" : " [OFF]"; }
std::string AmountLabel(int amount) { return amount == 0 ? " [Auto]" : " [Custom]"; }

// A face number shown 1-based; wide enough for any stored index.
std::string FaceNumberText(int index) { return std::to_string(static_cast<long long>(index) + 1); }

std::string ScaleSourceLabel(int method) {
  switch (method) {
    case ScaleSrcGlobal: return " [Global] (default)";
    case ScaleSrcMatchX: return " [Match X Scale] (Auto)";
    case ScaleSrcRoundX: return " [Round X Scale] (Auto)";
    case ScaleSrcCustom: return " [Custom]";
    default: return "";
  }
}

std::string HRangeLabel(int slot, int faces) {
  switch (G_HFMethod[slot]) {
    case HRangeOuter: return " [Outer <" + NumberText(faces * 0.25) + ">] (default)";
    case HRangeLower: return " [Lower <" + NumberText(faces * 0.5) + ">]";
    case HRangeInner: return " [Inner <" + NumberText(faces * 0.75) + ">]";
    case HRangeUpper: return " [Upper <" + std::to_string(faces) + ">]";
    case HRangeCustom: return " [Custom <" + FaceNumberText(G_HFace[slot]) + ">]";
    default: return "";
  }
}

std::string NameLineStart(int slot) {
  switch (slot) {
    case SlotOuter: return "        | (a) Set Outer Body Texture [";
    case SlotInner: return "        | (a) Set Inner Body Texture [";
    case SlotFloor: return "        | (a) Set Floor Texture [";
    default: return "        | (a) Set NULL Texture [";
  }
}

void PrintNameLine(int slot) {
  const std::string& name = SlotTexture(slot);
  std::cout << NameLineStart(slot) << name << "]"
            << DefaultMark(name == SlotDefaultTexture(slot)) << '\n';
}

void PrintSizeScaleShiftLines(int s) {
  std::cout << "        | (b) Set Texture Size X/Y [" << G_SizeX[s] << "] [" << G_SizeY[s] << "]"
            << DefaultMark(G_SizeX[s] == def_G_SizeX && G_SizeY[s] == def_G_SizeY) << '\n';
  std::cout << "        | (c) Set Texture Scale X/Y [" << NumberText(G_ScaleX[s]) << "] ["
            << NumberText(G_ScaleY[s]) << "]"
            << DefaultMark(G_ScaleX[s] == def_G_ScaleX && G_ScaleY[s] == def_G_ScaleY) << '\n';
  std::cout << "        | (d) Toggle Alternative Scale Source" << ScaleSourceLabel(SYMethod[s])
            << '\n';
  std::cout << "        | (e) Set Texture Shift X/Y [" << NumberText(G_ShiftX[s]) << "] ["
            << NumberText(G_ShiftY[s]) << "]"
            << DefaultMark(G_ShiftX[s] == def_G_ShiftX && G_ShiftY[s] == def_G_ShiftY) << '\n';
  std::cout << "        | (f) Switch Texture Rotation [" << NumberText(G_Rot[s]) << "]"
            << DefaultMark(G_Rot[s] == def_G_Rot) << '\n';
  std::cout << "        | (g) Toggle Texture Alignment" << (facealign[s] ? " [Face]" : " [World]")
            << '\n';
  if (IsListed('h', s)) std::cout << "        | (h) Enable Texture Shear" << OnOff(Shear[s]) << '\n';
  std::cout << "        |\n";
}

void PrintVerticalBlock(int s) {
  std::cout << "        | ...... Vertical Wrapping .......\n";
  std::cout << "        | (i) Toggle Texture Wrapping" << OnOff(wrapping[s]) << '\n';
  std::cout << "        | (j) Toggle Seamless Texture Wrapping" << OnOff(seamless[s]) << '\n';
  std::cout << "        | (k) Set Wrapping Amount [" << wrapam[s] << "]" << AmountLabel(wrapam[s])
            << '\n';
  std::cout << kDots << '\n';
  std::cout << "        |\n";
}

void PrintHorizontalBlock(int s, int faces) {
  std::cout << "        | ...... Horizontal Wrapping .......\n";
  std::cout << "        | (l) Toggle Horizontal Wrapping" << OnOff(Hwrapping[s]) << '\n';
  std::cout << "        | (m) Toggle Seamless Horizontal Wrapping" << OnOff(Hseamless[s]) << '\n';
  std::cout << "        | (n) Set Horizontal Wrapping Amount [" << Hwrapam[s] << "]"
            << AmountLabel(Hwrapam[s]) << '\n';
  if (IsListed('o', s)) {
    std::cout << "        | (o) Set H-Range Source-Face" << HRangeLabel(s, faces) << '\n';
  }
  std::cout << kDots << '\n';
  std::cout << "        |\n";
}

void DrawTexPropsMenu(int slot, int faces) {
  std::cout << kBorder << '\n';
  std::cout << "        |    Set Texture Properties    |\n";
  std::cout << kBorder << '\n';
  PrintNameLine(slot);
  if (slot != SlotNull) {
    PrintSizeScaleShiftLines(slot);
    PrintVerticalBlock(slot);
    if (IsListed('l', slot)) PrintHorizontalBlock(slot, faces);
  }
  std::cout << "        | (q) Back\n";
  std::cout << kBorder << '\n';
}

// ---- Prompts -------------------------------------------------------------------

// A texture size in texels; a size of 0 or less cannot be tiled and is asked
// for again. The size changes only when one is accepted.
void AskTextureSize(const std::string& prompt, int& size) {
  int value = size;
  while (AskInt(prompt, value)) {
    if (value > 0) {
      size = value;
      return;
    }
    std::cout << "[WARNING] Texture size must be greater than 0 !\n";
  }
}

std::string NamePrompt(int slot) {
  switch (slot) {
    case SlotOuter: return "[INPUT] Texture 1 Name: (Currently: ";
    case SlotInner: return "[INPUT] Texture 2 Name: (Currently: ";
    case SlotFloor: return "[INPUT] Texture 3 Name: (Currently: ";
    default: return "[INPUT] Hidden Texture Name: (Currently: ";
  }
}

// ---- Actions -------------------------------------------------------------------

// Asks for the slot's texture name until one is given that a map's face line
// can hold; a refused one is warned about and the rest of its line dropped.
// When the input ends, the name stays as it was.
void EnterName(int slot) {
  for (;;) {
    std::cout << NamePrompt(slot) << SlotTexture(slot) << ")\n";
    std::string name;
    if (!ReadWord(name)) return;
    if (IsTextureNameValid(name)) {
      SlotTexture(slot) = name;
      return;
    }
    std::cout << warn_invtexname << '\n';
    std::cin.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  }
}

// Each pair is asked for X, then Y; when the input ends, what was not
// answered keeps its value.
void EnterSize(int s) {
  AskTextureSize("[INPUT] New Texture Size X: (Currently: " + std::to_string(G_SizeX[s]) + ")",
                 G_SizeX[s]);
  AskTextureSize("[INPUT] New Texture Size Y: (Currently: " + std::to_string(G_SizeY[s]) + ")",
                 G_SizeY[s]);
}

void EnterScale(int s) {
  AskTextureScale("[INPUT] New Texture Scale X: (Currently: " + NumberText(G_ScaleX[s]) + ")",
                  G_ScaleX[s]);
  AskTextureScale("[INPUT] New Texture Scale Y: (Currently: " + NumberText(G_ScaleY[s]) + ")",
                  G_ScaleY[s]);
}

void EnterShift(int s) {
  AskFloat("[INPUT] New Texture Shift X: (Currently: " + NumberText(G_ShiftX[s]) + ")", G_ShiftX[s]);
  AskFloat("[INPUT] New Texture Shift Y: (Currently: " + NumberText(G_ShiftY[s]) + ")", G_ShiftY[s]);
}

// The scale source cycles 0 to 3; a value outside the set grows by one or
// starts over at 0.
void NextScaleSource(int s) { SYMethod[s] = SYMethod[s] > 2 ? ScaleSrcGlobal : SYMethod[s] + 1; }

// A quarter turn further; the texture's width and height change places.
void NextRotation(int s) {
  float& rot = G_Rot[s];
  if (rot == 0.0f) rot = 90.0f;
  else if (rot == 90.0f) rot = 180.0f;
  else if (rot == 180.0f) rot = 270.0f;
  else if (rot == 270.0f) rot = 0.0f;
  std::swap(G_SizeX[s], G_SizeY[s]);
}

void EnterWrapAmount(int& amount, const std::string& prompt) {
  AskInt(prompt + std::to_string(amount) + ")", amount);
}

// Asks for the custom source face, 1-based, and stores it 0-based within the
// faces offered.
void EnterCustomFace(int s, int faces) {
  int answer = 0;
  if (!AskInt("[INPUT] Custom H-Range Source-Face: (Currently: " + FaceNumberText(G_HFace[s]) +
                  ", max Faces: " + std::to_string(faces) + ")",
              answer)) {
    return;
  }
  // Clamped before the step to 0-based, so that no answer can overflow.
  int index = 0;
  if (answer > faces) index = faces - 1;
  else if (answer > 0) index = answer - 1;
  if (index < 0) index = 0;
  G_HFace[s] = index;
}

// The H-range method cycles 0 to 4; reaching the custom one asks for the face.
void NextHRangeMethod(int s, int faces) {
  G_HFMethod[s] = G_HFMethod[s] > 3 ? HRangeOuter : G_HFMethod[s] + 1;
  if (G_HFMethod[s] == HRangeCustom) EnterCustomFace(s, faces);
}

void Act(char key, int s, int faces) {
  switch (key) {
    case 'a': EnterName(s); break;
    case 'b': EnterSize(s); break;
    case 'c': EnterScale(s); break;
    case 'd': NextScaleSource(s); break;
    case 'e': EnterShift(s); break;
    case 'f': NextRotation(s); break;
    case 'g': facealign[s] = !facealign[s]; break;
    case 'h': Shear[s] = !Shear[s]; break;
    case 'i': wrapping[s] = !wrapping[s]; break;
    case 'j': seamless[s] = !seamless[s]; break;
    case 'k': EnterWrapAmount(wrapam[s], "[INPUT] New Texture Wrapping Amount: (Currently: "); break;
    case 'l': Hwrapping[s] = !Hwrapping[s]; break;
    case 'm': Hseamless[s] = !Hseamless[s]; break;
    case 'n':
      EnterWrapAmount(Hwrapam[s], "[INPUT] New Horizontal Wrapping Amount: (Currently: ");
      break;
    case 'o': NextHRangeMethod(s, faces); break;
    default: break;
  }
}

// ---- Reading the choice ----------------------------------------------------

// Reads keys until one from 'a' to 'r' arrives; the end of the input leaves
// the menu.
char ReadTexPropsChoice() {
  char key = 0;
  while (ReadChoice(key)) {
    if (key >= 'a' && key <= 'r') return key;
    WarnInvalidChoiceFramed();
  }
  return 'q';
}

}  // namespace

void menu_tex2(int slot) {
  const int faces = SourceFaceCount();
  for (;;) {
    DrawTexPropsMenu(slot, faces);
    const char key = ReadTexPropsChoice();
    if (key == 'q') return;
    if (!IsListed(key, slot)) continue;
    Act(key, slot, faces);
    firstrun = true;
  }
}
