// The main menu: the banner, the five shapes and quit.
#include <iostream>
#include <string>

#include "console/ConsoleInput.h"
#include "console/Menus.h"
#include "settings/Settings.h"
#include "settings/Shape.h"

namespace {

constexpr std::size_t kInnerWidth = 71;  // between the two "||"
const std::string kIndent = "     ";     // before the text of a text line

// The large lettering of the banner, ten rows of the seven letters.
constexpr int kLetterRows = 10;
constexpr int kLetterCount = 7;
constexpr std::size_t kLetterWidth = 8;
const char* const kLetters[kLetterCount][kLetterRows] = {
    // K
    {"##    ##", "##   ##", "##  ##", "## ##", "####", "####", "## ##", "##  ##", "##   ##",
     "##    ##"},
    // o
    {"", "", "", "", " ######", "##    ##", "##    ##", "##    ##", "##    ##", " ######"},
    // r
    {"", "", "", "", "## ####", "###   ##", "##", "##", "##", "##"},
    // v
    {"", "", "", "", "##    ##", "##    ##", " ##  ##", " ##  ##", "  ####", "   ##"},
    // a
    {"", "", "", "", " ######", "      ##", " #######", "##    ##", "##   ###", " #### ##"},
    // n
    {"", "", "", "", "## ####", "###   ##", "##    ##", "##    ##", "##    ##", "##    ##"},
    // e
    {"", "", "", "", " ######", "##    ##", "########", "##", "##    ##", " ######"},
};

// One row of the lettering, the letters one blank apart.
std::string LetterRow(int row) {
  std::string line;
  for (int letter = 0; letter < kLetterCount; ++letter) {
    if (letter > 0) line += ' ';
    line += PadRight(kLetters[letter][row], kLetterWidth);
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

// A rule under and over the lettering, as wide as it.
std::string LetterRule() {
  return std::string(kLetterCount * kLetterWidth + (kLetterCount - 1), '~');
}

void PrintBorder() { std::cout << "++" << std::string(kInnerWidth, '=') << "++\n"; }

void PrintEmptyLine() { std::cout << "||" << std::string(kInnerWidth, ' ') << "||\n"; }

void PrintTextLine(const std::string& text) {
  std::cout << "||" << PadRight(kIndent + text, kInnerWidth) << "||\n";
}

// The fourteen banner lines: rule, empty line, lettering, empty line, rule.
void PrintBanner() {
  PrintTextLine(LetterRule());
  PrintEmptyLine();
  for (int row = 0; row < kLetterRows; ++row) PrintTextLine(LetterRow(row));
  PrintEmptyLine();
  PrintTextLine(LetterRule());
}

void DrawMainMenu() {
  PrintBorder();
  PrintBanner();
  PrintEmptyLine();
  PrintTextLine("3D Shape Generator for Quake Map Format");
  PrintTextLine("v1.01a - January 16th, 2018");
  PrintEmptyLine();
  PrintTextLine("What do you want to do?");
  PrintEmptyLine();
  PrintTextLine("(1) Create Cylinder");
  PrintTextLine("(2) Create Ring/Arch");
  PrintTextLine("(3) Create Torus");
  PrintTextLine("(4) Create Hollow Torus");
  PrintTextLine("(5) Create Sphere");
  PrintTextLine("(q) Quit Program");
  PrintEmptyLine();
  PrintBorder();
}

// Keys from '0' to 'q' draw the menu again when they have no action; keys
// outside that range are only warned about.
bool InMenuRange(char key) { return key >= '0' && key <= 'q'; }

// Reads keys until one inside the menu's range arrives; the end of the input
// quits.
char ReadMainChoice() {
  char key = 0;
  while (ReadChoice(key)) {
    if (InMenuRange(key)) return key;
    WarnInvalidChoiceFramed();
  }
  return 'q';
}

void OpenShape(shape s) {
  SetShape(s);
  firstrun = true;
  menu_sub();
}

}  // namespace

void menu_main() {
  for (;;) {
    DrawMainMenu();
    const char key = ReadMainChoice();
    switch (key) {
      case '1': OpenShape(cylinder); break;
      case '2': OpenShape(arch); break;
      case '3': OpenShape(torus); break;
      case '4': OpenShape(htorus); break;
      case '5': OpenShape(sphere); break;
      case 'q': return;
      default: WarnInvalidChoiceFramed(); break;
    }
  }
}
