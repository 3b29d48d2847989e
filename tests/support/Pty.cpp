#include "support/Pty.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <stdexcept>

#include "support/Process.h"

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point Deadline(double seconds) {
  return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

constexpr int kPollMs = 10;

}  // namespace

PtyProgram::PtyProgram(const std::string& exe, const std::vector<std::string>& args,
                       const std::string& dir, const std::vector<int>& ignoredSignals,
                       unsigned seconds) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    throw std::runtime_error("posix_openpt");
  }
  const std::string slaveName = ptsname(master_);
  slave_ = open(slaveName.c_str(), O_RDWR | O_NOCTTY);
  if (slave_ < 0) throw std::runtime_error("open " + slaveName);
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork");
  if (pid_ == 0) {
    // A session of its own, whose controlling terminal is the slave.
    if (setsid() < 0) _exit(127);
    const int tty = open(slaveName.c_str(), O_RDWR);
    if (tty < 0 || ioctl(tty, TIOCSCTTY, 0) != 0) _exit(127);
    dup2(tty, STDIN_FILENO);
    dup2(tty, STDOUT_FILENO);
    close(tty);
    close(slave_);
    close(master_);
    if (chdir(dir.c_str()) != 0) _exit(127);
    for (const int sig : ignoredSignals) signal(sig, SIG_IGN);
    ExecWithAlarm(exe, args, seconds);
  }
}

PtyProgram::~PtyProgram() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
}

void PtyProgram::ReadAvailable(int timeoutMs) {
  pollfd ready{master_, POLLIN, 0};
  if (poll(&ready, 1, timeoutMs) <= 0 || !(ready.revents & POLLIN)) return;
  char buffer[4096];
  const ssize_t n = read(master_, buffer, sizeof buffer);
  if (n > 0) output_.append(buffer, static_cast<std::size_t>(n));
}

bool PtyProgram::WaitForOutput(const std::string& text, std::size_t from, double seconds) {
  const auto end = Deadline(seconds);
  while (output_.find(text, from) == std::string::npos) {
    if (Clock::now() > end) return false;
    ReadAvailable(kPollMs);
  }
  return true;
}

bool PtyProgram::WaitForLineEditing(bool on, double seconds) {
  const auto end = Deadline(seconds);
  while (((Settings().c_lflag & ICANON) != 0) != on) {
    if (Clock::now() > end) return false;
    ReadAvailable(kPollMs);
  }
  return true;
}

void PtyProgram::Type(const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw std::runtime_error("write to the terminal");
    done += static_cast<std::size_t>(n);
  }
}

void PtyProgram::Signal(int sig) { kill(pid_, sig); }

int PtyProgram::Wait(double seconds) {
  const auto end = Deadline(seconds);
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      pid_ = -1;
      ReadAvailable(0);
      return status;
    }
    if (Clock::now() > end) return -1;  // the destructor kills it
    ReadAvailable(kPollMs);
  }
}

termios PtyProgram::Settings() const {
  termios t{};
  tcgetattr(slave_, &t);
  return t;
}

std::string PtyProgram::UnreadInput() {
  // Without line editing every byte in the queue can be read, also an
  // unfinished line.
  termios raw = Settings();
  raw.c_lflag &= static_cast<tcflag_t>(~ICANON);
  raw.c_cc[VMIN] = 0;
  raw.c_cc[VTIME] = 0;
  tcsetattr(slave_, TCSANOW, &raw);
  std::string unread;
  char buffer[256];
  ssize_t n = 0;
  while ((n = read(slave_, buffer, sizeof buffer)) > 0) unread.append(buffer, static_cast<std::size_t>(n));
  return unread;
}
