// Files of 2 GiB and more are looked at in the 32-bit build too.
#define _FILE_OFFSET_BITS 64

#include "export/OutputTarget.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace {

// As many links as the system follows in one path.
constexpr int kMostLinks = 40;

// Opens the directory of path, relative to the directory `from`, and sets
// base to the last component ("." when the path ends with a slash, which
// then names a directory).
int OpenDirectoryOf(int from, const std::string& path, std::string& base) {
  const size_t slash = path.find_last_of('/');
  const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.empty()) base = ".";
  return openat(from, directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// The text of the link base in the directory; false when it cannot be read.
bool ReadLink(int directory, const std::string& base, std::string& text) {
  const auto buffer = std::make_unique<char[]>(PATH_MAX + 1);
  const ssize_t n = readlinkat(directory, base.c_str(), buffer.get(), PATH_MAX + 1);
  if (n <= 0 || n > PATH_MAX) return false;
  text.assign(buffer.get(), static_cast<size_t>(n));
  return true;
}

// A write-protected file stays, as it did when files were overwritten in
// place: the user may not write it, or it has no write permission bit at all,
// which root's rights would otherwise pass over.
bool MayWrite(int directory, const std::string& base, const struct stat& st) {
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  return faccessat(directory, base.c_str(), W_OK, AT_EACCESS) == 0;
}

}  // namespace

OutputTarget::~OutputTarget() {
  if (directory >= 0) close(directory);
}

bool FindOutputTarget(const std::string& name, OutputTarget& target) {
  std::string path = name;
  struct stat st;
  for (int links = 0; links <= kMostLinks; ++links) {
    // A link's text is taken relative to the link's directory.
    const int from = target.directory >= 0 ? target.directory : AT_FDCWD;
    const int directory = OpenDirectoryOf(from, path, target.base);
    if (target.directory >= 0) close(target.directory);
    target.directory = directory;
    if (directory < 0) return false;
    if (fstatat(directory, target.base.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
      target.exists = false;
      return errno == ENOENT;
    }
    if (!S_ISLNK(st.st_mode)) {
      target.exists = true;
      target.mode = st.st_mode;
      target.owner = st.st_uid;
      target.group = st.st_gid;
      target.links = st.st_nlink;
      target.device = st.st_dev;
      target.inode = st.st_ino;
      return S_ISREG(st.st_mode) && MayWrite(directory, target.base, st);
    }
    if (!ReadLink(directory, target.base, path)) return false;
  }
  return false;
}
