#include "support/Process.h"

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

std::string Exe64() { return KORVANE64_EXE; }
std::string Exe32() { return KORVANE32_EXE; }

std::vector<std::string> Runner32() {
  std::istringstream words(KORVANE32_RUNNER);
  std::vector<std::string> runner;
  for (std::string word; words >> word;) runner.push_back(word);
  return runner;
}

std::vector<std::string> Executables() {
  std::vector<std::string> exes = {Exe64()};
  if (!Exe32().empty()) exes.push_back(Exe32());
  return exes;
}

std::string SourceDir() { return KORVANE_SOURCE_DIR; }

namespace {

constexpr unsigned long long kNoFileSizeLimit = ~0ULL;

// Runs the program; with closedOutput the reading end of its output pipe is
// closed before it starts, so that every write to standard output fails.
ProcessResult Run(const std::string& exe, const std::vector<std::string>& args, const std::string& input,
                  const std::string& dir, unsigned seconds, unsigned long long fileSizeLimit,
                  bool closedOutput = false) {
  // Input goes through a file so that a program that stops reading early
  // never blocks the test.
  const std::string inputPath = dir + "/.stdin";
  {
    std::ofstream f(inputPath, std::ios::binary);
    f << input;
  }
  int outPipe[2];
  if (pipe(outPipe) != 0) throw std::runtime_error("pipe");
  if (closedOutput) close(outPipe[0]);  // nobody will read
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    FILE* in = std::fopen(inputPath.c_str(), "rb");
    if (!in) _exit(127);
    dup2(fileno(in), STDIN_FILENO);
    dup2(outPipe[1], STDOUT_FILENO);
    if (!closedOutput) close(outPipe[0]);
    close(outPipe[1]);
    if (closedOutput) std::signal(SIGPIPE, SIG_DFL);  // whatever the test runner does with it
    if (fileSizeLimit != kNoFileSizeLimit) {
      const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(127);
      std::signal(SIGXFSZ, SIG_DFL);
    }
    ExecWithAlarm(exe, args, seconds);
  }
  close(outPipe[1]);
  ProcessResult result;
  char buffer[65536];
  while (!closedOutput) {
    const ssize_t n = read(outPipe[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    result.output.append(buffer, static_cast<size_t>(n));
  }
  if (!closedOutput) close(outPipe[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.waitStatus = status;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::filesystem::remove(inputPath);
  return result;
}

}  // namespace

std::vector<std::string> CommandLine(const std::string& exe, const std::vector<std::string>& args) {
  std::vector<std::string> command = exe == Exe32() ? Runner32() : std::vector<std::string>();
  command.push_back(exe);
  command.insert(command.end(), args.begin(), args.end());
  return command;
}

void ExecWithAlarm(const std::string& exe, const std::vector<std::string>& args, unsigned seconds) {
  std::vector<std::string> command = CommandLine(exe, args);
  std::vector<char*> argv;
  for (auto& word : command) argv.push_back(word.data());
  argv.push_back(nullptr);
  alarm(seconds);  // no test may hang
  // The program starts as from a shell, with standard input, output and
  // error alone: descriptors that the test runner leaves open (its log, for
  // one) are not the program's files.
  close_range(3, ~0U, 0);
  execv(argv[0], argv.data());
  _exit(127);
}

ProcessResult RunProgram(const std::string& exe, const std::vector<std::string>& args,
                         const std::string& input, const std::string& dir, unsigned seconds) {
  return Run(exe, args, input, dir, seconds, kNoFileSizeLimit);
}

ProcessResult RunProgramWithFileSizeLimit(const std::string& exe, const std::vector<std::string>& args,
                                          const std::string& input, const std::string& dir,
                                          unsigned long long fileSizeLimit, unsigned seconds) {
  return Run(exe, args, input, dir, seconds, fileSizeLimit);
}

ProcessResult RunProgramWithMemoryLimit(const std::string& exe, const std::vector<std::string>& args,
                                        const std::string& input, const std::string& dir, unsigned long kib,
                                        unsigned seconds) {
  std::vector<std::string> shellArgs = {"-c", "ulimit -v " + std::to_string(kib) + " && exec \"$0\" \"$@\""};
  const std::vector<std::string> command = CommandLine(exe, args);
  shellArgs.insert(shellArgs.end(), command.begin(), command.end());
  return RunProgram("/bin/sh", shellArgs, input, dir, seconds);
}

ProcessResult RunProgramWithClosedOutput(const std::string& exe, const std::vector<std::string>& args,
                                         const std::string& input, const std::string& dir, unsigned seconds) {
  return Run(exe, args, input, dir, seconds, kNoFileSizeLimit, true);
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "korvane-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& content) const {
  const std::string p = path_ + "/" + name;
  std::filesystem::create_directories(std::filesystem::path(p).parent_path());
  std::ofstream f(p, std::ios::binary);
  f << content;
  return p;
}

std::string TempDir::Read(const std::string& name) const { return ReadFile(path_ + "/" + name); }

bool TempDir::Exists(const std::string& name) const { return std::filesystem::exists(path_ + "/" + name); }

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::vector<std::string> Entries(const std::string& path) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(path)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

bool MakeSocket(const std::string& path) {
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return false;
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return bound;
}
