// A text file written through one large buffer, for the map and OBJ writers.
//
// Writing a file is done in two steps: everything that can fail is prepared
// first, and only then is the file changed, so that a failure (a full disk,
// the file size limit, a file that cannot be kept as the user had it) leaves
// no partial file and an older file of that name as it was, and the files of
// one export can all be prepared before any of them changes
// (export/ModelFiles.h).
//
//   Open     finds the file (export/OutputTarget.h); nothing is made yet.
//   Put...   the text, completed in a temporary file (export/TemporaryFiles.h)
//            beside the file, which nobody else can read.
//   Prepare  the text complete and, where it replaces a file, on the disk and
//            given the old file's owner, extended attributes and mode; or,
//            where a rename would not keep what the user had, the old file
//            opened, locked and its room allocated for a copy in place
//            (export/InPlaceCopy.h).
//   Stage    the last step that can fail without changing the old text:
//            the temporary file gets a name for its rename, or where the
//            file system allocates no room on request, a copy in place
//            takes its room by writing.
//   Commit   the rename, the link of a new file, or the copy in place.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "export/InPlaceCopy.h"
#include "export/OutputTarget.h"
#include "export/TemporaryFiles.h"

struct TextOut {
  TextOut() = default;
  TextOut(const TextOut&) = delete;
  TextOut& operator=(const TextOut&) = delete;
  // Removes the temporary file, and gives back what was prepared, when the
  // text was not put in place by Commit.
  ~TextOut() { Discard(); }

  // Finds the file of that name; its directory stays open. False when it
  // must not be written (see FindOutputTarget).
  bool Open(const std::string& name);
  // A place with room for n characters (n at most kChunk); after writing
  // there, hand the end of what was written to Advance.
  char* Room(size_t n);
  void Advance(char* end) { used = static_cast<size_t>(end - buffer.get()); }
  void Put(char c) { *Room(1) = c, ++used; }
  void Put(const char* text, size_t n);
  void Put(const std::string& text) { Put(text.data(), text.size()); }
  // Completes the text and prepares its commit; a copy in place waits for
  // other writers of the file within the export's wait. False when that
  // failed; the temporary file is then removed.
  bool Prepare(LockWait& wait);
  // Gives the prepared text its name for the rename, or takes the room of a
  // copy in place that Prepare could not allocate; call with the ending
  // signals held back until Commit. False when the directory takes no name
  // or there is no room; the old text has not changed then.
  bool Stage();
  // Puts the prepared text in place of the file (staging it first when that
  // was not done). False when that failed; the temporary file is removed
  // either way.
  bool Commit();
  // The old file was changed but could not take the whole text: a copy in
  // place failed on the way.
  bool Damaged() const { return inPlace.Damaged(); }
  // Removes the temporary file and gives back what was prepared.
  void Discard();

  static constexpr size_t kChunk = 1 << 20;

  // How the finished text takes the file's place.
  enum class Way {
    Rename,   // the temporary file is renamed over the file's name
    Link,     // a new file in a directory that cannot lose names: linked in
    InPlace,  // copied into the old file
  };

  std::string name;       // the file to write
  OutputTarget target;    // where it is, links followed
  Way way = Way::Rename;
  Temporary temporary;    // the text; made at the first write
  InPlaceCopy inPlace;    // the copy into the old file, once prepared
  bool started = false;   // the temporary file was asked for
  bool failed = false;    // it could not be made, or a write failed
  bool prepared = false;
  bool staged = false;
  std::unique_ptr<char[]> buffer;
  size_t used = 0;

 private:
  bool Start();
  void Flush();
  bool PrepareReplacement(LockWait& wait);
  bool KeepTheOldFile();
};

// The warning shown for a file that could not be created.
std::string CouldNotCreateWarning(const std::string& name);
