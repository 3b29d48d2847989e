// The end of the console input in batch mode: every menu takes it as its
// key for leaving and every prompt keeps its value, so the run goes on with
// the next template, builds and writes it, and ends with status 0 (1 when a
// template could not be read).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Process.h"

namespace {

constexpr unsigned kRunLimitSeconds = 20;

// The template after the one under test; it must always be written.
const std::string kLater = "nomenu 1\nexmap 1\nshape cylinder\n";
const std::string kLaterConfirmed = "Exported To Map!!!\nPRESS ANY BUTTON...\n";

struct BatchRun {
  ProcessResult result;
  bool laterWritten = false;
};

// Runs the templates, then ok.kvt, with the given console input; files
// holds the templates to write first (name and text).
BatchRun RunBatch(const std::string& exe, const std::vector<std::pair<std::string, std::string>>& files,
             const std::vector<std::string>& args, const std::string& input, TempDir& dir) {
  for (const auto& f : files) dir.Write(f.first, f.second);
  dir.Write("ok.kvt", kLater);
  std::vector<std::string> all = args;
  all.push_back("ok.kvt");
  BatchRun run;
  run.result = RunProgram(exe, all, input, dir.path(), kRunLimitSeconds);
  run.laterWritten = dir.Exists("ok.map");
  return run;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

TEST(EndOfInput, ABatchGoesOnWithItsLaterTemplates) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;
    std::string written;  // what the template under test must write, if anything
    int status;
  };
  const std::vector<Case> cases = {
      {"a template that cannot be opened", {}, "", 1},
      {"a template that opens the sub menu", {{"menu.kvt", "shape torus\n"}}, "", 0},
      {"a template whose custom scale source finds the input ended",
       {{"custom.kvt", "nomenu 1\nexmap 1\nshape torus\n1_facealign 1\n1_v_wrap 1\n1_scalesrc 3\n"}},
       "custom.map", 0},
  };
  for (const std::string& exe : {Exe64(), Exe32()}) {
    if (exe.empty()) continue;
    for (const Case& c : cases) {
      TempDir dir;
      const std::string first = c.files.empty() ? "missing.kvt" : c.files[0].first;
      const BatchRun r = RunBatch(exe, c.files, {first}, "", dir);
      EXPECT_EQ(r.result.status, c.status) << c.name << " (" << exe << ")";
      EXPECT_TRUE(r.laterWritten) << c.name << " (" << exe << ")\n" << r.result.output;
      EXPECT_TRUE(EndsWith(r.result.output, kLaterConfirmed)) << c.name;
      if (!c.written.empty()) {
        EXPECT_TRUE(dir.Exists(c.written)) << c.name << " (" << exe << ")";
      }
    }
  }
}

// A sub menu session cut off in every menu and at every kind of prompt,
// including prompts that ask again for a refused value: the menus return one
// after the other and the later template is still built and written.
TEST(EndOfInput, AMenuSessionCutAtEveryDepth) {
  const char* const inputs[] = {
      "",                     // sub menu
      "b",                    // sub menu, after a key without action
      "g\ns",                 // the key wait after a listing
      "l",                    // template path
      "m",                    // mesh properties
      "m\n1",                 // resolution
      "m\n1\n36",             // resolution, refused
      "m\n3\n-",              // radius, unreadable
      "m\n4\n1",              // radius 2, refused
      "m\nd",                 // export rules
      "m\nd\n1\n4",           // export bound
      "t",                    // textures menu
      "t\n2",                 // texture properties
      "t\n2\na",              // texture name
      "t\n2\nb\n0",           // texture size, refused
      "t\n2\nc\n2",           // texture scale Y
      "t\n1\nc\n0",           // texture scale, refused
      "t\n1\no\no\no\no",     // custom H-range face
      "t\n1\nd\nd\nd\nq\nq\ng", // custom scale source
  };
  for (const char* input : inputs) {
    TempDir dir;
    const BatchRun r = RunBatch(Exe64(), {{"menu.kvt", "shape htorus\n1_facealign 1\n1_v_wrap 1\n"}},
                           {"menu.kvt"}, input, dir);
    EXPECT_EQ(r.result.status, 0) << "input: " << input;
    EXPECT_TRUE(r.laterWritten) << "input: " << input << "\n" << r.result.output;
    EXPECT_TRUE(EndsWith(r.result.output, kLaterConfirmed)) << "input: " << input;
  }
}
