// The Wavefront OBJ file writer.
#pragma once

// Writes Group to cfpath + cfname + ".obj". When the file cannot be created
// it prints a warning naming it and returns false.
bool ExportToObj();
