#include "support/ClosedOutput.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "support/Process.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// An unnamed temporary file holding the input, read from its start.
File InputFile(const std::string& input) {
  File f(std::tmpfile());
  if (!f || std::fwrite(input.data(), 1, input.size(), f.get()) != input.size() || std::fflush(f.get()) != 0)
    throw std::runtime_error("the input file");
  std::rewind(f.get());
  return f;
}

}  // namespace

int RunWithClosedOutput(const std::string& exe, const std::vector<std::string>& args, const std::string& input,
                        const std::string& dir, unsigned seconds) {
  const File in = InputFile(input);
  int out[2];
  if (pipe(out) != 0) throw std::runtime_error("pipe");
  close(out[0]);  // nobody will read
  const pid_t pid = fork();
  if (pid < 0) {
    close(out[1]);
    throw std::runtime_error("fork");
  }
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    if (dup2(fileno(in.get()), STDIN_FILENO) < 0 || dup2(out[1], STDOUT_FILENO) < 0) _exit(127);
    close(out[1]);
    std::signal(SIGPIPE, SIG_DFL);  // whatever the test runner does with it
    ExecWithAlarm(exe, args, seconds);
  }
  close(out[1]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}
