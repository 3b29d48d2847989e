// Template files: the 80-key table, the values of the last template read, the
// reader and the base name and directory of a template path.
#pragma once

#include <string>

constexpr int maxset = 80;
// The template keys in table order.
extern const std::string slist[maxset];
// The values of the last template read; empty = not given. A file name or
// texture name that the program does not take (settings/Names.h) is removed.
extern std::string tset[maxset];

// Resets the settings (keeping TempLoaded), reads the file and applies its
// values. False when the file cannot be opened or is not a regular file
// (status code 10 is pending).
bool LoadTemplate(const std::string& name);
// Applies tset to the settings, after removing the names it does not take.
void LoadSettings();
// The base name of a path: after the last backslash, before the last "." of
// its last component (after the last slash or backslash).
std::string GetFileName(const std::string& path);
// The directory of a path up to and including its last backslash, or empty.
std::string GetFilePath(const std::string& path);
