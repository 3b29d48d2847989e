// The map file writer.
#pragma once

#include <string>

struct TextOut;

// The file the map is written to: cfpath + cfname + ".map".
std::string MapFileName();
// Writes the map text of Group into out, opened for the file; out.Prepare()
// and out.Commit() then put it in place.
void WriteMap(TextOut& out);
// Writes Group to MapFileName(). False when the file cannot be created or
// written; an older file of that name is then left as it was, unless a copy
// into it failed on the way (ExportModelFiles tells which). Prints nothing.
bool ExportToMap();
