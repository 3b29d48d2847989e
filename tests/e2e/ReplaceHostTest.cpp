// Replacing output files where the host is hostile or unusual, through the
// built executable: a copy in place that fails on the way says the file is
// damaged and is on the disk before it is called written; links in shared
// sticky directories are followed only from their owners; a copy waits for
// every kind of lock, within one time for the whole export; a bind-mounted
// file is copied into; two names of one file are refused at once; and names
// that others took in advance change nothing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "support/Child.h"
#include "support/Mount.h"
#include "support/OpenFiles.h"
#include "support/Process.h"
#include "support/ReplaceFiles.h"
#include "support/SystemCallFilter.h"

namespace {

constexpr unsigned kRunLimitSeconds = 60;

const std::vector<std::string> kPairEntries = {"c.kvt", "c.map", "c.obj"};

// The exit status of a child that ended normally; -1 otherwise.
int ExitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

// Starts exe in dir through the shell with the input piped in, so that a
// child with failing system calls (Child.h) gets keys for its menus.
std::unique_ptr<ChildProgram> StartWithInput(const std::string& exe, const std::string& input,
                                             const std::string& dir, const ChildOptions& options) {
  const std::string script = "printf '%s' \"$1\" | exec \"$2\"";
  return std::make_unique<ChildProgram>("/bin/sh", std::vector<std::string>{"-c", script, "sh", input, exe}, dir,
                                        options);
}

}  // namespace

// ---- A copy in place that fails on the way -------------------------------------

// A copy into a hard-linked map that fails after it began (the cut at its
// end or the flush to the disk fails) is reported as a damaged file, not as
// one left as it was; the OBJ file, which was not touched, is named as it
// stands. A copy is flushed before it is called written: where the flush
// fails, it is not. The sub menu shows the same warning in its status box.
TEST(ReplaceHost, ACopyThatFailsOnTheWayIsReportedDamaged) {
  std::string why;
  if (!CanFilterSystemCalls(why)) GTEST_SKIP() << why;
  struct Case {
    const char* what;
    SystemCallFilter failing;
    bool oldObj;
    std::string output;
  };
  const Case cases[] = {
      {"the cut at the end fails", FailingTruncate(), true,
       Damaged("c.map") + LeftAsItWas("c.obj", "c.map") + kPressAnyButton},
      {"the flush fails, no OBJ file yet", FailingSync(), false,
       Damaged("c.map") + DidNotWrite("c.obj", "c.map") + kPressAnyButton},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    dir.Write("c.kvt", kPairTemplate);
    // Longer than the new text, so that a copy not cut leaves the old tail.
    const std::string oldMap(Cylinder().map.size() + 1000, 'x');
    dir.Write("c.map", oldMap);
    ASSERT_TRUE(HardLink(dir.path() + "/c.map", dir.path() + "/l.map"));
    if (c.oldObj) dir.Write("c.obj", kOld);
    ChildOptions options;
    options.failingCalls = c.failing;
    ChildProgram program(Exe64(), {"c.kvt"}, dir.path(), options);
    const int status = program.Wait();
    EXPECT_EQ(ExitStatus(status), 1) << status;
    EXPECT_EQ(program.output(), c.output);
    EXPECT_TRUE(dir.Read("c.map") != oldMap) << "the map was not touched, yet called damaged";
    EXPECT_TRUE(SameText(dir.Read("c.obj"), c.oldObj ? kOld : ""));
    EXPECT_EQ(dir.Exists("c.obj"), c.oldObj);
  }
  {
    SCOPED_TRACE("the sub menu, the flush fails");
    TempDir dir;
    dir.Write("generated_cylinder.map", kOld);
    ASSERT_TRUE(HardLink(dir.path() + "/generated_cylinder.map", dir.path() + "/l.map"));
    ChildOptions options;
    options.failingCalls = FailingSync();
    const auto program = StartWithInput(Exe64(), "1\ng\ne\nq\nq\n", dir.path(), options);
    const int status = program->Wait();
    EXPECT_EQ(ExitStatus(status), 0) << status;
    EXPECT_NE(program->output().find("  | " + Damaged("generated_cylinder.map")), std::string::npos)
        << program->output();
  }
}

// Where the file system allocates no room on request, a copy takes its room
// by writing past the old end only once both texts are complete, with the
// ending signals held back until the commit: a signal while the OBJ text is
// still written leaves the hard-linked map exactly as it was, not grown.
TEST(ReplaceHost, ASignalBeforeTheCommitLeavesACopysFileAsItWas) {
  std::string why;
  if (!CanFilterSystemCalls(why)) GTEST_SKIP() << why;
  TempDir dir;
  dir.Write("c.kvt", kBigTemplate);
  dir.Write("c.map", kOld);
  dir.Write("c.obj", kOld);
  ASSERT_TRUE(HardLink(dir.path() + "/c.map", dir.path() + "/l.map"));
  const std::vector<FileId> except = {IdOf(dir.path() + "/c.kvt"), IdOf(dir.path() + "/c.map"),
                                      IdOf(dir.path() + "/c.obj")};
  ChildOptions options;
  options.failingCalls = NoFallocate();
  ChildProgram program(Exe64(), {"c.kvt"}, dir.path(), options);
  // The second temporary file is the OBJ text's: the map's is complete and
  // its copy prepared.
  ASSERT_TRUE(WaitForFilesWritten(program, dir.path(), except, 2, false, kRunLimitSeconds));
  program.Signal(SIGTERM);
  const int status = program.Wait();
  ASSERT_TRUE(WIFSIGNALED(status)) << status << "\n" << program.output();
  EXPECT_EQ(WTERMSIG(status), SIGTERM);
  EXPECT_TRUE(SameText(dir.Read("l.map"), kOld));
  EXPECT_TRUE(SameText(dir.Read("c.obj"), kOld));
  EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"c.kvt", "c.map", "c.obj", "l.map"}));
}

// ---- Links in shared sticky directories ------------------------------------------

// A link in a sticky directory that others may write (such as /tmp) is
// followed only where it belongs to the user or to the directory's owner,
// whatever the system's own setting for such links: root does not write the
// map into its private file through a link that nobody made there, neither a
// link to the file itself nor one to its directory on the way to it.
// Elsewhere (a directory that is not sticky, or that others may not write) a
// link is followed whoever made it.
TEST(ReplaceHost, LinksInASharedStickyDirectoryAreFollowedOnlyFromTheirOwners) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to give links and directories to another user";
  uid_t nobody = 0;
  gid_t nogroup = 0;
  if (!NobodyIds(nobody, nogroup)) GTEST_SKIP() << "there is no user nobody";
  struct Case {
    const char* what;
    mode_t directoryMode;
    bool directoryOfNobody;
    bool linkOfNobody;
    bool followed;
  };
  const Case cases[] = {
      {"sticky, writable by all, root's; nobody's link", 01777, false, true, false},
      {"sticky, writable by all, root's; root's link", 01777, false, false, true},
      {"sticky, writable by all, nobody's; nobody's link", 01777, true, true, true},
      {"not sticky, writable by all; nobody's link", 0777, false, true, true},
      {"sticky, not writable by others; nobody's link", 01775, false, true, true},
  };
  // The map's name is the shared directory's link to root's file, or root's
  // own link elsewhere whose text passes through the shared directory's link
  // to root's directory.
  struct Way {
    const char* what;
    bool throughDirectory;
  };
  const Way ways[] = {{"a link to the file", false}, {"a link to its directory on the way", true}};
  const std::string kSecret = "root's own text\n";
  const std::string kvt = "nomenu 1\nexmap 1\n";
  const std::string expectedMap = Expected(kvt).map;
  for (const std::string& exe : Executables()) {
    for (const Case& c : cases) {
      for (const Way& way : ways) {
        SCOPED_TRACE(exe + ": " + c.what + ", " + way.what);
        TempDir dir;
        const std::string shared = dir.path() + "/s";
        const std::string secret = dir.Write("r/c.map", kSecret);
        ASSERT_EQ(chmod((dir.path() + "/r").c_str(), 0700), 0);
        std::filesystem::create_directory(shared);
        const std::string link = way.throughDirectory ? shared + "/d" : shared + "/c.map";
        ASSERT_EQ(symlink(way.throughDirectory ? (dir.path() + "/r").c_str() : secret.c_str(), link.c_str()), 0);
        if (c.linkOfNobody) {
          ASSERT_EQ(lchown(link.c_str(), nobody, nogroup), 0);
        }
        if (c.directoryOfNobody) {
          ASSERT_EQ(chown(shared.c_str(), nobody, nogroup), 0);
        }
        ASSERT_EQ(chmod(shared.c_str(), c.directoryMode), 0);
        const std::string work = way.throughDirectory ? "w" : "s";
        dir.Write(work + "/c.kvt", kvt);
        if (way.throughDirectory) {
          ASSERT_EQ(symlink("../s/d/c.map", (dir.path() + "/w/c.map").c_str()), 0);
        }
        const ProcessResult r = RunProgram(exe, {work + "/c.kvt"}, "", dir.path(), kRunLimitSeconds);
        EXPECT_EQ(r.status, c.followed ? 0 : 1);
        EXPECT_EQ(r.output, (c.followed ? "Exported To Map!!!\n" : CouldNotCreate(work + "/c.map")) + kPressAnyButton);
        EXPECT_TRUE(SameText(ReadFile(secret), c.followed ? expectedMap : kSecret));
        EXPECT_TRUE(std::filesystem::is_symlink(dir.path() + "/" + work + "/c.map"));
        EXPECT_EQ(Entries(dir.path() + "/r"), std::vector<std::string>{"c.map"});
      }
    }
  }
}

// ---- Locks ------------------------------------------------------------------------

namespace {

// Locks the whole file as another program would, in one of the two kinds of
// lock that programs use; unlocked when the descriptor closes.
struct LockKind {
  const char* what;
  bool (*take)(int fd);
};

bool TakeFlock(int fd) { return flock(fd, LOCK_EX | LOCK_NB) == 0; }

bool TakeRecordLock(int fd) {
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  return fcntl(fd, F_SETLK, &lock) == 0;
}

const LockKind kLockKinds[] = {{"flock", TakeFlock}, {"a record lock (fcntl, lockf)", TakeRecordLock}};

// Holds a file open and locked, as another writer of it would.
struct HeldLock {
  HeldLock(const std::string& path, const LockKind& kind) : fd(open(path.c_str(), O_RDWR | O_CLOEXEC)) {
    locked = fd >= 0 && kind.take(fd);
  }
  ~HeldLock() { Release(); }
  void Release() {
    if (fd >= 0) close(fd);
    fd = -1;
  }
  int fd;
  bool locked = false;
};

}  // namespace

// A copy into a file that another program holds locked, with either kind of
// lock, waits until the lock is given up, and then writes both files.
TEST(ReplaceHost, ACopyWaitsForEveryKindOfLock) {
  for (const LockKind& kind : kLockKinds) {
    SCOPED_TRACE(kind.what);
    TempDir dir;
    dir.Write("c.kvt", kPairTemplate);
    dir.Write("c.map", kOld);
    dir.Write("c.obj", kOld);
    ASSERT_TRUE(HardLink(dir.path() + "/c.map", dir.path() + "/l.map"));
    HeldLock held(dir.path() + "/c.map", kind);
    ASSERT_TRUE(held.locked);
    ChildProgram program(Exe64(), {"c.kvt"}, dir.path());
    sleep(1);
    EXPECT_TRUE(program.Running()) << "the program did not wait for the lock";
    held.Release();
    const int status = program.Wait();
    EXPECT_EQ(ExitStatus(status), 0) << status;
    EXPECT_EQ(program.output(), kWritten);
    EXPECT_TRUE(SameText(dir.Read("l.map"), Cylinder().map));
    EXPECT_TRUE(SameText(dir.Read("c.obj"), Cylinder().obj));
  }
}

// Where both files of an export are held locked for longer than the program
// waits, the export waits once, not once per file, and neither file changes.
TEST(ReplaceHost, TheLockWaitIsOneForTheWholeExport) {
  TempDir dir;
  dir.Write("c.kvt", kPairTemplate);
  dir.Write("c.map", kOld);
  dir.Write("c.obj", kOld);
  ASSERT_TRUE(HardLink(dir.path() + "/c.map", dir.path() + "/l.map"));
  ASSERT_TRUE(HardLink(dir.path() + "/c.obj", dir.path() + "/l.obj"));
  // Record locks of the open file: the kind that both the old and the new
  // copies waited for.
  const int map = open((dir.path() + "/c.map").c_str(), O_RDWR | O_CLOEXEC);
  const int obj = open((dir.path() + "/c.obj").c_str(), O_RDWR | O_CLOEXEC);
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  ASSERT_EQ(fcntl(map, F_OFD_SETLK, &lock), 0);
  ASSERT_EQ(fcntl(obj, F_OFD_SETLK, &lock), 0);
  const auto start = std::chrono::steady_clock::now();
  ChildProgram program(Exe64(), {"c.kvt"}, dir.path());
  const int status = program.Wait();
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  close(map);
  close(obj);
  EXPECT_EQ(ExitStatus(status), 1) << status;
  EXPECT_EQ(program.output(), CouldNotCreate("c.map") + CouldNotCreate("c.obj") + kPressAnyButton);
  EXPECT_GE(seconds, 19.0) << "the program did not wait";
  EXPECT_LT(seconds, 30.0) << "the program waited for each file";
  EXPECT_TRUE(SameText(dir.Read("l.map"), kOld));
  EXPECT_TRUE(SameText(dir.Read("l.obj"), kOld));
}

// ---- Mount points -------------------------------------------------------------------

// A file bind-mounted at the map's or the OBJ file's name cannot be renamed
// over: its text is copied into the mounted file, as a shell redirect would
// write it, and the other file is written too.
TEST(ReplaceHost, AMountedFileIsCopiedIntoNotRenamedOver) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to bind-mount a file";
  for (const std::string& exe : Executables()) {
    for (const char* mounted : {"c.obj", "c.map"}) {
      SCOPED_TRACE(exe + ": " + mounted + " mounted");
      TempDir dir;
      dir.Write("w/c.kvt", kPairTemplate);
      dir.Write("w/c.map", kOld);
      dir.Write("w/c.obj", kOld);
      const std::string source = dir.Write("source", "the mounted file's text\n");
      const std::string work = dir.path() + "/w";
      const std::string expected = std::string(mounted) == "c.map" ? Cylinder().map : Cylinder().obj;
      {
        const BindMount mount(source, work + "/" + mounted);
        if (!mount.ok()) GTEST_SKIP() << mount.why();
        const ProcessResult r = RunProgram(exe, {"c.kvt"}, "", work, kRunLimitSeconds);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.output, kWritten);
        EXPECT_TRUE(SameText(ReadFile(work + "/c.map"), Cylinder().map));
        EXPECT_TRUE(SameText(ReadFile(work + "/c.obj"), Cylinder().obj));
      }
      EXPECT_TRUE(SameText(ReadFile(source), expected));
      EXPECT_EQ(Entries(work), kPairEntries);
    }
  }
}

// ---- Two names of one file ---------------------------------------------------------

// Where the map's and the OBJ file's names are one file (hard links, a link
// from one to the other, or two links to one new name), both are refused at
// once with one warning, before anything is written or waited for, and the
// file stays as it was.
TEST(ReplaceHost, TwoNamesOfOneFileAreRefusedAtOnce) {
  struct Case {
    const char* what;
    void (*make)(const std::string& dir);
    std::string map;  // what the map's name reads
  };
  const Case cases[] = {
      {"hard links",
       [](const std::string& d) {
         std::ofstream(d + "/c.map") << kOld;
         link((d + "/c.map").c_str(), (d + "/c.obj").c_str());
       },
       kOld},
      {"the OBJ file a link to the map",
       [](const std::string& d) {
         std::ofstream(d + "/c.map") << kOld;
         symlink("c.map", (d + "/c.obj").c_str());
       },
       kOld},
      {"the map a link to the OBJ file",
       [](const std::string& d) {
         std::ofstream(d + "/c.obj") << kOld;
         symlink("c.obj", (d + "/c.map").c_str());
       },
       kOld},
      {"both links to one new name",
       [](const std::string& d) {
         symlink("n", (d + "/c.map").c_str());
         symlink("./n", (d + "/c.obj").c_str());
       },
       ""},
  };
  for (const std::string& exe : Executables()) {
    for (const Case& c : cases) {
      SCOPED_TRACE(exe + ": " + c.what);
      TempDir dir;
      dir.Write("c.kvt", kPairTemplate);
      c.make(dir.path());
      const auto start = std::chrono::steady_clock::now();
      const ProcessResult r = RunProgram(exe, {"c.kvt"}, "", dir.path(), kRunLimitSeconds);
      const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.output, OneFile("c.map", "c.obj") + kPressAnyButton);
      EXPECT_LT(seconds, 10.0) << "the program waited";
      EXPECT_TRUE(SameText(dir.Read("c.map"), c.map));
      EXPECT_EQ(Entries(dir.path()), kPairEntries);
    }
  }
}

// ---- Names taken in advance -----------------------------------------------------------

// Another user who makes links at the temporary names the program would use
// (its process id with the numbers of its tries, as names were made before)
// neither refuses the run nor changes how it writes: with and without unnamed
// temporary files, the old files are replaced by renames (new inodes) and the
// links stay as they were.
TEST(ReplaceHost, TakenTemporaryNamesChangeNothing) {
  std::string why;
  if (!CanFilterSystemCalls(why)) GTEST_SKIP() << why;
  constexpr int kTaken = 200;
  const std::string script =
      "i=0; while [ $i -lt " + std::to_string(kTaken) +
      " ]; do ln -s /nonexistent .korvane-$$-$i.tmp || exit 9; i=$((i+1)); done; exec \"$1\" c.kvt";
  for (const bool named : {false, true}) {
    SCOPED_TRACE(named ? "unnamed temporaries unavailable" : "unnamed temporaries available");
    TempDir dir;
    dir.Write("c.kvt", kPairTemplate);
    dir.Write("c.map", kOld);
    dir.Write("c.obj", kOld);
    const FileId oldMap = IdOf(dir.path() + "/c.map");
    const FileId oldObj = IdOf(dir.path() + "/c.obj");
    ChildOptions options;
    if (named) options.failingCalls = NoUnnamedTemporaries();
    ChildProgram program("/bin/sh", {"-c", script, "sh", Exe64()}, dir.path(), options);
    const int status = program.Wait();
    EXPECT_EQ(ExitStatus(status), 0) << status;
    EXPECT_EQ(program.output(), kWritten);
    EXPECT_TRUE(SameText(dir.Read("c.map"), Cylinder().map));
    EXPECT_TRUE(SameText(dir.Read("c.obj"), Cylinder().obj));
    EXPECT_FALSE(IdOf(dir.path() + "/c.map") == oldMap) << "the map was copied in place";
    EXPECT_FALSE(IdOf(dir.path() + "/c.obj") == oldObj) << "the OBJ file was copied in place";
    const std::vector<std::string> taken = Temporaries(dir.path());
    EXPECT_EQ(taken.size(), static_cast<size_t>(kTaken));
    for (const std::string& name : taken)
      EXPECT_TRUE(std::filesystem::is_symlink(dir.path() + "/" + name)) << name << " is not one of the links";
  }
}
