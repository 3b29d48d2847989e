// The export rules menu: which generated brushes the writers export.
#include <iostream>
#include <string>

#include "console/ConsoleInput.h"
#include "console/Menus.h"
#include "settings/Settings.h"

namespace {

// ---- Which options are listed ----------------------------------------------

bool HasRange() { return D_method == ExportBrushRange || D_method == ExportSectionRange; }
bool HasSegmentRange() { return D_method == ExportSectionRange; }
bool HasNth() {
  return D_method2 == RuleNthBrush || D_method2 == RuleNthSection || D_method2 == RuleNthSegment;
}

// ---- Drawing -------------------------------------------------------------------

const std::string kBorder = "        +---------------------------------+";

std::string Rule1Label(int method) {
  switch (method) {
    case ExportAll: return "(All Brushes - DEFAULT)";
    case ExportBrushRange: return "(Brush Range)";
    case ExportSectionRange: return "(Section/Segment Range)";
    default: return "";
  }
}

std::string Rule2Label(int method) {
  switch (method) {
    case RuleNone: return "(None - DEFAULT)";
    case RuleRandom: return "(Random)";
    case RuleNthBrush: return "(Draw n-th Brush only)";
    case RuleNthSection: return "(Draw n-th Section only)";
    case RuleNthSegment: return "(Draw n-th Segment only)";
    default: return "";
  }
}

// "        | (k) Text [value] label"; without a label the line ends in "] ".
void PrintValueLine(const std::string& option, int value, const std::string& label) {
  std::cout << "        | " << option << " [" << value << "] " << label << '\n';
}

std::string StartLabel(int value) { return value == 1 ? "(DEFAULT)" : ""; }
std::string EndLabel(int value) { return value == 0 ? "(Auto - DEFAULT)" : ""; }

void DrawRulesMenu() {
  std::cout << kBorder << '\n';
  std::cout << "        |           Export Rules          |\n";
  std::cout << kBorder << '\n';
  PrintValueLine("(1) Export ...", D_method, Rule1Label(D_method));
  PrintValueLine("(2) Additional Rule", D_method2, Rule2Label(D_method2));
  if (HasRange()) {
    std::cout << "        | (3) Toggle Number/Percent "
              << (D_percent ? "(Percent)" : "(Number - DEFAULT)") << '\n';
  }
  if (D_method == ExportBrushRange) {
    PrintValueLine("(4) Start Brush", D_start, StartLabel(D_start));
    PrintValueLine("(5) End Brush", D_end, EndLabel(D_end));
  }
  if (D_method == ExportSectionRange) {
    PrintValueLine("(4) Start Section", D_start, StartLabel(D_start));
    PrintValueLine("(5) End Section", D_end, EndLabel(D_end));
    PrintValueLine("(6) Start Segment", D_start2, StartLabel(D_start2));
    PrintValueLine("(7) End Segment", D_end2, EndLabel(D_end2));
  }
  if (HasNth()) PrintValueLine("(8) Set N", D_nth, StartLabel(D_nth));
  std::cout << "        | (q) Back\n";
  std::cout << kBorder << '\n';
}

// ---- Actions -------------------------------------------------------------------

// Rule 1 cycles 0, 1, 2; a value outside the set starts over at 0.
void NextRule1() { D_method = D_method > 1 ? ExportAll : D_method + 1; }
// Rule 2 cycles 0 to 4; a value outside the set starts over at 0.
void NextRule2() { D_method2 = D_method2 > 3 ? RuleNone : D_method2 + 1; }

void AskBound(int& setting, const std::string& name) {
  AskInt("[INPUT] Specify " + name + ": (Currently: " + std::to_string(setting) + ")", setting);
}

// Whether the digit's option is listed in the current state; 0 and 9 have
// none.
bool IsListed(char key) {
  switch (key) {
    case '1':
    case '2': return true;
    case '3':
    case '4':
    case '5': return HasRange();
    case '6':
    case '7': return HasSegmentRange();
    case '8': return HasNth();
    default: return false;
  }
}

// Carries out the action of a listed option.
void Act(char key) {
  switch (key) {
    case '1': NextRule1(); break;
    case '2': NextRule2(); break;
    case '3': D_percent = !D_percent; break;
    case '4': AskBound(D_start, "Start"); break;
    case '5': AskBound(D_end, "End"); break;
    case '6': AskBound(D_start2, "Start 2"); break;
    case '7': AskBound(D_end2, "End 2"); break;
    case '8': AskBound(D_nth, "N"); break;
    default: break;
  }
}

// ---- Reading the choice ----------------------------------------------------

bool IsMenuKey(char key) { return (key >= '0' && key <= '9') || key == 'q'; }

// Reads keys until one of the menu's keys arrives; the end of the input
// leaves the menu.
char ReadRulesChoice() {
  char key = 0;
  while (ReadChoice(key)) {
    if (IsMenuKey(key)) return key;
    WarnInvalidChoiceFramed();
  }
  return 'q';
}

}  // namespace

void menu_draw() {
  for (;;) {
    DrawRulesMenu();
    const char key = ReadRulesChoice();
    if (key == 'q') return;
    if (!IsListed(key)) continue;
    Act(key);
    firstrun = true;
  }
}
