#include "export/TextOut.h"

#include <cstring>
#include <iostream>

// The buffer holds a chunk and the largest piece written at once after it.
constexpr size_t kBufferSize = 2 * TextOut::kChunk;

bool TextOut::Open(const std::string& fileName) {
  name = fileName;
  file.open(name, std::ios::binary | std::ios::trunc);
  if (!file) {
    std::cout << "[WARNING] Could not create the file \"" << name << "\"!" << std::endl;
    return false;
  }
  buffer = std::make_unique<char[]>(kBufferSize);
  used = 0;
  return true;
}

char* TextOut::Room(size_t n) {
  if (used + n > kBufferSize) Flush();
  return buffer.get() + used;
}

void TextOut::Put(const char* text, size_t n) {
  while (n > 0) {
    const size_t piece = n < kChunk ? n : kChunk;
    std::memcpy(Room(piece), text, piece);
    used += piece;
    text += piece;
    n -= piece;
  }
}

void TextOut::Flush() {
  file.write(buffer.get(), static_cast<std::streamsize>(used));
  used = 0;
}

bool TextOut::Close() {
  Flush();
  file.close();
  if (!file) {
    std::cout << "[WARNING] Could not write the file \"" << name << "\"!" << std::endl;
    return false;
  }
  return true;
}
