// Test support for end-to-end tests: runs a built executable in a directory
// with scripted standard input and captures its standard output.
#pragma once

#include <string>
#include <vector>

struct ProcessResult {
  int status = -1;      // exit status; -1 when it did not exit normally
  int waitStatus = 0;   // as waitpid gives it (a signal that ended it)
  std::string output;   // standard output
};

// The two executables; Exe32() is empty when the 32-bit build is off.
std::string Exe64();
std::string Exe32();
// The command line that runs the 32-bit executable here, put before it: empty
// where the kernel runs it, an emulator (qemu-i386) where it cannot.
std::vector<std::string> Runner32();
// The executables to run end-to-end tests with: korvane64, and korvane where
// the 32-bit build is on.
std::vector<std::string> Executables();
// The source tree (for examples and golden files).
std::string SourceDir();

// Runs exe with the arguments in dir, feeding input on standard input. A run
// that has not ended after the given number of seconds is killed by an alarm
// and reports the status -1.
ProcessResult RunProgram(const std::string& exe, const std::vector<std::string>& args,
                         const std::string& input, const std::string& dir, unsigned seconds = 120);

// As RunProgram, with every file the program writes limited to the given
// number of bytes (RLIMIT_FSIZE), as a full disk would stop it. The signal
// sent on reaching the limit keeps its default action, which kills a program
// that does not ignore it (status -1).
ProcessResult RunProgramWithFileSizeLimit(const std::string& exe, const std::vector<std::string>& args,
                                          const std::string& input, const std::string& dir,
                                          unsigned long long fileSizeLimit, unsigned seconds = 120);

// As RunProgram, with the program's address space limited to the given
// number of KiB (ulimit -v), so that a large model runs out of memory.
ProcessResult RunProgramWithMemoryLimit(const std::string& exe, const std::vector<std::string>& args,
                                        const std::string& input, const std::string& dir, unsigned long kib,
                                        unsigned seconds = 120);

// As RunProgram, with the reading end of the program's output pipe closed
// before it starts, as when its output is piped into a reader that stops at
// once: every write to standard output fails, with EPIPE, or by ending the
// program with SIGPIPE unless it ignores that signal (the program starts with
// its default action). Nothing is read.
ProcessResult RunProgramWithClosedOutput(const std::string& exe, const std::vector<std::string>& args,
                                         const std::string& input, const std::string& dir,
                                         unsigned seconds = 120);

// The command line that runs exe with the arguments: the 32-bit executable
// behind Runner32(), any other as it is.
std::vector<std::string> CommandLine(const std::string& exe, const std::vector<std::string>& args);

// In a forked child: starts exe with the arguments (through CommandLine), to
// be killed by an alarm after the given number of seconds; ends the child
// when exe cannot start.
[[noreturn]] void ExecWithAlarm(const std::string& exe, const std::vector<std::string>& args,
                                unsigned seconds);

// A fresh empty directory under the system's temporary directory, removed
// with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // Writes a file in the directory and returns its path.
  std::string Write(const std::string& name, const std::string& content) const;
  // Reads a file of the directory ("" when missing; exists tells).
  std::string Read(const std::string& name) const;
  bool Exists(const std::string& name) const;

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);
// Makes a socket at the path (a file that is neither regular nor readable as
// a stream); false when it cannot.
bool MakeSocket(const std::string& path);
// The names in a directory, sorted.
std::vector<std::string> Entries(const std::string& path);

// Whether the tests run under AddressSanitizer, whose shadow memory needs far
// more address space than a memory limit leaves.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
