#include "support/Child.h"

#include <fcntl.h>
#include <sched.h>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <stdexcept>

#include "support/Process.h"

namespace {

// In the forked child: gives up root for nobody, or ends the child.
void BecomeNobody() {
  uid_t user = 0;
  gid_t group = 0;
  if (!NobodyIds(user, group) || setgroups(0, nullptr) != 0 || setgid(group) != 0 || setuid(user) != 0) _exit(126);
}

}  // namespace

bool NobodyIds(uid_t& user, gid_t& group) {
  const passwd* const entry = getpwnam("nobody");
  if (!entry) return false;
  user = entry->pw_uid;
  group = entry->pw_gid;
  return true;
}

bool CanRunAsNobody(std::string& why, uid_t& user, gid_t& group) {
  if (geteuid() != 0) {
    why = "needs root, to run the program as the unprivileged user nobody";
    return false;
  }
  if (!NobodyIds(user, group)) {
    why = "there is no user nobody";
    return false;
  }
  return true;
}

const std::string& NobodyExe() {
  static const TempDir place;
  static const std::string exe = [] {
    const std::string path = place.path() + "/korvane64";
    std::filesystem::copy_file(Exe64(), path);
    chmod(path.c_str(), 0755);
    chmod(place.path().c_str(), 0755);
    return path;
  }();
  return exe;
}

int SomeProcessor() {
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  if (sched_getaffinity(0, sizeof allowed, &allowed) != 0) return 0;
  for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
    if (CPU_ISSET(cpu, &allowed)) return cpu;
  return 0;
}

bool AsNobody(const std::function<bool()>& check) {
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    alarm(10);
    BecomeNobody();
    _exit(check() ? 0 : 1);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

ChildProgram::ChildProgram(const std::string& exe, const std::vector<std::string>& args, const std::string& dir,
                           const ChildOptions& options) {
  // The filter knows x86-64 system calls only; it would end a 32-bit program
  // at its first one.
  if (!options.failingCalls.empty() && exe == Exe32())
    throw std::invalid_argument("failing system calls need the 64-bit executable");
  const bool piped = options.standardOutput < 0;
  int pipeFds[2] = {-1, -1};
  if (piped && pipe(pipeFds) != 0) throw std::runtime_error("pipe");
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork");
  if (pid_ == 0) {
    const int in = open("/dev/null", O_RDONLY);
    if (in < 0 || chdir(dir.c_str()) != 0) _exit(127);
    dup2(in, STDIN_FILENO);
    dup2(piped ? pipeFds[1] : options.standardOutput, STDOUT_FILENO);
    close(in);
    if (piped) {
      close(pipeFds[0]);
      close(pipeFds[1]);
    } else if (options.standardOutput != STDOUT_FILENO) {
      close(options.standardOutput);
    }
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);  // SIGQUIT would leave a core file
    for (const int sig : options.ignoredSignals) signal(sig, SIG_IGN);
    if (options.fileModeMask >= 0) umask(static_cast<mode_t>(options.fileModeMask));
    if (options.processor >= 0) {
      cpu_set_t only;
      CPU_ZERO(&only);
      CPU_SET(options.processor, &only);
      if (sched_setaffinity(0, sizeof only, &only) != 0) _exit(127);
    }
    if (options.asNobody) BecomeNobody();
    if (!options.failingCalls.empty() && !InstallSystemCallFilter(options.failingCalls)) _exit(125);
    ExecWithAlarm(exe, args, options.seconds);
  }
  if (!piped) return;
  close(pipeFds[1]);
  out_ = pipeFds[0];
  fcntl(out_, F_SETFL, fcntl(out_, F_GETFL) | O_NONBLOCK);
}

ChildProgram::~ChildProgram() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  if (out_ >= 0) close(out_);
}

void ChildProgram::Signal(int sig) {
  if (pid_ > 0) kill(pid_, sig);
}

void ChildProgram::ReadAvailable() {
  if (out_ < 0) return;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(out_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    output_.append(buffer, static_cast<size_t>(n));
  }
}

bool ChildProgram::Running() {
  ReadAvailable();
  if (pid_ <= 0) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
  pid_ = -1;
  status_ = status;
  return false;
}

int ChildProgram::Wait() {
  while (Running()) usleep(1000);
  ReadAvailable();
  return status_;
}

const std::string& ChildProgram::output() {
  ReadAvailable();
  return output_;
}
