// Where an output file is written: symbolic links are followed to the file
// they name (a link that names nothing yet names the file to create), and
// the file is reached through its directory, so that only the length of the
// file's own path counts, not that of a temporary name beside it.
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
  bool exists = false;    // a regular file of that name exists
  // That file. (No struct stat here: its layout depends on the file offset
  // size that each source file is compiled with.)
  mode_t mode = 0;
  uid_t owner = 0;
  gid_t group = 0;
  unsigned long long links = 0;
  unsigned long long device = 0;
  unsigned long long inode = 0;
};

// Finds where name is written. False when it must not be written: a link
// that loops or a chain of more than 40 links, a missing directory, a path
// too long, something there that is not a regular file (a directory, FIFO,
// socket or device, also behind a link), or a write-protected file: one
// without any write permission bit (also for root) or one the user may not
// write.
bool FindOutputTarget(const std::string& name, OutputTarget& target);
