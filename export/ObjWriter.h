// The Wavefront OBJ file writer.
#pragma once

#include <string>

// The file the OBJ mesh is written to: cfpath + cfname + ".obj".
std::string ObjFileName();
// Writes Group to ObjFileName(), every face with each of its corners once.
// False when the file cannot be created or written; an older file of that
// name is then left as it was. Prints nothing: the caller shows
// CouldNotCreateWarning (export/TextOut.h).
bool ExportToObj();
