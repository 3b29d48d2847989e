// Files of 2 GiB and more are looked at in the 32-bit build too.
#define _FILE_OFFSET_BITS 64

#include "export/OutputTarget.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace {

// As many links as the system follows in one path.
constexpr int kMostLinks = 40;

// The file system type of /proc: its links (/proc/self/fd/1 and the links to
// them, such as /dev/stdout) name open files, not paths.
constexpr long kProcFileSystem = 0x9fa0;

bool IsInProcFileSystem(int directory) {
  struct statfs fs;
  return fstatfs(directory, &fs) == 0 && static_cast<long>(fs.f_type) == kProcFileSystem;
}

// The attributes that keep a file or directory as it is: an append-only one
// can be added to but loses nothing, an immutable one does not change.
bool IsKept(const struct statx& st) {
  return (st.stx_attributes_mask & st.stx_attributes & (STATX_ATTR_APPEND | STATX_ATTR_IMMUTABLE)) != 0;
}

// A write-protected file stays, as it did when files were overwritten in
// place: the user may not write it, or it has no write permission bit at all,
// which root's rights would otherwise pass over.
bool MayWrite(int directory, const std::string& base, const struct statx& st) {
  if ((st.stx_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  return faccessat(directory, base.c_str(), W_OK, AT_EACCESS) == 0;
}

// The text of the link base in the directory; false when it cannot be read.
bool ReadLink(int directory, const std::string& base, std::string& text) {
  const auto buffer = std::make_unique<char[]>(PATH_MAX + 1);
  const ssize_t n = readlinkat(directory, base.c_str(), buffer.get(), PATH_MAX + 1);
  if (n <= 0 || n > PATH_MAX) return false;
  text.assign(buffer.get(), static_cast<size_t>(n));
  return true;
}

// A link in a sticky directory that others may write (such as /tmp) is
// followed only where it belongs to the user or to the directory's owner, as
// the system itself follows such links: anyone else could have made it to
// point at one of the user's files that the user never named. The program
// reads its links itself, so the system's own rule never applies to them.
bool MayFollow(int directory, const struct statx& link) {
  struct statx folder;
  if (statx(directory, "", AT_EMPTY_PATH, STATX_MODE | STATX_UID, &folder) != 0) return false;
  const bool shared = (folder.stx_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
  return !shared || link.stx_uid == geteuid() || link.stx_uid == folder.stx_uid;
}

// Opens a directory for looking at its names (O_PATH): "/", or the one of
// the descriptor `from` (AT_FDCWD: the working directory).
int OpenStart(int from, bool absolute) {
  return absolute ? open("/", O_PATH | O_DIRECTORY | O_CLOEXEC) : openat(from, ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// Opens the directory at path, relative to the directory `from`, one name at
// a time, following the links on the way as the system would, except that a
// link in a shared sticky directory is followed only from its owners
// (MayFollow); links counts the links followed. Each name is opened without
// following a link, so that a directory swapped for a link meanwhile is not
// followed either. -1 where it cannot be opened.
int OpenDirectoryPath(int from, const std::string& path, int& links) {
  if (path.size() >= PATH_MAX) return -1;
  std::string rest = path;
  int at = OpenStart(from, !rest.empty() && rest[0] == '/');
  for (size_t pos = 0; at >= 0;) {
    while (pos < rest.size() && rest[pos] == '/') ++pos;
    if (pos == rest.size()) return at;
    const size_t end = std::min(rest.find('/', pos), rest.size());
    const std::string name = rest.substr(pos, end - pos);
    pos = end;
    if (name == ".") continue;
    struct statx st;
    if (statx(at, name.c_str(), AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_UID, &st) != 0) break;
    if (S_ISLNK(st.stx_mode)) {
      std::string text;
      if (++links > kMostLinks || !MayFollow(at, st) || !ReadLink(at, name, text)) break;
      rest = text + rest.substr(pos);
      pos = 0;
      if (text[0] == '/') {
        close(at);
        at = OpenStart(from, true);
      }
      continue;
    }
    const int next = openat(at, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    close(at);
    at = next;
  }
  if (at >= 0) close(at);
  return -1;
}

// Opens the directory of path, relative to the directory `from`, and sets
// base to the last component ("." when the path ends with a slash, which
// then names a directory). -1 also for a directory in a proc file system.
int OpenDirectoryOf(int from, const std::string& path, std::string& base, int& links) {
  const size_t slash = path.find_last_of('/');
  const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.empty()) base = ".";
  const int fd = OpenDirectoryPath(from, directory, links);
  if (fd >= 0 && IsInProcFileSystem(fd)) {
    close(fd);
    return -1;
  }
  return fd;
}

// Whether the file is the root of a mount (a file bind-mounted there); where
// the system does not tell, whether it lies on another device than its
// directory.
bool IsMountPoint(int directory, const struct statx& st) {
  if (st.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) return (st.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
  struct statx folder;
  return statx(directory, "", AT_EMPTY_PATH, STATX_TYPE, &folder) == 0 &&
         (folder.stx_dev_major != st.stx_dev_major || folder.stx_dev_minor != st.stx_dev_minor);
}

// Records the regular file found; false when it must not be written.
bool TakeFile(OutputTarget& target, const struct statx& st) {
  target.exists = true;
  target.mountPoint = IsMountPoint(target.directory, st);
  target.mode = st.stx_mode;
  target.links = st.stx_nlink;
  target.device = makedev(st.stx_dev_major, st.stx_dev_minor);
  target.inode = st.stx_ino;
  return S_ISREG(st.stx_mode) && !IsKept(st) && MayWrite(target.directory, target.base, st);
}

// Follows the links from name to the file to write, and opens its directory.
bool FollowLinks(const std::string& name, OutputTarget& target) {
  std::string path = name;
  struct statx st;
  for (int links = 0; links <= kMostLinks; ++links) {
    // A link's text is taken relative to the link's directory.
    const int from = target.directory >= 0 ? target.directory : AT_FDCWD;
    const int directory = OpenDirectoryOf(from, path, target.base, links);
    if (target.directory >= 0) close(target.directory);
    target.directory = directory;
    if (directory < 0) return false;
    if (statx(directory, target.base.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &st) != 0) {
      target.exists = false;
      return errno == ENOENT;
    }
    if (!S_ISLNK(st.stx_mode)) return TakeFile(target, st);
    if (!MayFollow(directory, st) || !ReadLink(directory, target.base, path)) return false;
  }
  return false;
}

}  // namespace

OutputTarget::~OutputTarget() {
  if (directory >= 0) close(directory);
}

bool FindOutputTarget(const std::string& name, OutputTarget& target) {
  if (!FollowLinks(name, target)) return false;
  struct statx folder;
  if (statx(target.directory, "", AT_EMPTY_PATH, STATX_TYPE | STATX_INO, &folder) != 0) return false;
  target.directoryKeepsNames = IsKept(folder);
  target.directoryDevice = makedev(folder.stx_dev_major, folder.stx_dev_minor);
  target.directoryInode = folder.stx_ino;
  return true;
}

bool IsSameFile(const OutputTarget& a, const OutputTarget& b) {
  if (a.exists || b.exists) return a.exists && b.exists && a.device == b.device && a.inode == b.inode;
  return a.directoryDevice == b.directoryDevice && a.directoryInode == b.directoryInode && a.base == b.base;
}

int OpenFoundFile(const OutputTarget& target, int flags) {
  const int fd = openat(target.directory, target.base.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_dev == target.device && st.st_ino == target.inode)
    return fd;
  close(fd);
  return -1;
}
