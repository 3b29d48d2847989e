// Where an output file is written: symbolic links are followed to the file
// they name (a link that names nothing yet names the file to create), and
// the file is reached through its directory, which stays open, so that the
// file lands where it was found even when a directory on its path is moved
// meanwhile, and only the length of the file's own path counts, not that of a
// temporary name beside it.
#pragma once

#include <sys/types.h>

#include <string>

struct OutputTarget {
  OutputTarget() = default;
  ~OutputTarget();
  OutputTarget(const OutputTarget&) = delete;
  OutputTarget& operator=(const OutputTarget&) = delete;

  int directory = -1;     // the file's directory, open (O_PATH)
  std::string base;       // the file's name in it
  // The directory takes new names but cannot lose one (it is append-only):
  // no temporary file may get a name there, and no file can be replaced by a
  // rename.
  bool directoryKeepsNames = false;
  unsigned long long directoryDevice = 0;  // which directory it is
  unsigned long long directoryInode = 0;
  bool exists = false;    // a regular file of that name exists
  // That file is mounted there (a bind mount): it cannot be renamed over.
  bool mountPoint = false;
  // That file. (No struct stat here: its layout depends on the file offset
  // size that each source file is compiled with.)
  mode_t mode = 0;
  unsigned long long links = 0;
  unsigned long long device = 0;
  unsigned long long inode = 0;
};

// Finds where name is written. False when it must not be written: a link
// that loops or a chain of more than 40 links, a link in a sticky directory
// that others may write (such as /tmp) that belongs neither to the user nor
// to the directory's owner, a missing directory, a path
// too long, something there that is not a regular file (a directory, FIFO,
// socket or device, also behind a link), a name inside a proc file system
// (reached directly or through a link such as /dev/stdout, whose text names
// an open file of the process rather than a path), a file that can neither be
// replaced nor written over (append-only or immutable), or a write-protected
// file: one without any write permission bit (also for root) or one the user
// may not write.
bool FindOutputTarget(const std::string& name, OutputTarget& target);

// Whether two targets are one file: the same file, or where there is none
// yet, the same name in the same directory.
bool IsSameFile(const OutputTarget& a, const OutputTarget& b);

// Opens the file that FindOutputTarget found with the flags (O_RDONLY or
// O_WRONLY), when its name still names that regular file; -1 otherwise.
int OpenFoundFile(const OutputTarget& target, int flags);
