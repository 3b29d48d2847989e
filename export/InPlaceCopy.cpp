// Files of 2 GiB and more are written in the 32-bit build too.
#define _FILE_OFFSET_BITS 64

#include "export/InPlaceCopy.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

// How long a copy waits for another writer of the same file.
constexpr int kLockWaitSeconds = 20;
// How often it looks whether the other writer is done.
constexpr long kLockRetryNanoseconds = 10 * 1000 * 1000;
// The piece copied at once.
constexpr size_t kCopyPiece = 1 << 16;

// Takes an exclusive lock on the whole file: a lock of the open file (which
// the record locks of other programs respect too), or a record lock of the
// process where the system has no such locks. While another program holds a
// lock on the file, waits for it at most kLockWaitSeconds. A file system
// that takes no locks at all is written without one.
bool Lock(int fd) {
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;  // from offset 0 to the end, whatever it becomes
  int command = F_OFD_SETLK;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(kLockWaitSeconds);
  for (;;) {
    if (fcntl(fd, command, &lock) == 0) return true;
    if (errno == EINVAL && command == F_OFD_SETLK) {
      command = F_SETLK;
      continue;
    }
    if (errno == ENOLCK || errno == EOPNOTSUPP) return true;
    if (errno != EAGAIN && errno != EACCES && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() > end) return false;
    const timespec pause{0, kLockRetryNanoseconds};
    nanosleep(&pause, nullptr);
  }
}

bool FitsFileSizeLimit(long long length) {
  rlimit limit;
  if (getrlimit(RLIMIT_FSIZE, &limit) != 0) return true;
  return limit.rlim_cur == RLIM_INFINITY || static_cast<unsigned long long>(length) <= limit.rlim_cur;
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

// Copies length bytes of from over the beginning of to and cuts to there.
bool CopyOver(int from, int to, off_t length) {
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

bool InPlaceCopy::Reserve(const OutputTarget& target, int text) {
  struct stat st;
  if (fstat(text, &st) != 0) return false;
  length = st.st_size;
  if (!FitsFileSizeLimit(length)) return false;
  fd = OpenFoundFile(target, O_WRONLY);
  // Its length is read once the lock is held: the writer before may have
  // changed it.
  if (fd < 0 || !Lock(fd) || fstat(fd, &st) != 0) return false;
  oldLength = st.st_size;
  mode = st.st_mode & 07777;
  if (length == 0) return true;
  if (fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, length) != 0) return errno == EOPNOTSUPP || errno == ENOSYS;
  reserved = length > oldLength;
  return true;
}

bool InPlaceCopy::Copy(int text) {
  if (fd < 0) return false;
  reserved = false;  // the text takes the room
  const bool copied = CopyOver(text, fd, length);
  // A write by an unprivileged process clears the set-id bits; the owner may
  // set them again, nobody else may.
  struct stat st;
  if (copied && fstat(fd, &st) == 0 && (st.st_mode & 07777) != mode) fchmod(fd, mode);
  const int closing = fd;
  fd = -1;
  return close(closing) == 0 && copied;
}

void InPlaceCopy::Release() {
  if (fd < 0) return;
  // Room past the old end that no text took would stay taken on the disk.
  if (reserved) fallocate(fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, oldLength, length - oldLength);
  reserved = false;
  close(fd);
  fd = -1;
}
