// The start-up driver: interactive mode, or batch mode over the templates
// named on the command line.
#pragma once

#include <string>

// Set when a map or OBJ file could not be created or memory ran out; a batch
// run then ends with exit status 1.
extern bool ExportFailed;

// Memory can run out with the largest models: the build or the writing stops
// and leaves no group behind. Returns the warning that says so.
std::string DropModelOutOfMemory(const std::string& what);

// Runs the program and returns its exit status: 0, or 1 for a batch run in
// which a file could not be created, memory ran out or a template named on
// the command line could not be read.
int RunKorvane(int argc, char** argv);
