// The map file writer.
#pragma once

#include <string>

// The file the map is written to: cfpath + cfname + ".map".
std::string MapFileName();
// Writes Group to MapFileName(). False when the file cannot be created or
// written; an older file of that name is then left as it was. Prints nothing:
// the caller shows CouldNotCreateWarning (export/TextOut.h).
bool ExportToMap();
