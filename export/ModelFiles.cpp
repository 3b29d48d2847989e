#include "export/ModelFiles.h"

#include "export/MapWriter.h"
#include "export/ObjWriter.h"
#include "export/TemporaryFiles.h"
#include "export/TextOut.h"

namespace {

// Opens the file and prepares its text; false when either failed.
bool Prepared(bool opened, TextOut& out, void (*write)(TextOut&)) {
  if (!opened) return false;
  write(out);
  return out.Prepare();
}

// What became of a file that is to be written and was ready, when the other
// one failed.
FileOutcome LeftAsItWas(const TextOut& out) { return out.target.exists ? FileOutcome::Kept : FileOutcome::NotWritten; }

FileOutcome Unchanged(bool asked, bool ready, const TextOut& out) {
  if (!asked) return FileOutcome::NotAsked;
  return ready ? LeftAsItWas(out) : FileOutcome::Failed;
}

}  // namespace

ModelFilesOutcome ExportModelFiles(bool map, bool obj) {
  TextOut mapText;
  TextOut objText;
  // Both files are found before either text is written.
  const bool mapOpened = map && mapText.Open(MapFileName());
  const bool objOpened = obj && objText.Open(ObjFileName());
  // The OBJ text is prepared also when the map's failed, so that the console
  // tells whether the OBJ file could have been written.
  bool mapReady = !map || Prepared(mapOpened, mapText, WriteMap);
  bool objReady = !obj || Prepared(objOpened, objText, WriteObj);
  // A signal that arrives now waits until both files are in place.
  const SignalBlock block;
  if (mapReady && objReady) {
    mapReady = !map || mapText.Stage();
    objReady = !mapReady || !obj || objText.Stage();
  }
  ModelFilesOutcome outcome;
  if (!mapReady || !objReady) {
    outcome.map = Unchanged(map, mapReady, mapText);
    outcome.obj = Unchanged(obj, objReady, objText);
    return outcome;
  }
  const bool mapCommitted = !map || mapText.Commit();
  if (map) outcome.map = mapCommitted ? FileOutcome::Written : FileOutcome::Failed;
  if (obj) outcome.obj = !mapCommitted ? LeftAsItWas(objText) : objText.Commit() ? FileOutcome::Written : FileOutcome::Failed;
  return outcome;
}

std::string KeptWarning(const std::string& name, const std::string& failed) {
  return "[WARNING] Left the file \"" + name + "\" as it was: \"" + failed + "\" could not be created!";
}

std::string NotWrittenWarning(const std::string& name, const std::string& failed) {
  return "[WARNING] Did not write the file \"" + name + "\": \"" + failed + "\" could not be created!";
}
