#include "support/Mount.h"

#include <sys/mount.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <cstring>

TmpfsMount::TmpfsMount(const std::string& path, unsigned long long bytes) : path_(path) {
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
  if (mount("tmpfs", path.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
    why_ = "a tmpfs cannot be mounted here (root with CAP_SYS_ADMIN is needed): " + std::string(std::strerror(errno));
    return;
  }
  mounted_ = true;
}

TmpfsMount::~TmpfsMount() {
  if (mounted_) umount2(path_.c_str(), MNT_DETACH);
}

bool FreeBlocks(const std::string& path, unsigned long long& blocks, unsigned long long& blockSize) {
  struct statvfs st;
  if (statvfs(path.c_str(), &st) != 0) return false;
  blocks = st.f_bavail;
  blockSize = st.f_frsize;
  return true;
}
