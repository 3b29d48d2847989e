// The map file writer.
#pragma once

// Writes Group to cfpath + cfname + ".map". When the file cannot be created
// it prints a warning naming it and returns false.
bool ExportToMap();
