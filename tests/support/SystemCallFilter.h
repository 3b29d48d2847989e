// Test support: system calls made to fail in a child process before it starts
// a program, through a seccomp filter, so that an end-to-end test reaches the
// program's paths for a kernel or file system that lacks something (unnamed
// temporary files) or for a disk that fails (a sync).
//
// The filter knows the system call numbers of x86-64 only: it is for the
// 64-bit executable. A system call of any other kind (a 32-bit program, the
// x32 ABI) ends the process with SIGSYS instead of being let through under a
// number that means another call there.
#pragma once

#include <string>
#include <vector>

struct FailingCall {
  long number;               // the x86-64 system call number
  int error;                 // the errno it fails with
  int flagArgument = -1;     // when >= 0: it fails only when this argument...
  unsigned long flagBits = 0;  // ...has any of these bits (in its low 32 bits)
};

using SystemCallFilter = std::vector<FailingCall>;

// No unnamed temporary files, as on a file system without O_TMPFILE: open and
// openat with O_TMPFILE fail with EOPNOTSUPP. openat2, whose flags the filter
// cannot read, fails with ENOSYS as on a kernel without it.
SystemCallFilter NoUnnamedTemporaries();
// A disk that fails to flush: fsync and fdatasync fail with EIO.
SystemCallFilter FailingSync();
// A file system that allocates no room on request: fallocate fails with
// EOPNOTSUPP.
SystemCallFilter NoFallocate();
// A disk that fails to cut a file: ftruncate fails with EIO.
SystemCallFilter FailingTruncate();

// In a forked child, before exec: sets no_new_privs and installs the filter.
// False when the kernel refuses it.
bool InstallSystemCallFilter(const SystemCallFilter& filter);

// Whether a filter can be installed and works here (tried once, in a child);
// why tells the reason when not.
bool CanFilterSystemCalls(std::string& why);
