#include "support/Child.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
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

ChildProgram::ChildProgram(const std::string& exe, const std::vector<std::string>& args, const std::string& dir,
                           const ChildOptions& options) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) throw std::runtime_error("pipe");
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork");
  if (pid_ == 0) {
    const int in = open("/dev/null", O_RDONLY);
    if (in < 0 || chdir(dir.c_str()) != 0) _exit(127);
    dup2(in, STDIN_FILENO);
    dup2(pipeFds[1], STDOUT_FILENO);
    close(in);
    close(pipeFds[0]);
    close(pipeFds[1]);
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);  // SIGQUIT would leave a core file
    for (const int sig : options.ignoredSignals) signal(sig, SIG_IGN);
    if (options.asNobody) BecomeNobody();
    ExecWithAlarm(exe, args, options.seconds);
  }
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
