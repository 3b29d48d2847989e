#include "export/ModelFiles.h"

#include "export/MapWriter.h"
#include "export/ObjWriter.h"
#include "export/TemporaryFiles.h"
#include "export/TextOut.h"

namespace {

// Writes the text into the opened file and prepares it; false when either
// failed.
bool Prepared(bool opened, TextOut& out, void (*write)(TextOut&), LockWait& wait) {
  if (!opened) return false;
  write(out);
  return out.Prepare(wait);
}

// What became of a file that is to be written, was ready, and was not put in
// place because the other one failed: what was prepared is given back first.
FileOutcome LeftAsItWas(TextOut& out) {
  out.Discard();
  if (out.Damaged()) return FileOutcome::Damaged;
  return out.target.exists ? FileOutcome::Kept : FileOutcome::NotWritten;
}

FileOutcome Unchanged(bool asked, bool ready, TextOut& out) {
  if (!asked) return FileOutcome::NotAsked;
  if (ready) return LeftAsItWas(out);
  return out.Damaged() ? FileOutcome::Damaged : FileOutcome::Failed;
}

FileOutcome Committed(TextOut& out) {
  if (out.Commit()) return FileOutcome::Written;
  return out.Damaged() ? FileOutcome::Damaged : FileOutcome::Failed;
}

}  // namespace

ModelFilesOutcome ExportModelFiles(bool map, bool obj) {
  TextOut mapText;
  TextOut objText;
  ModelFilesOutcome outcome;
  // Both files are found before either text is written.
  const bool mapOpened = map && mapText.Open(MapFileName());
  const bool objOpened = obj && objText.Open(ObjFileName());
  // Two names of one file (links, or a link to the other) could take only
  // one of the texts.
  if (mapOpened && objOpened && IsSameFile(mapText.target, objText.target)) {
    outcome.map = outcome.obj = FileOutcome::SameFile;
    return outcome;
  }
  // The copies of both files wait for other writers within one time.
  LockWait wait;
  // The OBJ text is prepared also when the map's failed, so that the console
  // tells whether the OBJ file could have been written.
  bool mapReady = !map || Prepared(mapOpened, mapText, WriteMap, wait);
  bool objReady = !obj || Prepared(objOpened, objText, WriteObj, wait);
  // A signal that arrives now waits until both files are in place.
  const SignalBlock block;
  if (mapReady && objReady) {
    mapReady = !map || mapText.Stage();
    objReady = !mapReady || !obj || objText.Stage();
  }
  if (!mapReady || !objReady) {
    outcome.map = Unchanged(map, mapReady, mapText);
    outcome.obj = Unchanged(obj, objReady, objText);
    return outcome;
  }
  if (map) outcome.map = Committed(mapText);
  if (obj) outcome.obj = map && outcome.map != FileOutcome::Written ? LeftAsItWas(objText) : Committed(objText);
  return outcome;
}

std::string KeptWarning(const std::string& name, const std::string& failed) {
  return "[WARNING] Left the file \"" + name + "\" as it was: \"" + failed + "\" could not be created!";
}

std::string NotWrittenWarning(const std::string& name, const std::string& failed) {
  return "[WARNING] Did not write the file \"" + name + "\": \"" + failed + "\" could not be created!";
}

std::string DamagedWarning(const std::string& name) {
  return "[WARNING] The file \"" + name + "\" is damaged: its new text could not be written completely!";
}

std::string SameFileWarning(const std::string& map, const std::string& obj) {
  return "[WARNING] Could not create the files \"" + map + "\" and \"" + obj + "\": the two names are one file!";
}
