// The Wavefront OBJ file writer.
#pragma once

#include <string>

struct TextOut;

// The file the OBJ mesh is written to: cfpath + cfname + ".obj".
std::string ObjFileName();
// Writes the OBJ text of Group into out, opened for the file, every face with
// each of its corners once; out.Prepare() and out.Commit() then put it in
// place.
void WriteObj(TextOut& out);
// Writes Group to ObjFileName(). False when the file cannot be created or
// written; an older file of that name is then left as it was, unless a copy
// into it failed on the way (ExportModelFiles tells which). Prints nothing.
bool ExportToObj();
