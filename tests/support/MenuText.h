// Test support: reading what the menus print.
#pragma once

#include <string>
#include <vector>

// The warning that the menus print for a key outside their choices.
inline const std::string kInvalidChoice = "\n[WARNING] Invalid choice!\n\n";
// The last line of the sub menu's drawing.
inline const std::string kSubMenuClosing = "  +------------------------------------------------------+\n";

bool Contains(const std::string& text, const std::string& part);

// The lines of the text, without their line ends.
std::vector<std::string> Lines(const std::string& text);

// The passes of a menu session: the output cut after every closing line of
// the menu's drawing, so that each pass is what the previous key's action
// printed followed by the drawing; what follows the last drawing belongs to
// the last pass.
std::vector<std::string> SplitPasses(const std::string& output, const std::string& closing);
