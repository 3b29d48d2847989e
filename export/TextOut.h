// A text file written through one large buffer, for the map and OBJ writers.
// The text goes to a temporary file beside the target, which replaces the
// target only when everything was written: a write that fails (a full disk,
// the file size limit) leaves no partial file, and an older file of that
// name as it was.
//
// A replacement keeps what the user had: the text goes through a symbolic
// link to the file it names, and the new file gets the old one's mode, owner
// and group. Where a rename cannot keep them (a file with more than one hard
// link, an owner or group the process may not give, a directory that refuses
// new files or the rename), the finished text is copied into the old file in
// place instead. Only such a copy, if it fails on the way, can leave a
// partial file.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "export/OutputTarget.h"
#include "export/TemporaryFiles.h"

struct TextOut {
  TextOut() = default;
  TextOut(const TextOut&) = delete;
  TextOut& operator=(const TextOut&) = delete;
  // Removes the temporary file when the text was not put in place by Commit.
  ~TextOut();

  // Starts the file of that name. False when it cannot be created: the
  // temporary file cannot, or the name is taken by something that must not
  // be replaced (see FindOutputTarget).
  bool Open(const std::string& name);
  // A place with room for n characters (n at most kChunk); after writing
  // there, hand the end of what was written to Advance.
  char* Room(size_t n);
  void Advance(char* end) { used = static_cast<size_t>(end - buffer.get()); }
  void Put(char c) { *Room(1) = c, ++used; }
  void Put(const char* text, size_t n);
  void Put(const std::string& text) { Put(text.data(), text.size()); }
  // Writes what is left: the text is complete in the temporary file. False
  // when a write failed; the temporary file is then removed.
  bool Finish();
  // Puts the finished text in place of the file. False when that failed; the
  // temporary file is removed either way.
  bool Commit();

  static constexpr size_t kChunk = 1 << 20;

  std::string name;          // the file to write
  OutputTarget target;       // where it is, links followed
  bool inPlace = false;      // the text is copied into the old file
  int fd = -1;               // the temporary file while it exists
  char temporary[kTemporaryNameMax + 1] = {};  // its name beside the target; empty when it has none
  int slot = -1;             // its slot for the signal handlers
  bool failed = false;       // a write failed
  std::unique_ptr<char[]> buffer;
  size_t used = 0;

 private:
  void Flush();
  bool RenameOrCopy();
  bool CopyInPlace();
  void Discard();
};

// The warning shown for a file that could not be created.
std::string CouldNotCreateWarning(const std::string& name);
