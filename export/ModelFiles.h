// The map and the OBJ file of one model, written together: both texts are
// finished before either file is replaced, so that a failure or a signal
// (export/TemporaryFiles.h) while either is written leaves both files as
// they were.
#pragma once

#include <string>

// What became of one file.
enum class FileOutcome {
  NotAsked,  // not to be written
  Written,   // replaced or created
  Failed,    // could not be created or written; left as it was
  Kept,      // left as it was, because the other file failed
};

struct ModelFilesOutcome {
  FileOutcome map = FileOutcome::NotAsked;
  FileOutcome obj = FileOutcome::NotAsked;
};

// Writes the map file and the OBJ file of Group, as asked. Memory that runs
// out while either is written (std::bad_alloc) leaves both files as they were.
ModelFilesOutcome ExportModelFiles(bool map, bool obj);

// The warning shown for a file left as it was because the other one failed.
std::string KeptWarning(const std::string& name, const std::string& failed);
