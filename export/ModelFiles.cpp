#include "export/ModelFiles.h"

#include "export/MapWriter.h"
#include "export/ObjWriter.h"
#include "export/TemporaryFiles.h"
#include "export/TextOut.h"

ModelFilesOutcome ExportModelFiles(bool map, bool obj) {
  TextOut mapText;
  TextOut objText;
  // The OBJ text is written also when the map's failed, so that the console
  // tells whether the OBJ file could have been written.
  const bool mapFinished = !map || WriteMap(mapText);
  const bool objFinished = !obj || WriteObj(objText);
  ModelFilesOutcome outcome;
  if (!mapFinished || !objFinished) {
    if (map) outcome.map = mapFinished ? FileOutcome::Kept : FileOutcome::Failed;
    if (obj) outcome.obj = objFinished ? FileOutcome::Kept : FileOutcome::Failed;
    return outcome;
  }
  // A signal that arrives now waits until both files are in place.
  const SignalBlock block;
  const bool mapCommitted = !map || mapText.Commit();
  if (map) outcome.map = mapCommitted ? FileOutcome::Written : FileOutcome::Failed;
  if (obj) outcome.obj = !mapCommitted ? FileOutcome::Kept : objText.Commit() ? FileOutcome::Written : FileOutcome::Failed;
  return outcome;
}

std::string KeptWarning(const std::string& name, const std::string& failed) {
  return "[WARNING] Left the file \"" + name + "\" as it was: \"" + failed + "\" could not be created!";
}
