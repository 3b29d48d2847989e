// Test support: inode flags as chattr sets them (append-only, immutable),
// through the FS_IOC_GETFLAGS and FS_IOC_SETFLAGS ioctls. Setting them needs
// CAP_LINUX_IMMUTABLE and a file system that has them.
#pragma once

#include <string>

// The append-only and immutable flags (FS_APPEND_FL, FS_IMMUTABLE_FL).
extern const int kAppendOnly;
extern const int kImmutable;

// Sets the flags on a file or directory for the object's lifetime: they are
// cleared again when it goes (on the same inode, also when the name now
// names another file), so that a TempDir can be removed.
class InodeFlags {
 public:
  InodeFlags(const std::string& path, int flags);
  ~InodeFlags();
  InodeFlags(const InodeFlags&) = delete;
  InodeFlags& operator=(const InodeFlags&) = delete;
  // Whether the flags are set; why tells the reason when not.
  bool ok() const { return set_; }
  const std::string& why() const { return why_; }

 private:
  int fd_ = -1;
  int flags_ = 0;
  bool set_ = false;
  std::string why_;
};
