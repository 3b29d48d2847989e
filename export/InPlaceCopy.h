// A finished text copied into the old file in place, for a file that a
// rename would not keep as it is (one with more than one hard link, another
// user's, one whose attributes the process cannot give a new file, one in a
// directory that cannot lose names).
//
// Everything that can fail before the old text changes comes first
// (Reserve): the old file is opened for writing and checked to be the file
// that was found, locked against other writers of it (an exclusive lock,
// waited for a bounded time, so that two programs copying into one file one
// after the other never mix it), the file size limit looked at and the room
// for the text taken. Only Copy changes the file; a failure during the copy
// itself (an I/O error, the program killed) can still leave a partial file.
#pragma once

#include "export/OutputTarget.h"

struct InPlaceCopy {
  InPlaceCopy() = default;
  // Gives back the room that Reserve took and no copy used, and unlocks.
  ~InPlaceCopy() { Release(); }
  InPlaceCopy(const InPlaceCopy&) = delete;
  InPlaceCopy& operator=(const InPlaceCopy&) = delete;

  // Prepares the copy of the text (a file open for reading) into the file of
  // the target. False when it cannot be made: the file cannot be opened for
  // writing or is no longer the one found, another writer holds it locked
  // for too long, or there is no room for the text.
  bool Reserve(const OutputTarget& target, int text);
  // Copies the text over the old one and cuts the file at its end; gives the
  // file its mode back where the writes cleared its set-id bits and the
  // process owns it. False when a write failed.
  bool Copy(int text);
  void Release();

  int fd = -1;               // the old file, open for writing and locked
  long long oldLength = 0;   // its length before the copy
  long long length = 0;      // the text's length
  unsigned mode = 0;         // its permissions before the copy
  bool reserved = false;     // room was taken past the old length
};
