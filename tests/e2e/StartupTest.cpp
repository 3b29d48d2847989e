#include <gtest/gtest.h>

#include "support/Process.h"

// Both executables start and end cleanly when the console input is empty; a
// batch whose template cannot be read ends with status 1.
TEST(Startup, BothExecutablesEndCleanlyOnEmptyInput) {
  for (const std::string& exe : {Exe64(), Exe32()}) {
    if (exe.empty()) continue;
    TempDir dir;
    const ProcessResult interactive = RunProgram(exe, {}, "", dir.path());
    EXPECT_EQ(interactive.status, 0) << exe;
    const ProcessResult missing = RunProgram(exe, {"missing.kvt"}, "", dir.path());
    EXPECT_EQ(missing.status, 1) << exe;
  }
}
