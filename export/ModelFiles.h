// The map and the OBJ file of one model, written together: both files are
// found, and their directories held open, before either text is written, and
// both are prepared (export/TextOut.h) before either changes, so that a
// failure or a signal (export/TemporaryFiles.h) before the commit leaves both
// files as they were and both land where they were found.
#pragma once

#include <string>

// What became of one file.
enum class FileOutcome {
  NotAsked,    // not to be written
  Written,     // replaced or created
  Failed,      // could not be created or written; left as it was
  Kept,        // left as it was, because the other file failed
  NotWritten,  // not created (there was none), because the other file failed
  Damaged,     // changed, but its new text could not be completed
  SameFile,    // not written: the map and the OBJ file are one file
};

struct ModelFilesOutcome {
  FileOutcome map = FileOutcome::NotAsked;
  FileOutcome obj = FileOutcome::NotAsked;
};

// Writes the map file and the OBJ file of Group, as asked. Memory that runs
// out while either is written (std::bad_alloc) leaves both files as they were.
// Two names that are one file are both refused before anything is written.
ModelFilesOutcome ExportModelFiles(bool map, bool obj);

// The warning shown for a file left as it was because the other one failed.
std::string KeptWarning(const std::string& name, const std::string& failed);
// The warning shown for a file not created because the other one failed.
std::string NotWrittenWarning(const std::string& name, const std::string& failed);
// The warning shown for a file whose copy in place failed on the way.
std::string DamagedWarning(const std::string& name);
// The one warning shown when the map's and the OBJ file's names are one file.
std::string SameFileWarning(const std::string& map, const std::string& obj);
