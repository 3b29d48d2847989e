// The 32-bit build looks at files through the same calls as the 64-bit one.
#define _FILE_OFFSET_BITS 64

#include "export/FileAttributes.h"

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

namespace {

// The names of the file's extended attributes; none where the file system
// keeps none. False when they cannot be read.
bool ListAttributes(int fd, std::vector<std::string>& names) {
  names.clear();
  for (;;) {
    const ssize_t size = flistxattr(fd, nullptr, 0);
    if (size < 0) return errno == ENOTSUP;
    std::string list(static_cast<size_t>(size), '\0');
    const ssize_t n = size == 0 ? 0 : flistxattr(fd, &list[0], list.size());
    if (n < 0 && errno == ERANGE) continue;  // it grew meanwhile
    if (n < 0) return false;
    for (size_t at = 0; at < static_cast<size_t>(n);) {
      const size_t end = list.find('\0', at);
      if (end == std::string::npos) break;
      names.push_back(list.substr(at, end - at));
      at = end + 1;
    }
    return true;
  }
}

// The value of the attribute; false when the file has no such attribute or
// it cannot be read.
bool ReadAttribute(int fd, const std::string& name, std::string& value) {
  for (;;) {
    const ssize_t size = fgetxattr(fd, name.c_str(), nullptr, 0);
    if (size < 0) return false;
    value.assign(static_cast<size_t>(size), '\0');
    const ssize_t n = size == 0 ? 0 : fgetxattr(fd, name.c_str(), &value[0], value.size());
    if (n < 0 && errno == ERANGE) continue;  // it grew meanwhile
    if (n < 0) return false;
    value.resize(static_cast<size_t>(n));
    return true;
  }
}

bool KeepOwner(int from, int to) {
  struct stat old;
  struct stat now;
  if (fstat(from, &old) != 0 || fstat(to, &now) != 0) return false;
  if (now.st_uid == old.st_uid && now.st_gid == old.st_gid) return true;
  return fchown(to, old.st_uid, old.st_gid) == 0;
}

// Removes the attributes that the new file got from its directory (a default
// ACL, a security label) and the old one lacks, then gives it the old one's.
bool KeepAttributes(int from, int to) {
  std::vector<std::string> old;
  std::vector<std::string> now;
  if (!ListAttributes(from, old) || !ListAttributes(to, now)) return false;
  for (const std::string& name : now) {
    if (std::find(old.begin(), old.end(), name) != old.end()) continue;
    if (fremovexattr(to, name.c_str()) != 0 && errno != ENODATA) return false;
  }
  std::string value;
  std::string present;
  for (const std::string& name : old) {
    if (!ReadAttribute(from, name, value)) return false;
    if (ReadAttribute(to, name, present) && present == value) continue;
    if (fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0) return false;
  }
  return true;
}

}  // namespace

// The owner first: changing it removes attributes that grant privileges.
bool KeepOwnerAndAttributes(int from, int to) { return KeepOwner(from, to) && KeepAttributes(from, to); }
