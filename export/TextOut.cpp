// Files of 2 GiB and more are opened and looked at in the 32-bit build too.
#define _FILE_OFFSET_BITS 64

#include "export/TextOut.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "settings/Names.h"

// The buffer holds a chunk and the largest piece written at once after it.
constexpr size_t kBufferSize = 2 * TextOut::kChunk;

namespace {

// How many temporary names are tried when others' files take them.
constexpr int kTemporaryTries = 100;

// The directory part of a path, with its slash; empty for the working
// directory.
std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Whether the file may be replaced: nothing of that name yet, or a file the
// user may write. A directory and a write-protected file stay, as they did
// when files were overwritten in place.
bool MayReplace(const std::string& name) {
  struct stat st;
  if (stat(name.c_str(), &st) != 0) return true;
  if (S_ISDIR(st.st_mode)) return false;
  return access(name.c_str(), W_OK) == 0;
}

// Creates a new temporary file in the directory of name; the file gets the
// permissions a plain new file gets (0666 less the umask).
int CreateTemporary(const std::string& name, std::string& temporary) {
  const std::string stem = DirectoryOf(name) + ".korvane-" + std::to_string(getpid()) + "-";
  for (int i = 0; i < kTemporaryTries; ++i) {
    temporary = stem + std::to_string(i) + ".tmp";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

TextOut::~TextOut() { Discard(); }

bool TextOut::Open(const std::string& fileName) {
  name = fileName;
  if (!IsFileNameValid(name) || !MayReplace(name)) return false;
  fd = CreateTemporary(name, temporary);
  if (fd < 0) {
    temporary.clear();
    return false;
  }
  buffer = std::make_unique<char[]>(kBufferSize);
  used = 0;
  failed = false;
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

// After a failed write nothing more is written; the text is still taken, so
// that the writers need not test every step.
void TextOut::Flush() {
  const char* p = buffer.get();
  size_t left = failed ? 0 : used;
  while (left > 0) {
    const ssize_t n = write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed = true;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  used = 0;
}

bool TextOut::Close() {
  Flush();
  const int closing = fd;
  fd = -1;
  if (close(closing) != 0) failed = true;
  if (failed || std::rename(temporary.c_str(), name.c_str()) != 0) {
    Discard();
    return false;
  }
  temporary.clear();
  return true;
}

void TextOut::Discard() {
  if (fd >= 0) close(fd);
  fd = -1;
  if (!temporary.empty()) unlink(temporary.c_str());
  temporary.clear();
}

std::string CouldNotCreateWarning(const std::string& name) {
  return "[WARNING] Could not create the file \"" + name + "\"!";
}
