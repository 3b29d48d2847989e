// The sub menu: the status box of the selected shape and its actions.
#include <iostream>
#include <new>
#include <string>

#include "console/ConsoleInput.h"
#include "console/Driver.h"
#include "console/Menus.h"
#include "export/Listing.h"
#include "export/MapWriter.h"
#include "export/ModelFiles.h"
#include "export/ObjWriter.h"
#include "export/TextOut.h"
#include "generation/Brush.h"
#include "generation/Circle.h"
#include "generation/Generate.h"
#include "generation/Scale.h"
#include "settings/Message.h"
#include "settings/Settings.h"
#include "settings/Shape.h"
#include "settings/Template.h"

namespace {

constexpr std::size_t kBoxInner = 53;     // between "++" and "++"
constexpr std::size_t kWideField = 43;    // name and path
constexpr std::size_t kNarrowField = 16;  // the fields of the two columns

// ---- Drawing ---------------------------------------------------------------

// A row of the status box with one value across both columns.
void PrintWideRow(const std::string& label, const std::string& value) {
  std::cout << "  ||" << label << PadRight(value, kWideField) << "||\n";
}

// A row of the status box with a value in each column.
void PrintTwoColumnRow(const std::string& leftLabel, const std::string& left,
                       const std::string& rightLabel, const std::string& right) {
  std::cout << "  ||" << leftLabel << PadRight(left, kNarrowField) << rightLabel
            << PadRight(right, kNarrowField) << "||\n";
}

std::string BrushCountText() { return Group ? std::to_string(Group->bcount) : "N/A"; }

void PrintStatusBox() {
  const std::string half(26, '-');
  std::cout << "  ++" << std::string(kBoxInner, '=') << "++\n";
  std::cout << "  ||                      Sub Menu                       ||\n";
  std::cout << "  ++" << half << '+' << half << "++\n";
  PrintWideRow("    Name: ", cfname);
  PrintWideRow("    Path: ", cfpath);
  PrintTwoColumnRow("   Shape: ", brushname(), "| Brushes: ", BrushCountText());
  PrintTwoColumnRow("   Res 1: ", std::to_string(res), "|    Size: ", "N/A");
  PrintTwoColumnRow("   Res 2: ", std::to_string(res2), "| Decimal: ", std::to_string(CurrentDeci));
  PrintTwoColumnRow("   Rad 1: ", NumberText(rad), "|   Tex 1: ", tex1);
  PrintTwoColumnRow("   Rad 2: ", NumberText(rad2), "|   Tex 2: ", tex2);
  PrintTwoColumnRow("   Rad 3: ", NumberText(rad3), "|   Tex 3: ", tex3);
  std::cout << "  ++" << std::string(kBoxInner, '-') << "++\n";
  std::cout << "  |\n";
}

void PrintDecimalWarning() {
  std::cout << "  | [WARNING] Some vertices of the generated mesh contain up to [" << CurrentDeci
            << "] decimal places.\n";
  std::cout << "  |           In order to open it correctly in most editors,\n";
  std::cout << "  |           you can increase its size by using the appropiate option (a)!\n";
  std::cout << "  |\n";
}

void PrintOptions() {
  const std::string name = brushname();
  std::cout << "  | (l) Load Settings from Template File\n";
  std::cout << "  | (m) Change Mesh Properties\n";
  std::cout << "  | (t) Change Texture Properties\n";
  std::cout << "  | (g) Generate " << name << '\n';
  if (firstrun) {
    std::cout << "  | (d) Load default values\n";
  } else {
    std::cout << "  | (s) Show generated " << name << '\n';
    std::cout << "  | (e) Export generated " << name << " as Map-File\n";
    std::cout << "  | (o) Export generated " << name << " as OBJ-File\n";
    std::cout << "  | (d) Load default values (Deletes current object!)\n";
    if (CurrentDeci > 0) {
      std::cout << "  | (a) Automatically enlarge Model (to get rid of decimal places)\n";
    }
  }
  std::cout << "  | (q) Back to Main-Menu\n";
}

// Shows the pending status message once.
void PrintPendingMessage() {
  if (Gmessage.empty()) return;
  std::cout << "  |\n" << Gmessage << "  |\n";
  Gmessage.clear();
}

void DrawSubMenu() {
  PrintStatusBox();
  if (CurrentDeci > 0) PrintDecimalWarning();
  PrintOptions();
  PrintPendingMessage();
  std::cout << "  +" << std::string(54, '-') << "+\n";
}

// ---- Actions ---------------------------------------------------------------

// Asks for a template path and loads it; the object is named after the typed
// path unless the template gives its own name or directory.
void LoadTemplateAction() {
  TempLoaded = true;
  std::cout << "Enter template file name (and full path, in case it differs from Root-folder):";
  std::string path;
  if (!ReadWord(path)) return;  // the input has ended: nothing is loaded
  const std::string name = GetFileName(path);
  const std::string dir = GetFilePath(path);
  cfname = name;
  cfpath = dir;
  const bool read = LoadTemplate(path);
  if (tset[0].empty()) cfname = name;
  if (tset[1].empty()) cfpath = dir;
  if (read) SetMessage(MsgTemplateLoaded);
}

void LoadDefaultsAction() {
  ReSettings();
  SetMessage(MsgDefaultsLoaded);
}

// Confirms an export, or posts the warning about the file that could not be
// created or was damaged: it becomes the pending status message, so that it
// stands inside the redrawn menu instead of scrolling away above it.
void PostExport(FileOutcome outcome, int confirmation, const std::string& file) {
  if (outcome == FileOutcome::Written) {
    SetMessage(confirmation);
    return;
  }
  const std::string warning = outcome == FileOutcome::Damaged ? DamagedWarning(file) : CouldNotCreateWarning(file);
  Gmessage = "  | " + warning + "\n";
  ExportFailed = true;
}

// Exports the current object and confirms it, or posts the failure.
void ExportMapAction() { PostExport(ExportModelFiles(true, false).map, MsgExportedMap, MapFileName()); }

void ExportObjAction() { PostExport(ExportModelFiles(false, true).obj, MsgExportedObj, ObjFileName()); }

// Doubles the model once for every decimal place found; the status message
// records the factor that scales it back.
void EnlargeAction() {
  const float factor = static_cast<float>(n_pow(2, CurrentDeci));
  Scale(factor, all);
  SetMessage(MsgScaledUp);
  CurrentDeci = 0;
}

void LeaveAction() {
  firstrun = true;
  Group.reset();
}

// ---- Reading the choice ----------------------------------------------------

bool InMenuRange(char key) { return key >= 'a' && key <= 't'; }

// Reads keys until one from 'a' to 't' arrives; the end of the input leaves
// the menu.
char ReadSubChoice() {
  char key = 0;
  while (ReadChoice(key)) {
    if (InMenuRange(key)) return key;
    WarnInvalidChoiceFramed();
  }
  return 'q';
}

// Carries out the key's action; false when the menu is left.
bool Dispatch(char key) {
  const bool current = !firstrun;
  switch (key) {
    case 'l': LoadTemplateAction(); break;
    case 'm': menu_props(); break;
    case 't': menu_tex(); break;
    case 'g': Generate(); break;
    case 'd': LoadDefaultsAction(); break;
    case 's': if (current) DisplayGen(); break;
    case 'e': if (current) ExportMapAction(); break;
    case 'o': if (current) ExportObjAction(); break;
    case 'a': if (CurrentDeci != 0) EnlargeAction(); break;
    case 'q': LeaveAction(); return false;
    default: WarnInvalidChoiceFramed(); break;
  }
  return true;
}

// An action that runs out of memory drops the model and says so in the
// status box; the menu goes on.
bool DispatchReported(char key) {
  try {
    return Dispatch(key);
  } catch (const std::bad_alloc&) {
    Gmessage = "  | " + DropModelOutOfMemory("this model") + "\n";
    return true;
  }
}

}  // namespace

void menu_sub() {
  for (;;) {
    DrawSubMenu();
    if (!DispatchReported(ReadSubChoice())) return;
  }
}
