#include "console/Driver.h"

#include <csignal>
#include <iostream>
#include <new>
#include <string>

#include "console/ConsoleInput.h"
#include "console/Menus.h"
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
#include "settings/Template.h"

bool ExportFailed = false;

namespace {

// Prints the confirmation of an export, or the warning naming the file that
// could not be created, was damaged, or was left as it was or not created
// because the other one failed.
void ReportExport(FileOutcome outcome, const char* confirmation, const std::string& file,
                  const std::string& other) {
  switch (outcome) {
    case FileOutcome::NotAsked: return;
    case FileOutcome::Written: std::cout << confirmation << std::endl; return;
    case FileOutcome::Failed: std::cout << CouldNotCreateWarning(file) << std::endl; break;
    case FileOutcome::Kept: std::cout << KeptWarning(file, other) << std::endl; break;
    case FileOutcome::NotWritten: std::cout << NotWrittenWarning(file, other) << std::endl; break;
    case FileOutcome::Damaged: std::cout << DamagedWarning(file) << std::endl; break;
    case FileOutcome::SameFile: break;  // one warning for both, below
  }
  ExportFailed = true;
}

// Builds and exports a template that skips the menus.
void RunWithoutMenu() {
  Generate();
  if (autoscale && CurrentDeci != 0) {
    const float factor = static_cast<float>(n_pow(2, CurrentDeci));
    Scale(factor, all);
    float scaleDown = 1.0f;
    for (int i = 0; i < CurrentDeci; ++i) scaleDown = scaleDown / 2.0f;
    last_transfactor = scaleDown;
  }
  // The map and the OBJ file are replaced together, or neither is.
  const ModelFilesOutcome outcome = ExportModelFiles(exmap, exobj);
  if (outcome.map == FileOutcome::SameFile) std::cout << SameFileWarning(MapFileName(), ObjFileName()) << std::endl;
  ReportExport(outcome.map, "Exported To Map!!!", MapFileName(), ObjFileName());
  ReportExport(outcome.obj, "Exported To Obj!!!", ObjFileName(), MapFileName());
  std::cout << "PRESS ANY BUTTON..." << std::endl;
  getch();
}

// Runs one template of the batch; false when it could not be read. A template
// that is not available still opens the sub menu, whose status box says so.
bool RunTemplate(const std::string& path) {
  ReSettings();
  const bool read = LoadTemplate(path);
  if (tset[0].empty()) cfname = GetFileName(path);
  if (tset[1].empty()) cfpath = GetFilePath(path);
  if (nomenu) {
    RunWithoutMenu();
    return read;
  }
  if (read) SetMessage(MsgTemplateLoaded);
  menu_sub();
  return read;
}

void ReportOutOfMemory(const std::string& what) { std::cout << DropModelOutOfMemory(what) << std::endl; }

// A template that runs out of memory is reported, and the batch goes on with
// the next one. False when the template could not be read.
bool RunTemplateReported(const std::string& path) {
  try {
    return RunTemplate(path);
  } catch (const std::bad_alloc&) {
    ReportOutOfMemory("the template \"" + path + "\"");
    return true;
  }
}

}  // namespace

std::string DropModelOutOfMemory(const std::string& what) {
  Group.reset();
  firstrun = true;
  ExportFailed = true;
  return "[WARNING] Not enough memory for " + what + "!";
}

int RunKorvane(int argc, char** argv) {
  std::signal(SIGXFSZ, SIG_IGN);  // the file size limit fails a write instead of ending the program
  // A closed standard output (a reader that stopped early) fails the console
  // output instead of ending the program; the batch goes on writing its files.
  std::signal(SIGPIPE, SIG_IGN);
  const bool batch = argc > 1;
  bool allRead = true;
  try {
    if (!batch) {
      ReSettings();
      DragAndDrop = false;
      menu_main();
    } else {
      DragAndDrop = true;
      for (int i = 1; i < argc; ++i) allRead = RunTemplateReported(argv[i]) && allRead;
    }
  } catch (const std::bad_alloc&) {
    ReportOutOfMemory("this model");
    return 1;
  }
  return batch && (ExportFailed || !allRead) ? 1 : 0;
}
