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

// Runs the program and returns its exit status.
int RunKorvane(int argc, char** argv);
