// The console menus.
#pragma once

#include <cstddef>
#include <iostream>
#include <sstream>
#include <string>

#include "settings/Settings.h"

// The main menu of interactive mode; returns on q.
void menu_main();
// The sub menu of the selected shape; returns on q.
void menu_sub();
// The mesh properties menu.
void menu_props();
// The export rules menu.
void menu_draw();
// The textures menu.
void menu_tex();
// The texture properties menu of one slot (0 to 3).
void menu_tex2(int slot);

// ---- Text helpers shared by the menus --------------------------------------

// A number as the console writes it with std::cout << value: general notation
// at the console's current precision (6, or 10 once a listing has raised it).
inline std::string NumberText(double value) {
  std::ostringstream text;
  text.precision(std::cout.precision());
  text << value;
  return text.str();
}

// The text followed by blanks up to width characters; a longer text is kept
// whole, so whatever follows it moves to the right.
inline std::string PadRight(const std::string& text, std::size_t width) {
  if (text.size() >= width) return text;
  return text + std::string(width - text.size(), ' ');
}

// The answer to a key outside a menu's choices: the warning between two empty
// lines.
inline void WarnInvalidChoiceFramed() {
  std::cout << '\n' << warn_invchoice << "\n\n";
}
