// Files of 2 GiB and more are opened and looked at in the 32-bit build too.
#define _FILE_OFFSET_BITS 64

#include "export/TextOut.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "settings/Names.h"

// The buffer holds a chunk and the largest piece written at once after it.
constexpr size_t kBufferSize = 2 * TextOut::kChunk;

namespace {

// How many temporary names are tried when others' files take them.
constexpr int kTemporaryTries = 100;

// The piece copied at once when a text is copied into the old file.
constexpr size_t kCopyPiece = 1 << 16;

// Creates a new temporary file in the directory and registers it for the
// signal handlers; the file gets the permissions a plain new file gets (0666
// less the umask). -1 when the directory refuses it.
int CreateTemporary(int directory, char (&name)[kTemporaryNameMax + 1], int& slot) {
  for (int i = 0; i < kTemporaryTries; ++i) {
    std::snprintf(name, sizeof name, ".korvane-%ld-%d.tmp", static_cast<long>(getpid()), i);
    const SignalBlock block;
    const int fd = openat(directory, name, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd >= 0) slot = RegisterTemporary(directory, name);
    if (fd >= 0 && slot >= 0) return fd;
    if (fd >= 0) {
      unlinkat(directory, name, 0);
      close(fd);
    }
    break;
  }
  name[0] = '\0';
  return -1;
}

// Gives the new file the old one's owner, group and mode (with its set-id and
// sticky bits; the owner first, as changing it clears the set-id bits). False
// when the process may not.
bool KeepOwnerAndMode(int fd, const OutputTarget& old) {
  struct stat now;
  if (fstat(fd, &now) != 0) return false;
  if ((now.st_uid != old.owner || now.st_gid != old.group) && fchown(fd, old.owner, old.group) != 0) return false;
  return fchmod(fd, old.mode & 07777) == 0;
}

// A file without a name for a text that is copied into the old file, where
// the old file's directory refuses a temporary file: it goes with the process,
// whatever ends it.
int OpenUnnamedTemporary() {
  const char* const directories[] = {std::getenv("TMPDIR"), "/tmp"};
  for (const char* directory : directories) {
    if (!directory || !*directory) continue;
    const int fd = open(directory, O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) return fd;
  }
  return -1;
}

bool FitsFileSizeLimit(off_t length) {
  rlimit limit;
  if (getrlimit(RLIMIT_FSIZE, &limit) != 0) return true;
  return limit.rlim_cur == RLIM_INFINITY || static_cast<rlim_t>(length) <= limit.rlim_cur;
}

bool WriteAllAt(int fd, const char* p, size_t n, off_t offset) {
  while (n > 0) {
    const ssize_t written = pwrite(fd, p, n, offset);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    p += written;
    n -= static_cast<size_t>(written);
    offset += written;
  }
  return true;
}

// Copies the whole of from over the beginning of to and cuts to at its end.
// The room is taken first (where the file system can) and the file size limit
// looked at, so that a file system or limit without room for the text leaves
// the old text as it was; only a failure during the copy leaves a mix.
bool CopyOver(int from, int to) {
  struct stat st;
  if (fstat(from, &st) != 0 || !FitsFileSizeLimit(st.st_size)) return false;
  const off_t length = st.st_size;
  if (length > 0 && fallocate(to, FALLOC_FL_KEEP_SIZE, 0, length) != 0 && errno != EOPNOTSUPP && errno != ENOSYS)
    return false;
  char piece[kCopyPiece];
  for (off_t offset = 0; offset < length;) {
    const ssize_t n = pread(from, piece, sizeof piece, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || !WriteAllAt(to, piece, static_cast<size_t>(n), offset)) return false;
    offset += n;
  }
  return ftruncate(to, length) == 0;
}

}  // namespace

TextOut::~TextOut() { Discard(); }

bool TextOut::Open(const std::string& fileName) {
  name = fileName;
  if (!IsFileNameValid(name) || !FindOutputTarget(name, target)) return false;
  fd = CreateTemporary(target.directory, temporary, slot);
  // A rename would split hard links or lose the owner, group or mode; where
  // no temporary file can be made beside the old one, the text is copied into
  // it from an unnamed one.
  inPlace = target.exists && (target.links > 1 || fd < 0 || !KeepOwnerAndMode(fd, target));
  if (inPlace && fd < 0) fd = OpenUnnamedTemporary();
  if (fd < 0) return false;
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

bool TextOut::Finish() {
  if (fd < 0 || !buffer) return false;
  Flush();
  buffer.reset();  // the text is in the file; the next file may need the memory
  if (failed) Discard();
  return !failed;
}

bool TextOut::Commit() {
  if (fd < 0 || buffer) return false;  // not finished, or failed
  const SignalBlock block;
  const bool done = inPlace ? CopyInPlace() : RenameOrCopy();
  Discard();
  return done;
}

// Renames the temporary file over the target; where the directory refuses
// the rename, the text is copied into the old file.
bool TextOut::RenameOrCopy() {
  const int closing = fd;
  fd = -1;
  if (close(closing) != 0) return false;
  if (renameat(target.directory, temporary, target.directory, target.base.c_str()) == 0) {
    ForgetTemporary(slot);
    slot = -1;
    temporary[0] = '\0';
    return true;
  }
  if (!target.exists) return false;
  fd = openat(target.directory, temporary, O_RDONLY | O_CLOEXEC);
  return fd >= 0 && CopyInPlace();
}

// Copies the text into the old file, when that is still the regular file
// that Open found.
bool TextOut::CopyInPlace() {
  const int to = openat(target.directory, target.base.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (to < 0) return false;
  struct stat st;
  const bool same = fstat(to, &st) == 0 && S_ISREG(st.st_mode) && st.st_dev == target.device &&
                    st.st_ino == target.inode;
  const bool copied = same && CopyOver(fd, to);
  return close(to) == 0 && copied;
}

void TextOut::Discard() {
  const SignalBlock block;
  if (fd >= 0) close(fd);
  fd = -1;
  if (temporary[0] != '\0') unlinkat(target.directory, temporary, 0);
  temporary[0] = '\0';
  ForgetTemporary(slot);
  slot = -1;
  buffer.reset();
}

std::string CouldNotCreateWarning(const std::string& name) {
  return "[WARNING] Could not create the file \"" + name + "\"!";
}
