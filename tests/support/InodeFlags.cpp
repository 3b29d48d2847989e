#include "support/InodeFlags.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

const int kAppendOnly = FS_APPEND_FL;
const int kImmutable = FS_IMMUTABLE_FL;

InodeFlags::InodeFlags(const std::string& path, int flags) : flags_(flags) {
  // Reading is allowed on an append-only or immutable file, and the ioctls
  // work on a descriptor opened for reading.
  fd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  int now = 0;  // the ioctls take an int, whatever their declared type
  if (fd_ < 0 || ioctl(fd_, FS_IOC_GETFLAGS, &now) != 0) {
    why_ = "the inode flags of " + path + " cannot be read: " + std::strerror(errno);
    return;
  }
  now |= flags;
  if (ioctl(fd_, FS_IOC_SETFLAGS, &now) != 0) {
    why_ = "the inode flags of " + path + " cannot be set (root and a file system that has them are needed): " +
           std::strerror(errno);
    return;
  }
  set_ = true;
}

InodeFlags::~InodeFlags() {
  int now = 0;
  if (set_ && ioctl(fd_, FS_IOC_GETFLAGS, &now) == 0) {
    now &= ~flags_;
    ioctl(fd_, FS_IOC_SETFLAGS, &now);
  }
  if (fd_ >= 0) close(fd_);
}
