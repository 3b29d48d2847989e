#include "support/OpenFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "support/Child.h"

FileId IdOf(const std::string& path) {
  struct stat st = {};
  if (stat(path.c_str(), &st) != 0) return {};
  return {st.st_dev, st.st_ino};
}

bool OpenFile::writable() const { return (flags & O_ACCMODE) != O_RDONLY; }

namespace {

// The open flags in /proc/PID/fdinfo/N ("flags:" and an octal number).
int FlagsOf(const std::string& fdinfo) {
  std::ifstream in(fdinfo);
  for (std::string word; in >> word;)
    if (word == "flags:") {
      in >> word;
      return static_cast<int>(std::strtol(word.c_str(), nullptr, 8));
    }
  return 0;
}

}  // namespace

std::vector<OpenFile> OpenFiles(pid_t pid) {
  std::vector<OpenFile> files;
  const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
  DIR* const d = opendir(fds.c_str());
  if (!d) return files;
  while (const dirent* e = readdir(d)) {
    if (e->d_name[0] == '.') continue;
    OpenFile file;
    file.fd = std::atoi(e->d_name);
    const std::string link = fds + "/" + e->d_name;
    char text[PATH_MAX + 1];
    const ssize_t n = readlink(link.c_str(), text, PATH_MAX);
    // stat follows the link to the open file, named or not.
    if (n <= 0 || stat(link.c_str(), &file.st) != 0) continue;
    file.path.assign(text, static_cast<std::size_t>(n));
    file.flags = FlagsOf("/proc/" + std::to_string(pid) + "/fdinfo/" + e->d_name);
    files.push_back(file);
  }
  closedir(d);
  return files;
}

std::vector<OpenFile> FilesWrittenIn(pid_t pid, const std::string& dir, const std::vector<FileId>& except) {
  std::error_code ec;
  const std::string prefix = std::filesystem::canonical(dir, ec).string() + "/";
  std::vector<OpenFile> written;
  for (const OpenFile& file : OpenFiles(pid)) {
    if (!S_ISREG(file.st.st_mode) || file.path.compare(0, prefix.size(), prefix) != 0) continue;
    if (file.path.find('/', prefix.size()) != std::string::npos) continue;  // deeper down
    if (std::find(except.begin(), except.end(), file.id()) != except.end()) continue;
    written.push_back(file);
  }
  return written;
}

::testing::AssertionResult WaitForFilesWritten(ChildProgram& program, const std::string& dir,
                                               const std::vector<FileId>& except, std::size_t count,
                                               bool withText, unsigned seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  std::set<FileId> seen;
  for (;;) {
    if (!program.Running() || std::chrono::steady_clock::now() > end)
      return ::testing::AssertionFailure() << "the program did not hold " << count << " files open in " << dir
                                           << " (it held " << seen.size() << "); output:\n"
                                           << program.output();
    bool text = false;
    const std::vector<OpenFile> files = FilesWrittenIn(program.pid(), dir, except);
    for (const OpenFile& file : files) {
      seen.insert(file.id());
      text = text || file.st.st_size > 0;
    }
    if (!files.empty() && seen.size() >= count && (text || !withText)) return ::testing::AssertionSuccess();
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
}
