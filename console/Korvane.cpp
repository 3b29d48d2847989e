// Korvane: curved brushes for Quake-family level editors.
#include "console/Driver.h"

int main(int argc, char** argv) { return RunKorvane(argc, argv); }
