// Test support: extended attributes of a file and POSIX ACLs, written as the
// binary values the kernel keeps in system.posix_acl_access and
// system.posix_acl_default.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Every extended attribute of the file at path (links not followed), by
// name; empty when it has none or they cannot be read.
std::map<std::string, std::string> Xattrs(const std::string& path);
// One attribute; false (why tells) when the file system or the process
// refuses it.
bool SetXattr(const std::string& path, const std::string& name, const std::string& value, std::string& why);
// The value of one attribute; "" when it has none.
std::string Xattr(const std::string& path, const std::string& name);

// An ACL entry; the tags and permission bits of <sys/acl.h>.
struct AclEntry {
  std::uint16_t tag;
  std::uint16_t permissions;
  std::uint32_t id;  // of a USER or GROUP entry
};
constexpr std::uint16_t kAclUserObj = 0x01;
constexpr std::uint16_t kAclUser = 0x02;
constexpr std::uint16_t kAclGroupObj = 0x04;
constexpr std::uint16_t kAclGroup = 0x08;
constexpr std::uint16_t kAclMask = 0x10;
constexpr std::uint16_t kAclOther = 0x20;
constexpr std::uint16_t kAclRead = 4;
constexpr std::uint16_t kAclWrite = 2;
constexpr std::uint16_t kAclExecute = 1;

// The attribute value of an ACL: the version 2 header, then the entries,
// which must come sorted by tag and id as the kernel wants them.
std::string AclValue(const std::vector<AclEntry>& entries);
// An ACL that grants the user read and write besides the owner: user::rw-,
// user:ID:rw-, group::r--, mask::rw-, other::---.
std::string AclGrantingReadWrite(uid_t user);
