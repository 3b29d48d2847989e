// Test support: a small tmpfs mounted for a test (root only), so that a test
// controls exactly how much room the program finds; a file bind-mounted over
// another; a file system filled to a number of free blocks.
#pragma once

#include <gtest/gtest.h>

#include <string>

// Mounts a tmpfs of the given size at the directory for the object's
// lifetime; it is detached when the object goes, also after a failed
// assertion.
class TmpfsMount {
 public:
  TmpfsMount(const std::string& path, unsigned long long bytes);
  ~TmpfsMount();
  TmpfsMount(const TmpfsMount&) = delete;
  TmpfsMount& operator=(const TmpfsMount&) = delete;
  // Whether it is mounted; why tells the reason when not.
  bool ok() const { return mounted_; }
  const std::string& why() const { return why_; }

 private:
  std::string path_;
  bool mounted_ = false;
  std::string why_;
};

// Bind-mounts the file source over the file target for the object's
// lifetime (root only), as a container or a sandbox mounts single files.
class BindMount {
 public:
  BindMount(const std::string& source, const std::string& target);
  ~BindMount();
  BindMount(const BindMount&) = delete;
  BindMount& operator=(const BindMount&) = delete;
  bool ok() const { return mounted_; }
  const std::string& why() const { return why_; }

 private:
  std::string target_;
  bool mounted_ = false;
  std::string why_;
};

// The number of blocks free for an unprivileged user on the file system of
// path, and their size; false when statvfs fails.
bool FreeBlocks(const std::string& path, unsigned long long& blocks, unsigned long long& blockSize);

// Leaves exactly the given number of blocks free on the file system of dir,
// by growing or shrinking the filler file (a path on it).
::testing::AssertionResult LeaveFreeBlocks(const std::string& dir, const std::string& filler,
                                           unsigned long long blocks);
