// The textures menu: the texture slots of the selected shape.
#include <iostream>
#include <string>

#include "console/ConsoleInput.h"
#include "console/Menus.h"
#include "settings/Settings.h"

namespace {

const std::string kBorder = "    +---------------------------------------------+";

// Only the arch and the hollow torus have an inner body and a floor.
bool HasInnerSlots() { return IsArch || IsHTorus; }

void DrawTexMenu() {
  std::cout << kBorder << '\n';
  std::cout << "    |                Textures Menu                |\n";
  std::cout << kBorder << '\n';
  std::cout << "    |\n";
  std::cout << "    | (1) Modify Outer Body Texture\n";
  if (HasInnerSlots()) {
    std::cout << "    | (2) Modify Inner Body Texture\n";
    std::cout << "    | (3) Modify Floor Texture\n";
  }
  std::cout << "    | (4) Modify NULL Texture\n";
  std::cout << "    | (d) Load Default Textures\n";
  std::cout << "    | (q) Back to Sub Menu\n";
  std::cout << "    |\n";
  std::cout << kBorder << '\n';
}

// Puts the current default names back into all four slots.
void LoadDefaultTextures() {
  tex1 = def_tex1;
  tex2 = def_tex2;
  tex3 = def_tex3;
  texn = def_texn;
  std::cout << "[MESSAGE] Default Textures loaded!\n\n";
  firstrun = true;
}

bool IsMenuKey(char key) {
  const std::string keys = "1234dq";
  return keys.find(key) != std::string::npos;
}

// Reads keys until one of the menu's keys arrives; the end of the input
// leaves the menu.
char ReadTexChoice() {
  char key = 0;
  while (ReadChoice(key)) {
    if (IsMenuKey(key)) return key;
    WarnInvalidChoiceFramed();
  }
  return 'q';
}

}  // namespace

void menu_tex() {
  for (;;) {
    DrawTexMenu();
    switch (ReadTexChoice()) {
      case '1': menu_tex2(SlotOuter); break;
      case '2': if (HasInnerSlots()) menu_tex2(SlotInner); break;
      case '3': if (HasInnerSlots()) menu_tex2(SlotFloor); break;
      case '4': menu_tex2(SlotNull); break;
      case 'd': LoadDefaultTextures(); break;
      default: return;  // q
    }
  }
}
