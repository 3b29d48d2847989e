// A batch whose standard output is closed by its reader: the console text is
// lost, but every template is still built and written, and the exit status
// follows the files alone.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <string>
#include <vector>

#include "support/Process.h"

namespace {

constexpr unsigned kRunLimitSeconds = 60;

const char* const kNoMenu = "nomenu 1\nexmap 1\n";

}  // namespace

TEST(ClosedOutput, TheBatchWritesEveryTemplate) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    int status;
    std::vector<std::string> written;
  };
  const std::vector<Case> cases = {
      {"three templates without menu", {"a.kvt", "b.kvt", "c.kvt"}, "", 0, {"a.map", "b.map", "c.map"}},
      {"a sub menu session between them", {"a.kvt", "menu.kvt", "c.kvt"}, "x\ng\ne\nq\n", 0,
       {"a.map", "menu.map", "c.map"}},
      {"a file that cannot be created", {"a.kvt", "blocked.kvt", "c.kvt"}, "", 1, {"a.map", "c.map"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    for (const char* name : {"a.kvt", "b.kvt", "c.kvt", "blocked.kvt"}) dir.Write(name, kNoMenu);
    dir.Write("menu.kvt", "shape arch\n");
    dir.Write("blocked.map/keep", "");  // a directory where the map should go
    const int status = RunProgramWithClosedOutput(Exe64(), c.args, c.input, dir.path(), kRunLimitSeconds).waitStatus;
    ASSERT_TRUE(WIFEXITED(status)) << "wait status " << status;
    EXPECT_EQ(WEXITSTATUS(status), c.status);
    for (const std::string& file : c.written) {
      EXPECT_TRUE(dir.Exists(file)) << file;
      EXPECT_FALSE(dir.Read(file).empty()) << file;
    }
  }
}
