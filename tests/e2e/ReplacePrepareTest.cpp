// Replacing output files prepares everything that can fail before anything
// the user has changes, through the built executable: the text is written
// into a temporary file nobody else can read, flushed to the disk, and given
// the old file's owner, attributes and mode; where a rename cannot keep those
// it is copied into the old file, which is locked meanwhile and has its room
// reserved; links into /proc are refused; a template's map and OBJ file are
// both prepared, in the directories found first, before either is put in
// place; and no temporary file is left behind by a signal, a kill or a
// directory that takes no removals.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/Child.h"
#include "support/InodeFlags.h"
#include "support/Mount.h"
#include "support/OpenFiles.h"
#include "support/Process.h"
#include "support/ReplaceFiles.h"
#include "support/SystemCallFilter.h"
#include "support/Xattrs.h"

namespace {

constexpr unsigned kRunLimitSeconds = 20;

const std::vector<std::string> kPairEntries = {"c.kvt", "c.map", "c.obj"};

struct stat StatOf(const std::string& path) {
  struct stat st = {};
  lstat(path.c_str(), &st);
  return st;
}

std::string Octal(unsigned mode) {
  std::ostringstream s;
  s << "0" << std::oct << mode;
  return s.str();
}

// Writes a file with the mode given (whatever the umask) and returns its path.
std::string WriteWithMode(const TempDir& dir, const std::string& name, const std::string& text, mode_t mode) {
  const std::string path = dir.Write(name, text);
  chmod(path.c_str(), mode);
  return path;
}

// The whole content of an open file, whatever its offset.
std::string ReadDescriptor(int fd) {
  std::string text;
  char buffer[65536];
  for (off_t at = 0;;) {
    const ssize_t n = pread(fd, buffer, sizeof buffer, at);
    if (n <= 0) return text;
    text.append(buffer, static_cast<std::size_t>(n));
    at += n;
  }
}

// Where unnamed temporary files are made unavailable (the named fallback) or
// left as the system has them.
struct TemporaryKind {
  const char* what;
  bool named;
};
const TemporaryKind kTemporaryKinds[] = {{"unnamed temporaries available", false},
                                         {"unnamed temporaries unavailable", true}};

}  // namespace

// ---- Temporary files are private -----------------------------------------------

namespace {

// The files the program holds open for writing or names as temporary files
// while it runs, sampled as often as possible: the temporaries seen, and
// those seen with a permission bit for the group or others.
struct Exposure {
  std::set<FileId> temporaries;
  std::set<std::string> exposed;
};

void Sample(pid_t pid, const std::string& dir, const std::vector<FileId>& except, Exposure& exposure) {
  for (const OpenFile& file : OpenFiles(pid)) {
    // The standard streams come from the test, the files only read are the
    // libraries and the like; the template and the old files are the user's
    // own.
    if (file.fd <= STDERR_FILENO || !file.writable() || !S_ISREG(file.st.st_mode) ||
        file.path.rfind("/proc/", 0) == 0)
      continue;
    if (std::find(except.begin(), except.end(), file.id()) != except.end()) continue;
    exposure.temporaries.insert(file.id());
    if ((file.st.st_mode & 077) != 0) exposure.exposed.insert(file.path + " open at " + Octal(file.st.st_mode & 07777));
  }
  for (const std::string& name : Temporaries(dir)) {
    const struct stat st = StatOf(dir + "/" + name);
    if (S_ISREG(st.st_mode) && (st.st_mode & 077) != 0)
      exposure.exposed.insert(name + " named at " + Octal(st.st_mode & 07777));
  }
}

// Whether the forked child already runs exe: before that it still holds the
// files that the test runner left open.
bool RunsProgram(pid_t pid, const std::string& exe) {
  std::error_code ec;
  const auto running = std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", ec);
  return !ec && running == std::filesystem::canonical(exe, ec);
}

}  // namespace

// While the text is written, no temporary file of a replacement gives the
// group or others any permission, even where the old file gives them some
// and where the umask would: the text is readable by others only once it
// has the old file's place. Both where the text is copied into the old file
// (a hard link; another user's file) and with named and unnamed temporaries.
TEST(ReplacePrepare, TemporariesAreNeverReadableByOthers) {
  std::string why;
  if (!CanFilterSystemCalls(why)) GTEST_SKIP() << why;
  uid_t nobody = 0;
  gid_t nogroup = 0;
  if (!CanRunAsNobody(why, nobody, nogroup)) GTEST_SKIP() << why;
  struct Case {
    const char* what;
    bool asNobody;
  };
  const Case cases[] = {
      {"root, a 0600 map with a hard link", false},
      {"nobody in a sticky directory, root's 0660 files of nobody's group", true},
  };
  for (const Case& c : cases) {
    for (const TemporaryKind& kind : kTemporaryKinds) {
      SCOPED_TRACE(std::string(c.what) + ", " + kind.what);
      TempDir dir;
      chmod(dir.path().c_str(), 0755);
      const std::string work = dir.path() + "/work";
      WriteWithMode(dir, "work/c.kvt", kBigTemplate, 0644);
      if (c.asNobody) {
        for (const char* name : {"work/c.map", "work/c.obj"}) {
          const std::string path = dir.Write(name, kOld);
          ASSERT_EQ(chown(path.c_str(), 0, nogroup), 0);
          ASSERT_EQ(chmod(path.c_str(), 0660), 0);
        }
        ASSERT_EQ(chmod(work.c_str(), 01777), 0);
      } else {
        WriteWithMode(dir, "work/c.map", kOld, 0600);
        WriteWithMode(dir, "work/c.obj", kOld, 0600);
        ASSERT_TRUE(HardLink(work + "/c.map", work + "/h.map"));
      }
      const std::vector<FileId> except = {IdOf(work + "/c.kvt"), IdOf(work + "/c.map"), IdOf(work + "/c.obj")};
      ChildOptions options;
      options.asNobody = c.asNobody;
      options.fileModeMask = 022;  // a new file would be readable by all
      if (kind.named) options.failingCalls = NoUnnamedTemporaries();
      const std::string exe = c.asNobody ? NobodyExe() : Exe64();
      ChildProgram program(exe, {"c.kvt"}, work, options);
      Exposure exposure;
      while (program.Running())
        if (RunsProgram(program.pid(), exe)) Sample(program.pid(), work, except, exposure);
      const int status = program.Wait();
      ASSERT_TRUE(WIFEXITED(status)) << status;
      EXPECT_EQ(WEXITSTATUS(status), 0);
      EXPECT_EQ(program.output(), kWritten);
      EXPECT_TRUE(SameText(ReadFile(work + "/c.map"), BigModel().map));
      EXPECT_TRUE(SameText(ReadFile(work + "/c.obj"), BigModel().obj));
      EXPECT_FALSE(exposure.temporaries.empty()) << "no temporary file seen while the program wrote";
      std::string exposed;
      for (const std::string& e : exposure.exposed) exposed += "  " + e + "\n";
      EXPECT_TRUE(exposure.exposed.empty()) << "temporary files that others may read:\n" << exposed;
    }
  }
}

// ---- Set-id bits -------------------------------------------------------------------

// An ordinary user's own files with set-user-id and set-group-id bits, in a
// directory the user cannot write (so the text is copied into them, which
// makes the kernel clear those bits), keep their mode exactly.
TEST(ReplacePrepare, SetIdBitsStayOnTheUsersOwnFiles) {
  std::string why;
  uid_t nobody = 0;
  gid_t nogroup = 0;
  if (!CanRunAsNobody(why, nobody, nogroup)) GTEST_SKIP() << why;
  for (const mode_t mode : {04755, 02755, 06755}) {
    SCOPED_TRACE(Octal(mode));
    TempDir dir;
    chmod(dir.path().c_str(), 0755);
    const std::string work = dir.path() + "/work";
    WriteWithMode(dir, "work/c.kvt", kPairTemplate, 0644);
    for (const char* name : {"work/c.map", "work/c.obj"}) {
      const std::string path = dir.Write(name, kOld);
      ASSERT_EQ(chown(path.c_str(), nobody, nogroup), 0);  // before the mode: a chown clears set-id bits
      ASSERT_EQ(chmod(path.c_str(), mode), 0);
    }
    ASSERT_EQ(chmod(work.c_str(), 0755), 0);
    ChildOptions options;
    options.asNobody = true;
    ChildProgram program(NobodyExe(), {"c.kvt"}, work, options);
    const int status = program.Wait();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(program.output(), kWritten);
    EXPECT_TRUE(SameText(ReadFile(work + "/c.map"), Cylinder().map));
    EXPECT_TRUE(SameText(ReadFile(work + "/c.obj"), Cylinder().obj));
    for (const char* name : {"c.map", "c.obj"}) {
      const struct stat st = StatOf(work + "/" + name);
      EXPECT_EQ(Octal(st.st_mode & 07777), Octal(mode)) << name;
      EXPECT_EQ(st.st_uid, nobody) << name;
      EXPECT_EQ(st.st_gid, nogroup) << name;
    }
  }
}

// ---- Writers at once -------------------------------------------------------------

// Four runs at once that copy their texts into the same hard-linked files
// take turns: after each round the map is exactly one of the four texts
// (the templates differ in their texture name only), under both its names,
// and the OBJ file is the one they share. The four share one processor, so
// that one is switched out in the middle of its copy and another overtakes
// it. The model is the smallest of those measured that still showed the
// mixed texts of unlocked copies in several of 100 rounds (5 to 19).
TEST(ReplacePrepare, WritersAtOnceNeverMixAHardLinkedFile) {
  constexpr int kWriters = 4;
  // Sanitized runs are several times slower; fewer rounds keep the test short.
  const int rounds = kSanitized ? 30 : 100;
  const std::string model = "shape torus\nres 96\nres2 96\nfilename c\n";
  ChildOptions options;
  options.processor = SomeProcessor();
  TempDir dir;
  std::vector<std::string> maps;
  std::string obj;
  for (int i = 0; i < kWriters; ++i) {
    const std::string text = kPairTemplate + model + "1_tex TEX" + std::to_string(i) + "\n";
    dir.Write("t" + std::to_string(i) + ".kvt", text);
    const Texts texts = Expected(text);
    ASSERT_GT(texts.map.size(), 1000000u);
    ASSERT_TRUE(std::find(maps.begin(), maps.end(), texts.map) == maps.end()) << "the texture names make no difference";
    maps.push_back(texts.map);
    ASSERT_TRUE(obj.empty() || obj == texts.obj);
    obj = texts.obj;
  }
  dir.Write("c.map", kOld);
  dir.Write("c.obj", kOld);
  ASSERT_TRUE(HardLink(dir.path() + "/c.map", dir.path() + "/l.map"));
  ASSERT_TRUE(HardLink(dir.path() + "/c.obj", dir.path() + "/l.obj"));
  const FileId map = IdOf(dir.path() + "/c.map");
  const FileId objFile = IdOf(dir.path() + "/c.obj");
  int mixedMaps = 0;
  int mixedObjs = 0;
  for (int round = 0; round < rounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::vector<std::unique_ptr<ChildProgram>> writers;
    for (int i = 0; i < kWriters; ++i)
      writers.push_back(std::make_unique<ChildProgram>(
          Exe64(), std::vector<std::string>{"t" + std::to_string(i) + ".kvt"}, dir.path(), options));
    for (auto& writer : writers) {
      const int status = writer->Wait();
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << "\n" << writer->output();
      ASSERT_EQ(writer->output(), kWritten);
    }
    const std::string text = dir.Read("c.map");
    if (std::find(maps.begin(), maps.end(), text) == maps.end()) ++mixedMaps;
    if (dir.Read("c.obj") != obj) ++mixedObjs;
    ASSERT_TRUE(IdOf(dir.path() + "/l.map") == map && IdOf(dir.path() + "/c.map") == map);
    ASSERT_TRUE(IdOf(dir.path() + "/l.obj") == objFile && IdOf(dir.path() + "/c.obj") == objFile);
  }
  EXPECT_EQ(mixedMaps, 0) << "rounds whose map is none of the four texts, of " << rounds;
  EXPECT_EQ(mixedObjs, 0) << "rounds whose OBJ file is not the text, of " << rounds;
}

// A copy into a file that another program holds locked waits for it: a lock
// given up meanwhile lets both files be written; a lock held for longer than
// the program waits (some seconds) gets the warning, and neither file changes.
TEST(ReplacePrepare, ACopyWaitsForAnotherWritersLock) {
  struct Case {
    const char* what;
    int heldSeconds;  // -1: held until the program ends
  };
  const Case cases[] = {{"a lock given up after a second", 1}, {"a lock held on", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    dir.Write("c.kvt", kPairTemplate);
    dir.Write("c.map", kOld);
    dir.Write("c.obj", kOld);
    ASSERT_TRUE(HardLink(dir.path() + "/c.map", dir.path() + "/l.map"));
    const int held = open((dir.path() + "/c.map").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(held, 0);
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    ASSERT_EQ(fcntl(held, F_OFD_SETLK, &lock), 0);
    ChildOptions options;
    options.seconds = 60;
    ChildProgram program(Exe64(), {"c.kvt"}, dir.path(), options);
    if (c.heldSeconds >= 0) {
      sleep(static_cast<unsigned>(c.heldSeconds));
      EXPECT_TRUE(program.Running()) << "the program did not wait for the lock";
      close(held);
    }
    const int status = program.Wait();
    if (c.heldSeconds < 0) close(held);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    const bool written = c.heldSeconds >= 0;
    EXPECT_EQ(WEXITSTATUS(status), written ? 0 : 1);
    EXPECT_EQ(program.output(),
              written ? kWritten : CouldNotCreate("c.map") + LeftAsItWas("c.obj", "c.map") + kPressAnyButton);
    EXPECT_TRUE(SameText(dir.Read("l.map"), written ? Cylinder().map : kOld));
    EXPECT_TRUE(SameText(dir.Read("c.obj"), written ? Cylinder().obj : kOld));
  }
}

// ---- Links into /proc ---------------------------------------------------------------

// A map whose name is a link read inside the proc file system (the console's
// own output, /proc/self/fd/N) is refused like a device: the console file
// keeps its text with the warnings after it, and nothing new appears, also
// where the console's file was deleted (its link then names "... (deleted)").
TEST(ReplacePrepare, LinksIntoProcAreRefused) {
  struct Case {
    const char* link;
    bool deletedConsole;
  };
  const Case cases[] = {
      {"/dev/stdout", false},
      {"/proc/self/fd/1", false},
      {"/dev/fd/1", false},
      {"/proc/self/fd/1", true},
  };
  const std::string console = "earlier console text\n";
  for (const std::string& exe : Executables()) {
    for (const Case& c : cases) {
      SCOPED_TRACE(exe + ": c.map -> " + c.link + (c.deletedConsole ? ", the console's file deleted" : ""));
      TempDir dir;
      dir.Write("c.kvt", kPairTemplate);
      ASSERT_EQ(symlink(c.link, (dir.path() + "/c.map").c_str()), 0);
      const std::string name = dir.path() + (c.deletedConsole ? "/gone.txt" : "/log.txt");
      const int fd = open(name.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
      ASSERT_GE(fd, 0);
      ASSERT_EQ(write(fd, console.data(), console.size()), static_cast<ssize_t>(console.size()));
      if (c.deletedConsole) {
        ASSERT_EQ(unlink(name.c_str()), 0);
      }
      const std::vector<std::string> before = Entries(dir.path());
      ChildOptions options;
      options.standardOutput = fd;
      ChildProgram program(exe, {"c.kvt"}, dir.path(), options);
      const int status = program.Wait();
      // What the user finds: the console's file by its name, or the deleted
      // one through the descriptor.
      const std::string output = c.deletedConsole ? ReadDescriptor(fd) : ReadFile(name);
      struct stat opened = {};
      fstat(fd, &opened);
      close(fd);
      ASSERT_TRUE(WIFEXITED(status)) << status;
      EXPECT_EQ(WEXITSTATUS(status), 1);
      const std::string expected = console + CouldNotCreate("c.map") + DidNotWrite("c.obj", "c.map") + kPressAnyButton;
      EXPECT_TRUE(output == expected) << "the console's file holds " << Shown(output) << "\ninstead of "
                                      << Shown(expected);
      EXPECT_EQ(Entries(dir.path()), before);
      EXPECT_EQ(std::filesystem::read_symlink(dir.path() + "/c.map").string(), c.link);
      if (!c.deletedConsole) {
        EXPECT_TRUE(IdOf(name) == (FileId{opened.st_dev, opened.st_ino})) << "another file took the console's name";
      }
    }
  }
}

// ---- The map and the OBJ file as a pair ------------------------------------------

// An old file that is append-only or immutable cannot take a new text in any
// way; it is refused while the files are prepared, so neither file changes.
TEST(ReplacePrepare, AnAppendOnlyOrImmutableOldFileIsRefusedBeforeEitherChanges) {
  struct Case {
    const char* what;
    const char* file;
    int flag;
    std::string output;
  };
  const Case cases[] = {
      {"an append-only OBJ file", "c.obj", kAppendOnly,
       LeftAsItWas("c.map", "c.obj") + CouldNotCreate("c.obj") + kPressAnyButton},
      {"an append-only map", "c.map", kAppendOnly,
       CouldNotCreate("c.map") + LeftAsItWas("c.obj", "c.map") + kPressAnyButton},
      {"an immutable OBJ file", "c.obj", kImmutable,
       LeftAsItWas("c.map", "c.obj") + CouldNotCreate("c.obj") + kPressAnyButton},
  };
  for (const std::string& exe : Executables()) {
    for (const Case& c : cases) {
      SCOPED_TRACE(exe + ": " + c.what);
      TempDir dir;
      dir.Write("c.kvt", kPairTemplate);
      dir.Write("c.map", kOld);
      dir.Write("c.obj", kOld);
      const InodeFlags flags(dir.path() + "/" + c.file, c.flag);
      if (!flags.ok()) GTEST_SKIP() << flags.why();
      const ProcessResult r = RunProgram(exe, {"c.kvt"}, "", dir.path(), kRunLimitSeconds);
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.output, c.output);
      EXPECT_TRUE(SameText(dir.Read("c.map"), kOld));
      EXPECT_TRUE(SameText(dir.Read("c.obj"), kOld));
      EXPECT_EQ(Entries(dir.path()), kPairEntries);
    }
  }
}

// How the file system finds room for a copy in place, and the old OBJ file.
// (Outside the unnamed namespace: a test parameter's type may not be in it.)
struct RoomKind {
  const char* name;
  bool noFallocate;  // fallocate fails with EOPNOTSUPP
  bool sparseOld;    // the old OBJ file: kOld, then a hole past the new text's end
};
const RoomKind kRoomKinds[] = {
    {"Fallocate", false, false},
    {"NoFallocate", true, false},
    {"NoFallocateSparseOldFile", true, true},
};

class FullDisk : public ::testing::TestWithParam<RoomKind> {};

// On a small file system filled to every number of free blocks up to enough
// for both files, a map beside an OBJ file with another hard link (copied in
// place) is written whole with the OBJ file, or neither changes: the map is
// not renamed before the OBJ file's room is known, and the copy does not
// begin before its room is certain, also where the file system allocates no
// room on request (fallocate unsupported) and where the old OBJ file is
// longer than the new text but sparse, so that the copy over its holes needs
// room too. No temporary file stays.
TEST_P(FullDisk, APairIsWrittenWholeOrNotAtAll) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to mount a tmpfs";
  const RoomKind& c = GetParam();
  const std::string kvt = kPairTemplate + "shape torus\nres 24\nres2 24\n";
  const Texts texts = Expected(kvt);
  std::string why;
  if (c.noFallocate && !CanFilterSystemCalls(why)) GTEST_SKIP() << why;
  TempDir dir;
  const std::string fs = dir.path() + "/fs";
  std::filesystem::create_directory(fs);
  const TmpfsMount mount(fs, 1 << 20);
  if (!mount.ok()) GTEST_SKIP() << mount.why();
  std::ofstream(fs + "/c.kvt") << kvt;
  const std::string oldObj = c.sparseOld ? kOld + std::string(3 * texts.obj.size(), '\0') : kOld;
  ChildOptions options;
  if (c.noFallocate) options.failingCalls = NoFallocate();
  const std::string filler = fs + "/filler";
  unsigned long long most = 0;
  unsigned long long blockSize = 0;
  ASSERT_TRUE(FreeBlocks(fs, most, blockSize));
  bool written = false;
  for (unsigned long long blocks = 0; blocks <= most && !written && !HasFailure(); ++blocks) {
    SCOPED_TRACE(std::to_string(blocks) + " free blocks of " + std::to_string(blockSize) + " bytes");
    for (const char* name : {"/c.map", "/c.obj", "/c2.obj"}) std::filesystem::remove(fs + name);
    std::ofstream(fs + "/c.map") << kOld;
    std::ofstream(fs + "/c.obj") << kOld;
    if (c.sparseOld) {
      ASSERT_EQ(truncate((fs + "/c.obj").c_str(), static_cast<off_t>(oldObj.size())), 0);
    }
    ASSERT_TRUE(HardLink(fs + "/c.obj", fs + "/c2.obj"));
    ASSERT_TRUE(LeaveFreeBlocks(fs, filler, blocks));
    ChildProgram program(Exe64(), {"c.kvt"}, fs, options);
    const int status = program.Wait();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    const std::string map = ReadFile(fs + "/c.map");
    const std::string obj = ReadFile(fs + "/c.obj");
    const std::string obj2 = ReadFile(fs + "/c2.obj");
    const bool allNew = map == texts.map && obj == texts.obj && obj2 == texts.obj;
    const bool allOld = map == kOld && obj == oldObj && obj2 == oldObj;
    const std::string state = std::string("the map ") + (map == texts.map ? "new" : map == kOld ? "old" : "mixed") +
                              ", the OBJ file " + (obj == texts.obj ? "new" : obj == oldObj ? "old" : "mixed") +
                              ", its link " + (obj2 == texts.obj ? "new" : obj2 == oldObj ? "old" : "mixed");
    if (WEXITSTATUS(status) == 0) {
      EXPECT_TRUE(allNew) << state;
      EXPECT_EQ(program.output(), kWritten);
      written = true;
    } else {
      EXPECT_EQ(WEXITSTATUS(status), 1);
      EXPECT_TRUE(allOld) << state << "; output:\n" << program.output();
      EXPECT_EQ(program.output().find("Exported"), std::string::npos) << program.output();
      EXPECT_EQ(program.output().find("damaged"), std::string::npos) << program.output();
    }
    EXPECT_TRUE(IdOf(fs + "/c.obj") == IdOf(fs + "/c2.obj"));
    EXPECT_EQ(Entries(fs), (std::vector<std::string>{"c.kvt", "c.map", "c.obj", "c2.obj", "filler"}));
  }
  if (!HasFailure()) {
    EXPECT_TRUE(written) << "not written with up to " << most << " free blocks";
  }

}

INSTANTIATE_TEST_SUITE_P(ReplacePrepare, FullDisk, ::testing::ValuesIn(kRoomKinds),
                         [](const ::testing::TestParamInfo<RoomKind>& info) { return std::string(info.param.name); });

// The directory of both files is found and held before either text is
// written: when the output directory is renamed and a link to another
// directory takes its name while the program writes, both files are in the
// directory found first.
TEST(ReplacePrepare, BothFilesLandInTheDirectoryFoundFirst) {
  TempDir dir;
  dir.Write("out/c.kvt", kBigTemplate);
  dir.Write("out/c.map", kOld);
  dir.Write("out/c.obj", kOld);
  std::filesystem::create_directory(dir.path() + "/elsewhere");
  const std::string out = dir.path() + "/out";
  const std::vector<FileId> except = {IdOf(out + "/c.kvt"), IdOf(out + "/c.map"), IdOf(out + "/c.obj")};
  ChildProgram program(Exe64(), {"out/c.kvt"}, dir.path());
  ASSERT_TRUE(WaitForFilesWritten(program, out, except, 1, true, kRunLimitSeconds));
  ASSERT_EQ(rename(out.c_str(), (dir.path() + "/out-old").c_str()), 0);
  ASSERT_EQ(symlink("elsewhere/", out.c_str()), 0);
  const int status = program.Wait();
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(program.output(), kWritten);
  EXPECT_TRUE(SameText(dir.Read("out-old/c.map"), BigModel().map));
  EXPECT_TRUE(SameText(dir.Read("out-old/c.obj"), BigModel().obj));
  EXPECT_EQ(Entries(dir.path() + "/out-old"), kPairEntries);
  EXPECT_EQ(Entries(dir.path() + "/elsewhere"), std::vector<std::string>{});
}

// ---- No temporary file stays ---------------------------------------------------------

// In a directory that takes new names but gives none up (append-only), no
// temporary file is made: a new file is linked in complete, an old one gets
// the text copied in. Nothing but the two files is left.
TEST(ReplacePrepare, AnAppendOnlyDirectoryKeepsNoTemporary) {
  for (const std::string& exe : Executables()) {
    for (const bool oldFiles : {false, true}) {
      SCOPED_TRACE(exe + (oldFiles ? ": old files" : ": new files"));
      TempDir dir;
      const std::string work = dir.path() + "/work";
      dir.Write("work/c.kvt", kPairTemplate);
      if (oldFiles) {
        dir.Write("work/c.map", kOld);
        dir.Write("work/c.obj", kOld);
      }
      const InodeFlags flags(work, kAppendOnly);
      if (!flags.ok()) GTEST_SKIP() << flags.why();
      ChildProgram program(exe, {"c.kvt"}, work);  // no input file there, which could not go again
      const int status = program.Wait();
      ASSERT_TRUE(WIFEXITED(status)) << status;
      EXPECT_EQ(WEXITSTATUS(status), 0);
      EXPECT_EQ(program.output(), kWritten);
      EXPECT_EQ(Entries(work), kPairEntries);
      EXPECT_TRUE(SameText(ReadFile(work + "/c.map"), Cylinder().map));
      EXPECT_TRUE(SameText(ReadFile(work + "/c.obj"), Cylinder().obj));
    }
  }
}

// SIGKILL cannot be caught; with unnamed temporary files it still leaves
// nothing in the directory, beside old files and where there were none.
TEST(ReplacePrepare, AKillLeavesNothingBehind) {
  for (const bool oldFiles : {true, false}) {
    SCOPED_TRACE(oldFiles ? "old files" : "new files");
    TempDir dir;
    std::unique_ptr<ChildProgram> program;
    ASSERT_TRUE(StartWriting(dir.path(), program, 1, {}, oldFiles));
    program->Signal(SIGKILL);
    const int status = program->Wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    if (oldFiles) {
      EXPECT_EQ(Entries(dir.path()), kPairEntries);
      EXPECT_TRUE(SameText(dir.Read("c.map"), kOld));
      EXPECT_TRUE(SameText(dir.Read("c.obj"), kOld));
    } else {
      EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"c.kvt"});
    }
  }
}

// ---- Flushed to the disk ------------------------------------------------------------

// The text is flushed to the disk before it replaces an old file: where that
// fails, neither file is replaced. A new file needs no flush.
TEST(ReplacePrepare, AFailedSyncKeepsTheOldFiles) {
  std::string why;
  if (!CanFilterSystemCalls(why)) GTEST_SKIP() << why;
  struct Case {
    const char* what;
    bool oldFiles;
    int status;
    std::string output;
  };
  const Case cases[] = {
      {"replacing old files", true, 1, CouldNotCreate("c.map") + CouldNotCreate("c.obj") + kPressAnyButton},
      {"new files", false, 0, kWritten},
  };
  ChildOptions options;
  options.failingCalls = FailingSync();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    dir.Write("c.kvt", kPairTemplate);
    if (c.oldFiles) {
      dir.Write("c.map", kOld);
      dir.Write("c.obj", kOld);
    }
    ChildProgram program(Exe64(), {"c.kvt"}, dir.path(), options);
    const int status = program.Wait();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), c.status);
    EXPECT_EQ(program.output(), c.output);
    EXPECT_TRUE(SameText(dir.Read("c.map"), c.oldFiles ? kOld : Cylinder().map));
    EXPECT_TRUE(SameText(dir.Read("c.obj"), c.oldFiles ? kOld : Cylinder().obj));
    EXPECT_EQ(Entries(dir.path()), kPairEntries);
  }
}

// ---- Extended attributes and ACLs ----------------------------------------------------

namespace {

bool NobodyMayOpenForWriting(const std::string& path) {
  return AsNobody([&path] {
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    return fd >= 0 && close(fd) == 0;
  });
}

}  // namespace

// The old files' extended attributes stay, a user attribute and an ACL that
// lets nobody write them: the lists and values are as they were, and nobody
// may still write the files.
TEST(ReplacePrepare, AttributesAndAclsStay) {
  std::string why;
  uid_t nobody = 0;
  gid_t nogroup = 0;
  if (!CanRunAsNobody(why, nobody, nogroup)) GTEST_SKIP() << why;
  for (const std::string& exe : Executables()) {
    SCOPED_TRACE(exe);
    TempDir dir;
    chmod(dir.path().c_str(), 0755);
    dir.Write("c.kvt", kPairTemplate);
    std::map<std::string, std::map<std::string, std::string>> before;
    for (const char* name : {"c.map", "c.obj"}) {
      const std::string path = WriteWithMode(dir, name, kOld, 0640);
      if (!SetXattr(path, "user.note", "made by hand", why)) GTEST_SKIP() << why;
      if (!SetXattr(path, "system.posix_acl_access", AclGrantingReadWrite(nobody), why)) GTEST_SKIP() << why;
      ASSERT_TRUE(NobodyMayOpenForWriting(path)) << "the ACL does not let nobody write " << name;
      before[name] = Xattrs(path);
    }
    const ProcessResult r = RunProgram(exe, {"c.kvt"}, "", dir.path(), kRunLimitSeconds);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, kWritten);
    EXPECT_TRUE(SameText(dir.Read("c.map"), Cylinder().map));
    EXPECT_TRUE(SameText(dir.Read("c.obj"), Cylinder().obj));
    for (const char* name : {"c.map", "c.obj"}) {
      const std::string path = dir.path() + "/" + name;
      EXPECT_EQ(Xattrs(path), before[name]) << name;
      EXPECT_TRUE(NobodyMayOpenForWriting(path)) << name;
    }
  }
}

// A new file in a directory with a default ACL gets the ACL and mode that
// any file created there gets (open with O_CREAT and 0666, where the ACL
// takes the umask's place).
TEST(ReplacePrepare, ANewFileGetsTheDirectorysDefaultAcl) {
  std::string why;
  uid_t nobody = 0;
  gid_t nogroup = 0;
  if (!NobodyIds(nobody, nogroup)) GTEST_SKIP() << "there is no user nobody, for the ACL's entry";
  for (const std::string& exe : Executables()) {
    SCOPED_TRACE(exe);
    TempDir dir;
    const std::string work = dir.path() + "/work";
    std::filesystem::create_directory(work);
    if (!SetXattr(work, "system.posix_acl_default", AclGrantingReadWrite(nobody), why)) GTEST_SKIP() << why;
    dir.Write("work/c.kvt", kPairTemplate);
    const int fd = open((work + "/reference").c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    ASSERT_GE(fd, 0);
    close(fd);
    const std::string acl = Xattr(work + "/reference", "system.posix_acl_access");
    ASSERT_FALSE(acl.empty());
    const mode_t mode = StatOf(work + "/reference").st_mode;
    const ProcessResult r = RunProgram(exe, {"c.kvt"}, "", work, kRunLimitSeconds);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, kWritten);
    for (const char* name : {"c.map", "c.obj"}) {
      EXPECT_EQ(Octal(StatOf(work + "/" + name).st_mode), Octal(mode)) << name;
      EXPECT_EQ(Xattr(work + "/" + name, "system.posix_acl_access"), acl) << name;
    }
  }
}

// ---- The console's lines about the other file --------------------------------------

// When one file of the pair cannot be created, the line about the other says
// whether an old file was left as it was or no file was written.
TEST(ReplacePrepare, TheOtherFileIsNamedAsItStands) {
  struct Case {
    const char* what;
    const char* directory;  // the name taken by a directory
    const char* old;        // an old file, or nullptr
    std::string output;
  };
  const Case cases[] = {
      {"a directory at the map, no OBJ file", "c.map", nullptr,
       CouldNotCreate("c.map") + DidNotWrite("c.obj", "c.map") + kPressAnyButton},
      {"a directory at the map, an old OBJ file", "c.map", "c.obj",
       CouldNotCreate("c.map") + LeftAsItWas("c.obj", "c.map") + kPressAnyButton},
      {"a directory at the OBJ file, no map", "c.obj", nullptr,
       DidNotWrite("c.map", "c.obj") + CouldNotCreate("c.obj") + kPressAnyButton},
      {"a directory at the OBJ file, an old map", "c.obj", "c.map",
       LeftAsItWas("c.map", "c.obj") + CouldNotCreate("c.obj") + kPressAnyButton},
  };
  for (const std::string& exe : Executables()) {
    for (const Case& c : cases) {
      SCOPED_TRACE(exe + ": " + c.what);
      TempDir dir;
      dir.Write("c.kvt", kPairTemplate);
      std::filesystem::create_directory(dir.path() + "/" + c.directory);
      if (c.old) dir.Write(c.old, kOld);
      const std::vector<std::string> before = Entries(dir.path());
      const ProcessResult r = RunProgram(exe, {"c.kvt"}, "", dir.path(), kRunLimitSeconds);
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.output, c.output);
      EXPECT_EQ(Entries(dir.path()), before);
      if (c.old) {
        EXPECT_TRUE(SameText(dir.Read(c.old), kOld));
      }
    }
  }
}
