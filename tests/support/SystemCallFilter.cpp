#include "support/SystemCallFilter.h"

#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>

namespace {

// x86-64 system call numbers (the headers give those of the architecture the
// test is built for, which is also 32-bit).
constexpr long kOpen = 2;
constexpr long kFsync = 74;
constexpr long kFdatasync = 75;
constexpr long kFtruncate = 77;
constexpr long kOpenat = 257;
constexpr long kFallocate = 285;
constexpr long kOpenat2 = 437;
// System calls of the x32 ABI carry this bit in their number.
constexpr std::uint32_t kX32Bit = 0x40000000;
// The flag that O_TMPFILE adds to O_DIRECTORY.
constexpr unsigned long kTmpfileBit = 020000000;

constexpr std::uint32_t kNumberOffset = offsetof(seccomp_data, nr);
constexpr std::uint32_t kArchOffset = offsetof(seccomp_data, arch);

// The low 32 bits of an argument (x86-64 is little-endian).
std::uint32_t ArgumentOffset(int argument) {
  return static_cast<std::uint32_t>(offsetof(seccomp_data, args) + 8 * static_cast<std::size_t>(argument));
}

sock_filter Statement(std::uint16_t code, std::uint32_t k) { return sock_filter{code, 0, 0, k}; }

sock_filter Jump(std::uint16_t code, std::uint32_t k, std::uint8_t ifTrue, std::uint8_t ifFalse) {
  return sock_filter{code, ifTrue, ifFalse, k};
}

std::vector<sock_filter> Program(const SystemCallFilter& filter) {
  std::vector<sock_filter> program = {
      Statement(BPF_LD | BPF_W | BPF_ABS, kArchOffset),
      Jump(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
      Statement(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS),
      Statement(BPF_LD | BPF_W | BPF_ABS, kNumberOffset),
      Jump(BPF_JMP | BPF_JGE | BPF_K, kX32Bit, 0, 1),
      Statement(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS),
  };
  for (const FailingCall& call : filter) {
    const sock_filter fail =
        Statement(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (static_cast<std::uint32_t>(call.error) & SECCOMP_RET_DATA));
    // Each call's block starts by loading the number, which a flag test
    // replaces with the argument.
    program.push_back(Statement(BPF_LD | BPF_W | BPF_ABS, kNumberOffset));
    if (call.flagArgument < 0) {
      program.push_back(Jump(BPF_JMP | BPF_JEQ | BPF_K, static_cast<std::uint32_t>(call.number), 0, 1));
      program.push_back(fail);
    } else {
      program.push_back(Jump(BPF_JMP | BPF_JEQ | BPF_K, static_cast<std::uint32_t>(call.number), 0, 3));
      program.push_back(Statement(BPF_LD | BPF_W | BPF_ABS, ArgumentOffset(call.flagArgument)));
      program.push_back(Jump(BPF_JMP | BPF_JSET | BPF_K, static_cast<std::uint32_t>(call.flagBits), 0, 1));
      program.push_back(fail);
    }
  }
  program.push_back(Statement(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
  return program;
}

}  // namespace

SystemCallFilter NoUnnamedTemporaries() {
  return {
      {kOpen, EOPNOTSUPP, 1, kTmpfileBit},
      {kOpenat, EOPNOTSUPP, 2, kTmpfileBit},
      {kOpenat2, ENOSYS},
  };
}

SystemCallFilter FailingSync() { return {{kFsync, EIO}, {kFdatasync, EIO}}; }

SystemCallFilter NoFallocate() { return {{kFallocate, EOPNOTSUPP}}; }

SystemCallFilter FailingTruncate() { return {{kFtruncate, EIO}}; }

bool InstallSystemCallFilter(const SystemCallFilter& filter) {
  std::vector<sock_filter> program = Program(filter);
  const sock_fprog installed{static_cast<unsigned short>(program.size()), program.data()};
  return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
         syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &installed) == 0;
}

bool CanFilterSystemCalls(std::string& why) {
#if !defined(__x86_64__)
  why = "the filter is for x86-64 processes";
  return false;
#else
  static int verdict = -1;  // the child's exit status
  if (verdict < 0) {
    const pid_t pid = fork();
    if (pid == 0) {
      alarm(10);
      if (!InstallSystemCallFilter(NoUnnamedTemporaries())) _exit(1);
      const int fd = open("/", O_TMPFILE | O_RDWR, 0600);
      _exit(fd < 0 && errno == EOPNOTSUPP ? 0 : 2);
    }
    int status = 0;
    while (pid > 0 && waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    verdict = pid > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : 3;
  }
  switch (verdict) {
    case 0: return true;
    case 1: why = "the kernel refuses a seccomp filter here"; return false;
    case 2: why = "a seccomp filter does not change what open returns here"; return false;
    default: why = "a child that installs a seccomp filter did not end normally"; return false;
  }
#endif
}
