// Files of 2 GiB and more are written in the 32-bit build too.
#define _FILE_OFFSET_BITS 64

#include "export/InPlaceCopy.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

// How long the copies of one export wait for other writers of their files.
constexpr int kLockWaitSeconds = 20;
// How often they look whether the other writer is done.
constexpr long kLockRetryNanoseconds = 10 * 1000 * 1000;
// The piece copied at once.
constexpr size_t kCopyPiece = 1 << 16;

enum class Locked { Yes, Busy, Failed };

// The errors of a file system that takes no locks of that kind.
bool TakesNoLocks(int error) { return error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS; }

// An exclusive flock of the open file, which programs that lock the whole
// file that way respect.
Locked LockWhole(int fd) {
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return Locked::Yes;
    if (errno == EINTR) continue;
    if (errno == EWOULDBLOCK) return Locked::Busy;
    return TakesNoLocks(errno) || errno == EINVAL ? Locked::Yes : Locked::Failed;
  }
}

// An exclusive record lock on the whole file, which programs that use fcntl
// or lockf respect: a lock of the open file, or a lock of the process where
// the system has no such locks.
Locked LockRecords(int fd) {
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;  // from offset 0 to the end, whatever it becomes
  int command = F_OFD_SETLK;
  for (;;) {
    if (fcntl(fd, command, &lock) == 0) return Locked::Yes;
    if (errno == EINVAL && command == F_OFD_SETLK) {
      command = F_SETLK;
      continue;
    }
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EACCES) return Locked::Busy;
    return TakesNoLocks(errno) ? Locked::Yes : Locked::Failed;
  }
}

// Takes both kinds of lock, so that a writer using either is waited for;
// while another program holds one, neither is kept, and the export's wait
// decides whether to try again. A file system that takes no locks at all is
// written without them.
bool Lock(int fd, LockWait& wait) {
  for (;;) {
    Locked locked = LockWhole(fd);
    if (locked == Locked::Yes) {
      locked = LockRecords(fd);
      if (locked != Locked::Yes) flock(fd, LOCK_UN);
    }
    if (locked == Locked::Yes) return true;
    if (locked == Locked::Failed || wait.Over()) return false;
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

// Copies the bytes of from between the offsets begin and end to the same
// place in to; false when a read or a write failed.
bool CopyRange(int from, int to, off_t begin, off_t end) {
  char piece[kCopyPiece];
  for (off_t offset = begin; offset < end;) {
    const size_t want = static_cast<size_t>(end - offset < off_t{kCopyPiece} ? end - offset : off_t{kCopyPiece});
    const ssize_t n = pread(from, piece, want, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || !WriteAllAt(to, piece, static_cast<size_t>(n), offset)) return false;
    offset += n;
  }
  return true;
}

}  // namespace

bool LockWait::Over() {
  const auto now = std::chrono::steady_clock::now();
  if (!started) {
    started = true;
    end = now + std::chrono::seconds(kLockWaitSeconds);
  }
  return now > end;
}

bool InPlaceCopy::Reserve(const OutputTarget& target, int text, LockWait& wait) {
  struct stat st;
  if (fstat(text, &st) != 0) return false;
  length = st.st_size;
  if (!FitsFileSizeLimit(length)) return false;
  // Read too, where the user may, for the room taken without fallocate.
  fd = OpenFoundFile(target, O_RDWR);
  readable = fd >= 0;
  if (fd < 0) fd = OpenFoundFile(target, O_WRONLY);
  // Its length is read once the lock is held: the writer before may have
  // changed it.
  if (fd < 0 || !Lock(fd, wait) || fstat(fd, &st) != 0) return false;
  oldLength = st.st_size;
  mode = st.st_mode & 07777;
  if (length == 0) return true;
  // Where the file system allocates room on request: for the whole text,
  // holes of the old file included.
  if (fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, length) == 0) {
    reserved = length > oldLength;
    return true;
  }
  if (errno != EOPNOTSUPP && errno != ENOSYS) return false;
  // Elsewhere it is taken by writing when the copy is staged, with the
  // ending signals held back until the commit, so that none finds the file
  // grown; that needs the old text read where the text goes over it.
  roomToTake = true;
  return oldLength == 0 || readable;
}

// Takes the room by writes that change no byte of the old text: the part of
// the text past the old end is written there (and cut off again when
// anything fails), and the part over the old text is rewritten with the old
// bytes themselves, which fills any hole that would otherwise need room in
// the middle of the copy.
bool InPlaceCopy::Stage(int text) {
  if (!roomToTake) return fd >= 0;
  roomToTake = false;
  if (length > oldLength) {
    grown = true;
    if (!CopyRange(text, fd, oldLength, length)) return false;
  }
  const off_t over = length < oldLength ? length : oldLength;
  return over == 0 || (readable && CopyRange(fd, fd, 0, over));
}

bool InPlaceCopy::Copy(int text) {
  if (fd < 0) return false;
  reserved = false;  // the text takes the room
  // Past the old end the text is there already.
  const off_t copied = grown ? oldLength : length;
  grown = false;
  damaged = true;  // until the whole text is on the disk
  if (CopyRange(text, fd, 0, copied) && ftruncate(fd, length) == 0 && fdatasync(fd) == 0) damaged = false;
  // A write by an unprivileged process clears the set-id bits; the owner may
  // set them again, nobody else may.
  struct stat st;
  if (!damaged && fstat(fd, &st) == 0 && (st.st_mode & 07777) != mode) fchmod(fd, mode);
  const int closing = fd;
  fd = -1;
  if (close(closing) != 0) damaged = true;
  return !damaged;
}

void InPlaceCopy::Release() {
  if (fd < 0) return;
  // Room past the old end that no text took would stay taken on the disk;
  // text written past it for its room is cut off again.
  if (reserved) fallocate(fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, oldLength, length - oldLength);
  if (grown && ftruncate(fd, oldLength) != 0) damaged = true;
  reserved = false;
  grown = false;
  close(fd);
  fd = -1;
}
