// A text file written through one large buffer, for the map and OBJ writers.
#pragma once

#include <cstddef>
#include <fstream>
#include <memory>
#include <string>

struct TextOut {
  // Creates the file, replacing one of the same name. When it cannot be
  // created, prints a warning naming it and returns false.
  bool Open(const std::string& name);
  // A place with room for n characters (n at most kChunk); after writing
  // there, hand the end of what was written to Advance.
  char* Room(size_t n);
  void Advance(char* end) { used = static_cast<size_t>(end - buffer.get()); }
  void Put(char c) { *Room(1) = c, ++used; }
  void Put(const char* text, size_t n);
  void Put(const std::string& text) { Put(text.data(), text.size()); }
  // Writes what is left and closes the file. When writing failed, prints a
  // warning naming the file and returns false.
  bool Close();

  static constexpr size_t kChunk = 1 << 20;

  std::ofstream file;
  std::string name;
  std::unique_ptr<char[]> buffer;
  size_t used = 0;

 private:
  void Flush();
};
