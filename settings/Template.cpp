#include "settings/Template.h"

#include "settings/Settings.h"

const std::string slist[maxset] = {};
std::string tset[maxset];

bool LoadTemplate(const std::string&) {
  ReSettings();
  return false;
}

void LoadSettings() {}

std::string GetFileName(const std::string& path) { return path; }

std::string GetFilePath(const std::string&) { return std::string(); }
