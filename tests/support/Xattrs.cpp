#include "support/Xattrs.h"

#include <sys/xattr.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr std::uint32_t kAclVersion = 2;
constexpr std::uint32_t kUndefinedId = 0xFFFFFFFFu;

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::map<std::string, std::string> Xattrs(const std::string& path) {
  std::map<std::string, std::string> attributes;
  const ssize_t size = llistxattr(path.c_str(), nullptr, 0);
  if (size <= 0) return attributes;
  std::string names(static_cast<std::size_t>(size), '\0');
  const ssize_t n = llistxattr(path.c_str(), &names[0], names.size());
  if (n <= 0) return attributes;
  names.resize(static_cast<std::size_t>(n));
  for (std::size_t at = 0; at < names.size();) {
    const std::string name = names.c_str() + at;
    at += name.size() + 1;
    attributes[name] = Xattr(path, name);
  }
  return attributes;
}

std::string Xattr(const std::string& path, const std::string& name) {
  const ssize_t size = lgetxattr(path.c_str(), name.c_str(), nullptr, 0);
  if (size <= 0) return "";
  std::string value(static_cast<std::size_t>(size), '\0');
  const ssize_t n = lgetxattr(path.c_str(), name.c_str(), &value[0], value.size());
  value.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return value;
}

bool SetXattr(const std::string& path, const std::string& name, const std::string& value, std::string& why) {
  if (lsetxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0) == 0) return true;
  why = "the attribute " + name + " cannot be set on " + path + ": " + std::strerror(errno);
  return false;
}

std::string AclValue(const std::vector<AclEntry>& entries) {
  std::string value;
  PutLittleEndian(value, kAclVersion, 4);
  for (const AclEntry& e : entries) {
    PutLittleEndian(value, e.tag, 2);
    PutLittleEndian(value, e.permissions, 2);
    PutLittleEndian(value, e.tag == kAclUser || e.tag == kAclGroup ? e.id : kUndefinedId, 4);
  }
  return value;
}

std::string AclGrantingReadWrite(uid_t user) {
  return AclValue({
      {kAclUserObj, kAclRead | kAclWrite, 0},
      {kAclUser, kAclRead | kAclWrite, static_cast<std::uint32_t>(user)},
      {kAclGroupObj, kAclRead, 0},
      {kAclMask, kAclRead | kAclWrite, 0},
      {kAclOther, 0, 0},
  });
}
