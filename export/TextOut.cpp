// Files of 2 GiB and more are written and looked at in the 32-bit build too.
#define _FILE_OFFSET_BITS 64

#include "export/TextOut.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "export/FileAttributes.h"
#include "settings/Names.h"

// The buffer holds a chunk and the largest piece written at once after it.
constexpr size_t kBufferSize = 2 * TextOut::kChunk;

namespace {

// The permissions of a plain new file: 0666 less the umask.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// A temporary file for a text that is copied into the old file, where the
// old file's directory takes none: under $TMPDIR or /tmp.
bool CreateElsewhere(Temporary& temporary) {
  const char* const directories[] = {std::getenv("TMPDIR"), "/tmp"};
  for (const char* path : directories) {
    if (!path || !*path) continue;
    const int directory = open(path, O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0) continue;
    const bool made = CreateUnnamed(directory, 0600, temporary) || CreateNamed(directory, temporary);
    close(directory);
    if (made) return true;
  }
  return false;
}

}  // namespace

bool TextOut::Open(const std::string& fileName) {
  name = fileName;
  return IsFileNameValid(name) && FindOutputTarget(name, target);
}

// Makes the temporary file and decides how the text takes the file's place.
bool TextOut::Start() {
  started = true;
  if (!target.exists) {
    way = target.directoryKeepsNames ? Way::Link : Way::Rename;
    // Nobody can open an unnamed file, so it can have the new file's
    // permissions (the umask or the directory's default ACL) from the start.
    return CreateUnnamed(target.directory, 0666, temporary) ||
           (way == Way::Rename && CreateNamed(target.directory, temporary));
  }
  // A rename would split hard links, a mount point cannot be renamed over,
  // and a directory that cannot lose names takes none.
  way = target.links > 1 || target.mountPoint || target.directoryKeepsNames ? Way::InPlace : Way::Rename;
  if (CreateUnnamed(target.directory, 0600, temporary)) return true;
  if (way == Way::Rename && CreateNamed(target.directory, temporary)) return true;
  // The directory takes no temporary file: the text is copied into the old
  // file from one elsewhere.
  way = Way::InPlace;
  return CreateElsewhere(temporary);
}

char* TextOut::Room(size_t n) {
  if (!buffer) {
    buffer = std::make_unique<char[]>(kBufferSize);
    used = 0;
  }
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

// The temporary file is made with the first write. After a failure nothing
// more is written; the text is still taken, so that the writers need not test
// every step.
void TextOut::Flush() {
  if (!started && !Start()) failed = true;
  const char* p = buffer.get();
  size_t left = failed ? 0 : used;
  while (left > 0) {
    const ssize_t n = write(temporary.fd, p, left);
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

bool TextOut::Prepare(LockWait& wait) {
  if (target.directory < 0) return false;
  Flush();
  buffer.reset();  // the text is in the file; the next file may need the memory
  prepared = !failed && (way == Way::InPlace ? inPlace.Reserve(target, temporary.fd, wait) : PrepareReplacement(wait));
  if (!prepared) Discard();
  return prepared;
}

// A new file gets a new file's permissions. A text that replaces a file gets
// what the old file had and is on the disk before it replaces it, so that no
// crash can leave the name without either text; where what the old file had
// cannot be kept, the text is copied into it instead.
bool TextOut::PrepareReplacement(LockWait& wait) {
  // A new file's unnamed temporary has its permissions already; a named one
  // was private until now.
  if (!target.exists) return !temporary.Named() || fchmod(temporary.fd, NewFileMode()) == 0;
  if (!KeepTheOldFile()) {
    way = Way::InPlace;
    return inPlace.Reserve(target, temporary.fd, wait);
  }
  return fdatasync(temporary.fd) == 0;
}

// The old file's owner, attributes and mode on the text, the mode last: a
// write or a change of owner clears the set-id bits.
bool TextOut::KeepTheOldFile() {
  const int old = OpenFoundFile(target, O_RDONLY);
  if (old < 0) return false;
  const bool kept = KeepOwnerAndAttributes(old, temporary.fd) && fchmod(temporary.fd, target.mode & 07777) == 0;
  close(old);
  return kept;
}

bool TextOut::Stage() {
  if (!prepared) return false;
  if (staged) return true;
  switch (way) {
    case Way::Rename: staged = (temporary.Named() || GiveName(temporary)) && temporary.Close(); break;
    case Way::Link: staged = true; break;
    case Way::InPlace: staged = inPlace.Stage(temporary.fd); break;
  }
  if (!staged) Discard();
  return staged;
}

bool TextOut::Commit() {
  const SignalBlock block;
  bool done = Stage();
  if (done) {
    switch (way) {
      case Way::Rename: done = RenameTo(temporary, target.base.c_str()); break;
      case Way::Link: done = LinkAs(temporary, target.base.c_str()); break;
      case Way::InPlace: done = inPlace.Copy(temporary.fd); break;
    }
  }
  Discard();
  return done;
}

void TextOut::Discard() {
  temporary.Remove();
  inPlace.Release();
  buffer.reset();
  prepared = false;
  staged = false;
}

std::string CouldNotCreateWarning(const std::string& name) {
  return "[WARNING] Could not create the file \"" + name + "\"!";
}
