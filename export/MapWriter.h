// The map file writer.
#pragma once

#include <string>

struct TextOut;

// The file the map is written to: cfpath + cfname + ".map".
std::string MapFileName();
// Writes Group into out, opened for the file, up to a finished text that
// out.Commit() puts in place. False when the file cannot be created or
// written.
bool WriteMap(TextOut& out);
// Writes Group to MapFileName(). False when the file cannot be created or
// written; an older file of that name is then left as it was. Prints nothing:
// the caller shows CouldNotCreateWarning (export/TextOut.h).
bool ExportToMap();
