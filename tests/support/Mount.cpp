#include "support/Mount.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

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

BindMount::BindMount(const std::string& source, const std::string& target) : target_(target) {
  if (mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) != 0) {
    why_ = "a file cannot be bind-mounted here (root with CAP_SYS_ADMIN is needed): " + std::string(std::strerror(errno));
    return;
  }
  mounted_ = true;
}

BindMount::~BindMount() {
  if (mounted_) umount2(target_.c_str(), MNT_DETACH);
}

bool FreeBlocks(const std::string& path, unsigned long long& blocks, unsigned long long& blockSize) {
  struct statvfs st;
  if (statvfs(path.c_str(), &st) != 0) return false;
  blocks = st.f_bavail;
  blockSize = st.f_frsize;
  return true;
}

::testing::AssertionResult LeaveFreeBlocks(const std::string& dir, const std::string& filler,
                                           unsigned long long blocks) {
  const int fd = open(filler.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return ::testing::AssertionFailure() << "no filler file";
  unsigned long long now = 0;
  unsigned long long size = 0;
  for (int tries = 0; tries < 4 && FreeBlocks(dir, now, size) && now != blocks; ++tries) {
    struct stat st = {};
    if (fstat(fd, &st) != 0) break;
    const long long extra = static_cast<long long>(now) - static_cast<long long>(blocks);
    const long long length = static_cast<long long>(st.st_size) + extra * static_cast<long long>(size);
    if (length < 0) break;
    if (ftruncate(fd, 0) != 0 || (length > 0 && fallocate(fd, 0, 0, static_cast<off_t>(length)) != 0)) break;
  }
  close(fd);
  if (!FreeBlocks(dir, now, size) || now != blocks)
    return ::testing::AssertionFailure() << now << " blocks free where " << blocks << " were wanted";
  return ::testing::AssertionSuccess();
}
