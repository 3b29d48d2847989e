// A text file written through one large buffer, for the map and OBJ writers.
// The text goes to a temporary file beside the target, which replaces the
// target only when everything was written: a write that fails (a full disk,
// the file size limit) leaves no partial file, and an older file of that
// name as it was.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

struct TextOut {
  TextOut() = default;
  TextOut(const TextOut&) = delete;
  TextOut& operator=(const TextOut&) = delete;
  // Removes the temporary file when the text was not completed by Close.
  ~TextOut();

  // Starts the file of that name. False when it cannot be created: the
  // temporary file cannot, or the name is taken by something that must not
  // be replaced (a directory, a file without write permission).
  bool Open(const std::string& name);
  // A place with room for n characters (n at most kChunk); after writing
  // there, hand the end of what was written to Advance.
  char* Room(size_t n);
  void Advance(char* end) { used = static_cast<size_t>(end - buffer.get()); }
  void Put(char c) { *Room(1) = c, ++used; }
  void Put(const char* text, size_t n);
  void Put(const std::string& text) { Put(text.data(), text.size()); }
  // Writes what is left, closes the temporary file and renames it to the
  // file's name. False when any step failed; the temporary file is removed.
  bool Close();

  static constexpr size_t kChunk = 1 << 20;

  std::string name;       // the file to write
  std::string temporary;  // the temporary file while it exists
  int fd = -1;            // the temporary file while it is open
  bool failed = false;    // a write failed
  std::unique_ptr<char[]> buffer;
  size_t used = 0;

 private:
  void Flush();
  void Discard();
};

// The warning shown for a file that could not be created.
std::string CouldNotCreateWarning(const std::string& name);
