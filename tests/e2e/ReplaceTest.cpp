// Replacing an output file keeps what the user had, through the built
// executable: the write goes through symbolic links, anything that is not a
// regular file is refused, the mode, owner and hard links stay, the file is
// written in place where a rename cannot keep them, a signal leaves no
// temporary file, the map and the OBJ file of a template change together,
// and a path as long as the system takes works.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/Child.h"
#include "support/Process.h"
#include "support/ReplaceFiles.h"
#include "support/SystemCallFilter.h"

namespace {

constexpr unsigned kRunLimitSeconds = 20;

// A map that cannot be created, where no OBJ file existed and where one did.
const std::string kMapRefused = CouldNotCreate("c.map") + DidNotWrite("c.obj", "c.map") + kPressAnyButton;
const std::string kMapRefusedObjKept = CouldNotCreate("c.map") + LeftAsItWas("c.obj", "c.map") + kPressAnyButton;
const std::string kBothRefused = CouldNotCreate("c.map") + CouldNotCreate("c.obj") + kPressAnyButton;

struct stat LinkStat(const std::string& path) {
  struct stat st = {};
  lstat(path.c_str(), &st);
  return st;
}

std::string LinkText(const std::string& path) {
  std::error_code ec;
  return std::filesystem::read_symlink(path, ec).string();
}

void MakeLink(const std::string& text, const std::string& path) { ASSERT_EQ(symlink(text.c_str(), path.c_str()), 0); }

}  // namespace

// ---- Links and files that are not regular --------------------------------------

// A link is followed to the file it names: that file gets the text, keeps
// its mode, and the link stays as it was. A link that names nothing yet
// creates the file it names.
TEST(Replace, TheWriteGoesThroughSymbolicLinks) {
  struct Case {
    const char* what;
    std::function<void(const TempDir&)> prepare;
    const char* written;  // the file that gets the map
  };
  const Case cases[] = {
      {"a link beside", [](const TempDir& d) { MakeLink("real.map", d.path() + "/c.map"); }, "real.map"},
      {"an absolute link", [](const TempDir& d) { MakeLink(d.path() + "/real.map", d.path() + "/c.map"); }, "real.map"},
      {"a chain of links through another directory",
       [](const TempDir& d) {
         d.Write("sub/real.map", kOld);
         MakeLink("sub/link.map", d.path() + "/c.map");
         MakeLink("real.map", d.path() + "/sub/link.map");  // relative to its own directory
       },
       "sub/real.map"},
      {"a link that names nothing yet", [](const TempDir& d) { MakeLink("made.map", d.path() + "/c.map"); },
       "made.map"},
  };
  for (const std::string& exe : Executables()) {
    for (const Case& c : cases) {
      SCOPED_TRACE(exe + ": " + c.what);
      TempDir dir;
      dir.Write("c.kvt", kPairTemplate);
      chmod(dir.Write("real.map", kOld).c_str(), 0640);
      c.prepare(dir);
      const std::string link = LinkText(dir.path() + "/c.map");
      const ProcessResult r = RunProgram(exe, {"c.kvt"}, "", dir.path(), kRunLimitSeconds);
      EXPECT_EQ(r.status, 0);
      EXPECT_EQ(r.output, kWritten);
      EXPECT_EQ(LinkText(dir.path() + "/c.map"), link);
      EXPECT_EQ(dir.Read(c.written), Cylinder().map);
      EXPECT_EQ(dir.Read("c.obj"), Cylinder().obj);
      if (std::string(c.written) == "real.map") {
        EXPECT_EQ(LinkStat(dir.path() + "/real.map").st_mode & 07777, 0640u);
      }
      EXPECT_TRUE(Temporaries(dir.path()).empty());
    }
  }
}

// Anything at the name, or behind a link, that is not a regular file is
// refused like a directory: the warning, status 1, the thing as it was, and
// the OBJ file not written either. A FIFO is never opened, so nothing waits.
TEST(Replace, WhatIsNotARegularFileIsRefused) {
  struct Case {
    const char* what;
    std::function<void(const TempDir&)> prepare;
  };
  const Case cases[] = {
      {"a FIFO", [](const TempDir& d) { ASSERT_EQ(mkfifo((d.path() + "/c.map").c_str(), 0644), 0); }},
      {"a socket", [](const TempDir& d) { ASSERT_TRUE(MakeSocket(d.path() + "/c.map")); }},
      {"a directory", [](const TempDir& d) { std::filesystem::create_directory(d.path() + "/c.map"); }},
      {"a device",
       [](const TempDir& d) {
         if (mknod((d.path() + "/c.map").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
           MakeLink("/dev/null", d.path() + "/c.map");  // no right to make device nodes here
       }},
      {"a link to /dev/stdout", [](const TempDir& d) { MakeLink("/dev/stdout", d.path() + "/c.map"); }},
      {"a link to /dev/null", [](const TempDir& d) { MakeLink("/dev/null", d.path() + "/c.map"); }},
      {"a link to a FIFO",
       [](const TempDir& d) {
         ASSERT_EQ(mkfifo((d.path() + "/fifo").c_str(), 0644), 0);
         MakeLink("fifo", d.path() + "/c.map");
       }},
      {"a link to a directory", [](const TempDir& d) { MakeLink("/tmp", d.path() + "/c.map"); }},
      {"a link to a directory, with a slash", [](const TempDir& d) { MakeLink("sub/", d.path() + "/c.map"); }},
      {"links in a loop",
       [](const TempDir& d) {
         MakeLink("d.map", d.path() + "/c.map");
         MakeLink("c.map", d.path() + "/d.map");
       }},
      {"a link into a missing directory", [](const TempDir& d) { MakeLink("none/c.map", d.path() + "/c.map"); }},
  };
  for (const std::string& exe : Executables()) {
    for (const Case& c : cases) {
      SCOPED_TRACE(exe + ": " + c.what);
      TempDir dir;
      dir.Write("c.kvt", kPairTemplate);
      std::filesystem::create_directory(dir.path() + "/sub");
      c.prepare(dir);
      const std::vector<std::string> before = Entries(dir.path());
      const struct stat was = LinkStat(dir.path() + "/c.map");
      const std::string link = LinkText(dir.path() + "/c.map");
      const ProcessResult r = RunProgram(exe, {"c.kvt"}, "", dir.path(), kRunLimitSeconds);
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.output, kMapRefused);
      EXPECT_EQ(Entries(dir.path()), before);
      const struct stat is = LinkStat(dir.path() + "/c.map");
      EXPECT_EQ(is.st_mode, was.st_mode);
      EXPECT_EQ(is.st_ino, was.st_ino);
      EXPECT_EQ(LinkText(dir.path() + "/c.map"), link);
      EXPECT_TRUE(Entries(dir.path() + "/sub").empty());
    }
  }
}

// ---- Mode, owner and hard links ---------------------------------------------------

// The new file gets the old one's mode, owner and group. A file without any
// write permission bit is refused also when the program runs as root.
TEST(Replace, TheModeAndOwnerStay) {
  struct Case {
    mode_t mode;
    bool nobodyOwns;
    bool written;
  };
  const Case cases[] = {
      {0600, true, true},   {0755, false, true}, {0640, true, true},   {04755, false, true},
      {0444, false, false}, {0555, true, false}, {0400, false, false},
  };
  uid_t nobody = 0;
  gid_t nogroup = 0;
  const bool root = geteuid() == 0 && NobodyIds(nobody, nogroup);
  for (const Case& c : cases) {
    if (c.nobodyOwns && !root) continue;  // only root may give a file away
    SCOPED_TRACE(std::to_string(c.mode) + (c.nobodyOwns ? " owned by nobody" : ""));
    TempDir dir;
    dir.Write("c.kvt", kPairTemplate);
    for (const char* name : {"c.map", "c.obj"}) {
      const std::string path = dir.Write(name, kOld);
      if (c.nobodyOwns) {
        ASSERT_EQ(chown(path.c_str(), nobody, nogroup), 0);
      }
      ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
    }
    const struct stat was = LinkStat(dir.path() + "/c.map");
    const ProcessResult r = RunProgram(Exe64(), {"c.kvt"}, "", dir.path(), kRunLimitSeconds);
    EXPECT_EQ(r.status, c.written ? 0 : 1);
    EXPECT_EQ(r.output, c.written ? kWritten : kBothRefused);
    EXPECT_EQ(dir.Read("c.map"), c.written ? Cylinder().map : kOld);
    EXPECT_EQ(dir.Read("c.obj"), c.written ? Cylinder().obj : kOld);
    for (const char* name : {"c.map", "c.obj"}) {
      const struct stat is = LinkStat(dir.path() + "/" + name);
      EXPECT_EQ(is.st_mode, was.st_mode) << name;
      EXPECT_EQ(is.st_uid, was.st_uid) << name;
      EXPECT_EQ(is.st_gid, was.st_gid) << name;
    }
    EXPECT_TRUE(Temporaries(dir.path()).empty());
  }
}

// A file with another hard link is written in place: every name of it shows
// the new text, longer or shorter than the old one.
TEST(Replace, HardLinksStay) {
  for (const std::string& exe : Executables()) {
    for (const std::string& old : {kOld, std::string(100000, 'x')}) {
      SCOPED_TRACE(exe + ", old text of " + std::to_string(old.size()) + " bytes");
      TempDir dir;
      dir.Write("c.kvt", kPairTemplate);
      dir.Write("c.map", old);
      dir.Write("c.obj", old);
      ASSERT_EQ(link((dir.path() + "/c.map").c_str(), (dir.path() + "/keep.map").c_str()), 0);
      ASSERT_EQ(link((dir.path() + "/c.obj").c_str(), (dir.path() + "/sub.obj").c_str()), 0);
      const struct stat was = LinkStat(dir.path() + "/c.map");
      const ProcessResult r = RunProgram(exe, {"c.kvt"}, "", dir.path(), kRunLimitSeconds);
      EXPECT_EQ(r.status, 0);
      EXPECT_EQ(r.output, kWritten);
      EXPECT_EQ(dir.Read("keep.map"), Cylinder().map);
      EXPECT_EQ(dir.Read("sub.obj"), Cylinder().obj);
      const struct stat is = LinkStat(dir.path() + "/c.map");
      EXPECT_EQ(is.st_ino, was.st_ino);
      EXPECT_EQ(is.st_nlink, 2u);
      EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"c.kvt", "c.map", "c.obj", "keep.map", "sub.obj"}));
    }
  }
}

// ---- Where a rename cannot keep what the user had ----------------------------------

// As an ordinary user, a file that a rename would take from its owner, or in
// a directory that refuses new files, is written in place: the same file,
// owner and mode with the new text. What the user may not write is refused.
TEST(Replace, AsAnOrdinaryUserFilesAreWrittenInPlace) {
  std::string why;
  uid_t nobody = 0;
  gid_t nogroup = 0;
  if (!CanRunAsNobody(why, nobody, nogroup)) GTEST_SKIP() << why;
  struct Case {
    const char* what;
    mode_t directoryMode;  // of a directory root owns
    bool oldFiles;
    bool nobodyOwns;
    mode_t fileMode;
    bool written;
  };
  const Case cases[] = {
      {"the user's file in a directory the user cannot write", 0555, true, true, 0644, true},
      {"another user's file in a sticky directory", 01777, true, false, 0666, true},
      {"another user's file in a directory the user may write", 0777, true, false, 0666, true},
      {"another user's file the user may not write", 0777, true, false, 0644, false},
      {"a new file in a directory the user cannot write", 0555, false, false, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    chmod(dir.path().c_str(), 0755);
    const std::string work = dir.path() + "/work";
    dir.Write("work/c.kvt", kPairTemplate);
    const std::string old(100000, 'x');  // longer than the new text
    if (c.oldFiles) {
      for (const char* name : {"work/c.map", "work/c.obj"}) {
        const std::string path = dir.Write(name, old);
        if (c.nobodyOwns) {
          ASSERT_EQ(chown(path.c_str(), nobody, nogroup), 0);
        }
        ASSERT_EQ(chmod(path.c_str(), c.fileMode), 0);
      }
    }
    ASSERT_EQ(chmod(work.c_str(), c.directoryMode), 0);
    const struct stat was = LinkStat(work + "/c.map");
    ChildOptions options;
    options.asNobody = true;
    ChildProgram program(NobodyExe(), {"c.kvt"}, work, options);
    const int status = program.Wait();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), c.written ? 0 : 1);
    EXPECT_EQ(program.output(), c.written ? kWritten : kBothRefused);
    EXPECT_TRUE(Temporaries(work).empty());
    if (!c.oldFiles) {
      EXPECT_EQ(Entries(work), std::vector<std::string>{"c.kvt"});
      continue;
    }
    EXPECT_EQ(ReadFile(work + "/c.map"), c.written ? Cylinder().map : old);
    EXPECT_EQ(ReadFile(work + "/c.obj"), c.written ? Cylinder().obj : old);
    const struct stat is = LinkStat(work + "/c.map");
    EXPECT_EQ(is.st_ino, was.st_ino);
    EXPECT_EQ(is.st_uid, was.st_uid);
    EXPECT_EQ(is.st_mode, was.st_mode);
    EXPECT_EQ(Entries(work), (std::vector<std::string>{"c.kvt", "c.map", "c.obj"}));
  }
}

// ---- Signals ---------------------------------------------------------------------

namespace {

// The named temporary files are what these tests look at: unnamed ones are
// made unavailable, as on a file system without O_TMPFILE.
ChildOptions NamedTemporaries() {
  ChildOptions options;
  options.failingCalls = NoUnnamedTemporaries();
  return options;
}

}  // namespace

// Every signal whose default action ends the program and that can be caught
// removes the named temporary files while the program writes, and the
// program ends with the signal's status; the older files stay, also when the
// map's text was complete and the OBJ file's was being written.
TEST(Replace, ASignalLeavesNoTemporaryFile) {
  std::string why;
  if (!CanFilterSystemCalls(why)) GTEST_SKIP() << why;
  struct Case {
    int sig;
    std::size_t temporaries;  // that exist when it is sent
  };
  const std::vector<Case> cases = {
      {SIGTERM, 1}, {SIGINT, 1},    {SIGHUP, 1},  {SIGQUIT, 1},  {SIGUSR1, 1},  {SIGUSR2, 1},
      {SIGALRM, 1}, {SIGXCPU, 1},   {SIGPWR, 1},  {SIGVTALRM, 1}, {SIGPROF, 1}, {SIGRTMIN, 1},
      {SIGRTMAX, 1}, {SIGTERM, 2},  {SIGHUP, 2},  {SIGUSR1, 2},  {SIGRTMIN, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE("signal " + std::to_string(c.sig) + " (" + strsignal(c.sig) + ") with " +
                 std::to_string(c.temporaries) + " temporary files");
    TempDir dir;
    std::unique_ptr<ChildProgram> program;
    ASSERT_TRUE(StartWriting(dir.path(), program, c.temporaries, NamedTemporaries()));
    ASSERT_FALSE(Temporaries(dir.path()).empty());
    program->Signal(c.sig);
    const int status = program->Wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), c.sig);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"c.kvt", "c.map", "c.obj"}));
    EXPECT_EQ(dir.Read("c.map"), kOld);
    EXPECT_EQ(dir.Read("c.obj"), kOld);
    EXPECT_EQ(program->output(), "");
  }
}

// A signal the program was started to ignore stays ignored: the files are
// written.
TEST(Replace, AnIgnoredSignalStaysIgnoredWhileWriting) {
  std::string why;
  if (!CanFilterSystemCalls(why)) GTEST_SKIP() << why;
  for (const int sig : {SIGTERM, SIGHUP}) {
    SCOPED_TRACE(strsignal(sig));
    TempDir dir;
    std::unique_ptr<ChildProgram> program;
    ChildOptions options = NamedTemporaries();
    options.ignoredSignals = {sig};
    ASSERT_TRUE(StartWriting(dir.path(), program, 1, options));
    ASSERT_FALSE(Temporaries(dir.path()).empty());
    program->Signal(sig);
    const int status = program->Wait();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(program->output(), kWritten);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"c.kvt", "c.map", "c.obj"}));
    EXPECT_EQ(dir.Read("c.map").substr(0, 2), "{\n");
  }
}

// ---- The map and the OBJ file together ---------------------------------------------

// When one file of a template cannot be written, the other is left as it was
// too, and the console says so.
TEST(Replace, TheMapAndTheObjFileChangeTogether) {
  {
    SCOPED_TRACE("the OBJ file's name is a directory");
    TempDir dir;
    dir.Write("c.kvt", kPairTemplate);
    dir.Write("c.map", kOld);
    std::filesystem::create_directory(dir.path() + "/c.obj");
    const ProcessResult r = RunProgram(Exe64(), {"c.kvt"}, "", dir.path(), kRunLimitSeconds);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.output,
              "[WARNING] Left the file \"c.map\" as it was: \"c.obj\" could not be created!\n"
              "[WARNING] Could not create the file \"c.obj\"!\n"
              "PRESS ANY BUTTON...\n");
    EXPECT_EQ(dir.Read("c.map"), kOld);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"c.kvt", "c.map", "c.obj"}));
  }
  {
    SCOPED_TRACE("the file size limit stops the map, not the smaller OBJ file");
    ASSERT_GT(Cylinder().map.size(), 2000u);
    ASSERT_LT(Cylinder().obj.size(), 2000u);
    TempDir dir;
    dir.Write("c.kvt", kPairTemplate);
    dir.Write("c.obj", kOld);
    const ProcessResult r = RunProgramWithFileSizeLimit(Exe64(), {"c.kvt"}, "", dir.path(), 2000, kRunLimitSeconds);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.output, kMapRefusedObjKept);
    EXPECT_EQ(dir.Read("c.obj"), kOld);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"c.kvt", "c.obj"}));
  }
}

namespace {

// Runs the large model in dir with the address space limited to the given
// number of KiB.
ProcessResult RunWithMemory(const TempDir& dir, unsigned long kib) {
  return RunProgramWithMemoryLimit(Exe64(), {"c.kvt"}, "", dir.path(), kib, kRunLimitSeconds);
}

}  // namespace

// Memory that runs out while the OBJ file is written, after the map's text
// was complete, leaves both older files: the limits just below the least
// that the model needs are tried (that limit is searched for, as it depends
// on the system's libraries).
TEST(Replace, MemoryRunningOutLeavesBothFiles) {
  if (kSanitized) GTEST_SKIP() << "address space limits do not work under AddressSanitizer";
  TempDir dir;
  dir.Write("c.kvt", kBigTemplate);
  constexpr unsigned long kStep = 128;
  unsigned long enough = 1UL << 18;
  unsigned long tooLittle = 1UL << 14;
  ASSERT_EQ(RunWithMemory(dir, enough).status, 0);
  const std::string map = dir.Read("c.map");
  const std::string obj = dir.Read("c.obj");
  while (enough - tooLittle > kStep) {
    const unsigned long middle = (enough + tooLittle) / 2;
    (RunWithMemory(dir, middle).status == 0 ? enough : tooLittle) = middle;
  }
  for (unsigned long kib = enough - kStep; kib + 8 * kStep > enough; kib -= kStep) {
    SCOPED_TRACE(std::to_string(kib) + " KiB");
    dir.Write("c.map", kOld);
    dir.Write("c.obj", kOld);
    const ProcessResult r = RunWithMemory(dir, kib);
    const bool written = r.status == 0;
    EXPECT_EQ(r.output, written ? kWritten : "[WARNING] Not enough memory for the template \"c.kvt\"!\n");
    EXPECT_TRUE(dir.Read("c.map") == (written ? map : kOld));
    EXPECT_TRUE(dir.Read("c.obj") == (written ? obj : kOld));
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"c.kvt", "c.map", "c.obj"}));
  }
}

// ---- Long paths --------------------------------------------------------------------

namespace {

// Directories nested below the test directory, reached one level at a time,
// since their whole path is longer than the system takes.
struct DeepPath {
  std::vector<std::string> components;
  std::string Relative() const {
    std::string path;
    for (const std::string& c : components) path += c + "/";
    return path;
  }
};

// Opens the deepest directory (made on the way when asked); -1 on failure.
int OpenDeep(const std::string& top, const DeepPath& deep, bool make) {
  int fd = open(top.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (const std::string& c : deep.components) {
    if (fd < 0) return -1;
    if (make) mkdirat(fd, c.c_str(), 0755);
    const int next = openat(fd, c.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(fd);
    fd = next;
  }
  return fd;
}

void WriteAt(int directory, const char* name, const std::string& text) {
  const int fd = openat(directory, name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(fd);
}

std::string ReadAt(int directory, const char* name) {
  const int fd = openat(directory, name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return "";
  std::string text;
  char buffer[65536];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
  close(fd);
  return text;
}

std::vector<std::string> EntriesAt(int directory) {
  std::vector<std::string> names;
  DIR* const d = fdopendir(dup(directory));
  if (!d) return names;
  while (const dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

// Removes the deep directories from the bottom up, which the temporary
// directory's own removal cannot do for paths this long.
void RemoveDeep(const std::string& top, DeepPath deep) {
  while (!deep.components.empty()) {
    const std::string last = deep.components.back();
    deep.components.pop_back();
    const int parent = OpenDeep(top, deep, false);
    if (parent < 0) return;
    const int fd = openat(parent, last.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
      for (const std::string& name : EntriesAt(fd)) unlinkat(fd, name.c_str(), 0);
      close(fd);
    }
    unlinkat(parent, last.c_str(), AT_REMOVEDIR);
    close(parent);
  }
}

}  // namespace

// A map file whose path is 4,090 bytes long, in directories whose names take
// the room that a temporary name beside it would need, is written.
TEST(Replace, APathAsLongAsTheSystemTakes) {
  TempDir dir;
  DeepPath deep;
  for (int i = 0; i < 19; ++i) deep.components.push_back(std::string(214, static_cast<char>('a' + i)));
  const std::string kvt = deep.Relative() + "c.kvt";
  ASSERT_EQ(kvt.size(), 4090u);
  const int fd = OpenDeep(dir.path(), deep, true);
  ASSERT_GE(fd, 0);
  WriteAt(fd, "c.kvt", kPairTemplate);
  WriteAt(fd, "c.map", kOld);
  const ProcessResult r = RunProgram(Exe64(), {kvt}, "", dir.path(), kRunLimitSeconds);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output, kWritten);
  EXPECT_EQ(ReadAt(fd, "c.map"), Cylinder().map);
  EXPECT_EQ(ReadAt(fd, "c.obj"), Cylinder().obj);
  EXPECT_EQ(EntriesAt(fd), (std::vector<std::string>{"c.kvt", "c.map", "c.obj"}));
  close(fd);
  RemoveDeep(dir.path(), deep);
}
