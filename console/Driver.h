// The start-up driver: interactive mode, or batch mode over the templates
// named on the command line.
#pragma once

// Set when a map or OBJ file could not be created; a batch run then ends
// with exit status 1.
extern bool ExportFailed;

// Runs the program and returns its exit status.
int RunKorvane(int argc, char** argv);
