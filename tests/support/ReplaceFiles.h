// Test support for the end-to-end tests of replacing output files: the
// templates they run, the texts those write, the console lines about them,
// and a large model started beside older files.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "support/Child.h"
#include "support/OpenFiles.h"

// A template that writes the map and the OBJ file and ends without menus.
inline const std::string kPairTemplate = "nomenu 1\nexmap 1\nexobj 1\n";
// The same with a model large enough (52 MB of map, 28 MB of OBJ, a tenth of
// a second) that a test can act while the program writes it.
inline const std::string kBigTemplate = kPairTemplate + "shape htorus\nres 192\nres2 192\nsym 1\n";
// The text of the older files the tests replace.
inline const std::string kOld = "old text\n";

// The console lines of a template whose two files were written.
inline const std::string kWritten = "Exported To Map!!!\nExported To Obj!!!\nPRESS ANY BUTTON...\n";
inline const std::string kPressAnyButton = "PRESS ANY BUTTON...\n";
// The console line of a file that could not be created.
std::string CouldNotCreate(const std::string& name);
// The console line of the other file of a pair when it existed...
std::string LeftAsItWas(const std::string& name, const std::string& failed);
// ...and when it did not.
std::string DidNotWrite(const std::string& name, const std::string& failed);

// The console line of a file whose copy in place failed on the way.
std::string Damaged(const std::string& name);
// The one console line when the map's and the OBJ file's names are one file.
std::string OneFile(const std::string& map, const std::string& obj);

// A text as a failure shows it: its beginning where it is long.
std::string Shown(const std::string& text);
// Whether a file's text is the one expected, shown short where it is not.
::testing::AssertionResult SameText(const std::string& actual, const std::string& expected);
// Makes a hard link; false when that fails.
bool HardLink(const std::string& from, const std::string& to);

// The files a template writes where nothing is in the way.
struct Texts {
  std::string map;
  std::string obj;
};
Texts Expected(const std::string& templateText);
const Texts& Cylinder();  // of kPairTemplate
const Texts& BigModel();  // of kBigTemplate

// The named temporary files (.korvane-*) in a directory.
std::vector<std::string> Temporaries(const std::string& dir);

// Starts the large model in dir, beside older files of its own (c.map and
// c.obj with kOld) when oldFiles, and waits until it has held the given
// number of temporary files open there: 1 while it writes the map, 2 once it
// writes the OBJ file after the map's text is complete. Temporary files with
// and without names are found alike (see OpenFiles.h).
::testing::AssertionResult StartWriting(const std::string& dir, std::unique_ptr<ChildProgram>& program,
                                        std::size_t temporaries, const ChildOptions& options = {},
                                        bool oldFiles = true);
