#include "console/Driver.h"

#include <iostream>

#include "console/ConsoleInput.h"
#include "console/Menus.h"
#include "export/MapWriter.h"
#include "export/ObjWriter.h"
#include "generation/Circle.h"
#include "generation/Generate.h"
#include "generation/Scale.h"
#include "settings/Message.h"
#include "settings/Settings.h"
#include "settings/Template.h"

bool ExportFailed = false;

namespace {

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
  if (exmap) {
    if (ExportToMap()) std::cout << "Exported To Map!!!" << std::endl;
    else ExportFailed = true;
  }
  if (exobj) {
    if (ExportToObj()) std::cout << "Exported To Obj!!!" << std::endl;
    else ExportFailed = true;
  }
  std::cout << "PRESS ANY BUTTON..." << std::endl;
  getch();
}

void RunTemplate(const std::string& path) {
  ReSettings();
  const bool read = LoadTemplate(path);
  if (tset[0].empty()) cfname = GetFileName(path);
  if (tset[1].empty()) cfpath = GetFilePath(path);
  if (nomenu) {
    RunWithoutMenu();
    return;
  }
  if (read) SetMessage(MsgTemplateLoaded);
  menu_sub();
}

}  // namespace

int RunKorvane(int argc, char** argv) {
  const bool batch = argc > 1;
  if (!batch) {
    ReSettings();
    DragAndDrop = false;
    menu_main();
  } else {
    DragAndDrop = true;
    for (int i = 1; i < argc; ++i) RunTemplate(argv[i]);
  }
  return batch && ExportFailed ? 1 : 0;
}
