// Test support: the files a running program holds open, seen through
// /proc/PID/fd, so that a test finds a temporary file also when it has no
// name in any directory (O_TMPFILE), and can look at it while it is written.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

class ChildProgram;

// A file by its device and inode, which stay when names change.
struct FileId {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileId& other) const { return device == other.device && inode == other.inode; }
  bool operator<(const FileId& other) const {
    return device != other.device ? device < other.device : inode < other.inode;
  }
};

// The file at path (links followed); a zero id when there is none.
FileId IdOf(const std::string& path);

struct OpenFile {
  int fd = -1;
  std::string path;  // as the link in /proc names it, " (deleted)" and all
  struct stat st = {};  // of the open file itself
  int flags = 0;        // its open flags (O_RDONLY, O_RDWR, ... from fdinfo)
  FileId id() const { return {st.st_dev, st.st_ino}; }
  // Whether it was opened for writing: what a program writes its text into,
  // unlike the libraries and files it only reads.
  bool writable() const;
};

// The files the process holds open; empty once it has ended. A file that is
// closed while it is looked at is left out.
std::vector<OpenFile> OpenFiles(pid_t pid);

// The regular files the process holds open directly in dir (an unnamed
// temporary file counts too, its link names it "dir/#N (deleted)"), except
// the given files: the template and the old files, in the tests.
std::vector<OpenFile> FilesWrittenIn(pid_t pid, const std::string& dir, const std::vector<FileId>& except);

// Waits until the program has held at least count different such files open
// in dir, one of them now, and with withText one of them holds text: it is
// writing its output there. Fails when the program ends or seconds pass
// first.
::testing::AssertionResult WaitForFilesWritten(ChildProgram& program, const std::string& dir,
                                               const std::vector<FileId>& except, std::size_t count,
                                               bool withText, unsigned seconds);
