// The 32-bit build looks at files through the same calls as the 64-bit one.
#define _FILE_OFFSET_BITS 64

#include "export/TemporaryFiles.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "export/EndingSignals.h"

namespace {

// The number of named temporary files that can exist at once.
constexpr int kTemporarySlots = 4;
// How many names are tried when others' files take them: each is drawn from
// the system's random source, so nobody can take the next one in advance.
constexpr int kNameTries = 100;
// The random characters of a name, and the characters they are drawn from.
constexpr int kRandomCharacters = 12;
constexpr char kNameCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// A named file: its directory and its name, set before the file gets the
// name, so that the handler only calls unlinkat.
struct Slot {
  int directory = -1;
  char name[kTemporaryNameMax + 1] = {};
  bool used = false;
};

// Changed only while the signals are held back, so the handler never sees a
// slot half written.
Slot slots[kTemporarySlots];
int usedSlots = 0;
struct sigaction previous[NSIG];
bool installed[NSIG] = {};

// The faults that the program's own code could raise: holding one of them
// back would turn a fault into a kill without any report.
bool IsFault(int sig) {
  return sig == SIGSEGV || sig == SIGBUS || sig == SIGILL || sig == SIGFPE || sig == SIGTRAP || sig == SIGSYS;
}

sigset_t EndingSignalSet(bool withFaults) {
  sigset_t set;
  sigemptyset(&set);
  ForEachEndingSignal([&](int sig) {
    if (withFaults || !IsFault(sig)) sigaddset(&set, sig);
  });
  return set;
}

// Removes every named file, then ends the program with the signal's default
// action. unlinkat, signal and raise are async-signal-safe.
extern "C" void RemoveTemporariesAndRaise(int sig) {
  for (const Slot& slot : slots)
    if (slot.used) unlinkat(slot.directory, slot.name, 0);
  signal(sig, SIG_DFL);
  raise(sig);  // delivered with the default action once the handler returns
}

void InstallHandlers() {
  struct sigaction remove = {};
  remove.sa_handler = RemoveTemporariesAndRaise;
  remove.sa_mask = EndingSignalSet(true);
  ForEachEndingSignal([&](int sig) {
    sigaction(sig, nullptr, &previous[sig]);
    // An ignored signal stays ignored; a handler someone else set stays too.
    installed[sig] = previous[sig].sa_handler == SIG_DFL && sigaction(sig, &remove, nullptr) == 0;
  });
}

void RestoreHandlers() {
  ForEachEndingSignal([](int sig) {
    if (installed[sig]) sigaction(sig, &previous[sig], nullptr);
    installed[sig] = false;
  });
}

// Registers the name in the directory; call under a SignalBlock. The slot,
// or -1 when all are taken.
int Register(int directory, const char* name) {
  for (int i = 0; i < kTemporarySlots; ++i) {
    Slot& slot = slots[i];
    if (slot.used) continue;
    if (usedSlots == 0) InstallHandlers();
    slot.directory = directory;
    std::snprintf(slot.name, sizeof slot.name, "%s", name);
    slot.used = true;
    ++usedSlots;
    return i;
  }
  return -1;
}

// Forgets the name of the slot (it was renamed or removed); call under a
// SignalBlock.
void Forget(int& slot) {
  if (slot >= 0 && slot < kTemporarySlots && slots[slot].used) {
    slots[slot].used = false;
    if (--usedSlots == 0) RestoreHandlers();
  }
  slot = -1;
}

// Random bytes from the system's random source; where that gives none (an
// old kernel, no /dev/urandom), from the clock and the process id, which
// still differ from run to run.
void RandomBytes(unsigned char* bytes, size_t n) {
  size_t got = 0;
  while (got < n) {
    const ssize_t r = getrandom(bytes + got, n - got, GRND_NONBLOCK);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    got += static_cast<size_t>(r);
  }
  if (got < n) {
    const int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    while (fd >= 0 && got < n) {
      const ssize_t r = read(fd, bytes + got, n - got);
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) break;
      got += static_cast<size_t>(r);
    }
    if (fd >= 0) close(fd);
  }
  if (got < n) {
    static unsigned long long counter = 0;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    unsigned long long mix = static_cast<unsigned long long>(now.tv_nsec) ^
                             (static_cast<unsigned long long>(now.tv_sec) << 30) ^
                             (static_cast<unsigned long long>(getpid()) << 20) ^ ++counter;
    for (; got < n; ++got) {
      mix = mix * 6364136223846793005ULL + 1442695040888963407ULL;
      bytes[got] = static_cast<unsigned char>(mix >> 56);
    }
  }
}

// A new name ".korvane-XXXXXXXXXXXX.tmp" of random letters and digits.
void TemporaryName(char (&name)[kTemporaryNameMax + 1]) {
  unsigned char bytes[kRandomCharacters];
  RandomBytes(bytes, sizeof bytes);
  char random[kRandomCharacters + 1];
  for (int i = 0; i < kRandomCharacters; ++i) random[i] = kNameCharacters[bytes[i] % (sizeof kNameCharacters - 1)];
  random[kRandomCharacters] = '\0';
  std::snprintf(name, sizeof name, ".korvane-%s.tmp", random);
}

// The path through which the process reaches its open file fd.
struct FdPath {
  explicit FdPath(int fd) { std::snprintf(text, sizeof text, "/proc/self/fd/%d", fd); }
  char text[32];
};

// Links the unnamed file fd in under the name in the directory: through its
// path under /proc, or, where that is not there, directly (which the system
// allows privileged processes).
bool LinkUnnamed(int fd, int directory, const char* name) {
  if (linkat(AT_FDCWD, FdPath(fd).text, directory, name, AT_SYMLINK_FOLLOW) == 0) return true;
  if (errno != ENOENT) return false;
  return linkat(fd, "", directory, name, AT_EMPTY_PATH) == 0;
}

// Whether an unnamed file can be given a name later: its path under /proc is
// there, or the process is privileged.
bool CanBeNamed(int fd) {
  struct stat st;
  return fstatat(AT_FDCWD, FdPath(fd).text, &st, AT_SYMLINK_NOFOLLOW) == 0 || geteuid() == 0;
}

// The directory, opened once more for a temporary file, so that it stays
// open as long as the file (the signal handlers reach a named file through
// it); -1 when the process has no descriptor left.
int HoldDirectory(int directory) { return fcntl(directory, F_DUPFD_CLOEXEC, 0); }

}  // namespace

SignalBlock::SignalBlock() {
  const sigset_t ending = EndingSignalSet(false);
  sigprocmask(SIG_BLOCK, &ending, &previous);
}

SignalBlock::~SignalBlock() { sigprocmask(SIG_SETMASK, &previous, nullptr); }

bool Temporary::Close() {
  const int closing = fd;
  fd = -1;
  return closing >= 0 && close(closing) == 0;
}

void Temporary::Remove() {
  const SignalBlock block;
  if (fd >= 0) close(fd);
  fd = -1;
  if (Named()) unlinkat(directory, name, 0);
  name[0] = '\0';
  Forget(slot);
  if (directory >= 0) close(directory);
  directory = -1;
}

bool CreateUnnamed(int directory, mode_t mode, Temporary& temporary) {
  temporary.directory = HoldDirectory(directory);
  if (temporary.directory >= 0) temporary.fd = openat(directory, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
  if (temporary.fd >= 0 && CanBeNamed(temporary.fd)) return true;
  temporary.Remove();
  return false;
}

bool CreateNamed(int directory, Temporary& temporary) {
  temporary.directory = HoldDirectory(directory);
  for (int i = 0; i < kNameTries && temporary.directory >= 0; ++i) {
    char name[kTemporaryNameMax + 1];
    TemporaryName(name);
    const SignalBlock block;
    temporary.fd = openat(directory, name, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (temporary.fd < 0 && errno == EEXIST) continue;
    if (temporary.fd < 0) break;
    std::memcpy(temporary.name, name, sizeof name);
    temporary.slot = Register(temporary.directory, name);
    if (temporary.slot >= 0) return true;
    break;
  }
  temporary.Remove();
  return false;
}

bool GiveName(Temporary& temporary) {
  for (int i = 0; i < kNameTries; ++i) {
    char name[kTemporaryNameMax + 1];
    TemporaryName(name);
    const SignalBlock block;
    if (!LinkUnnamed(temporary.fd, temporary.directory, name)) {
      if (errno == EEXIST) continue;
      return false;
    }
    std::memcpy(temporary.name, name, sizeof name);
    temporary.slot = Register(temporary.directory, name);
    if (temporary.slot >= 0) return true;
    unlinkat(temporary.directory, name, 0);
    temporary.name[0] = '\0';
    return false;
  }
  return false;
}

bool RenameTo(Temporary& temporary, const char* name) {
  const SignalBlock block;
  if (renameat(temporary.directory, temporary.name, temporary.directory, name) != 0) return false;
  temporary.name[0] = '\0';
  Forget(temporary.slot);
  return true;
}

bool LinkAs(const Temporary& temporary, const char* name) {
  return LinkUnnamed(temporary.fd, temporary.directory, name);
}
