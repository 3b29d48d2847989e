#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/BrushCheck.h"
#include "support/Process.h"

namespace {

const char* const kNoMenu = "nomenu 1\nexmap 1\n";

}  // namespace

TEST(Batch, TemplateWithoutMenuWritesTheMapNamedAfterTheTemplate) {
  TempDir dir;
  dir.Write("tube.kvt", std::string(kNoMenu) + "shape cylinder\n");
  const ProcessResult r = RunProgram(Exe64(), {"tube.kvt"}, "", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output, "Exported To Map!!!\nPRESS ANY BUTTON...\n");
  ASSERT_TRUE(dir.Exists("tube.map"));
  const MapCheck check = CheckMapText(dir.Read("tube.map"));
  EXPECT_TRUE(check.ok) << check.error;
  EXPECT_EQ(check.brushes, 1);
}

TEST(Batch, FilenameAndFilepathKeysNameTheOutput) {
  struct Case {
    std::string templ;     // template text after the batch switches
    std::string argument;  // path given on the command line
    std::string expected;  // file written, relative to the directory
  };
  const std::vector<Case> cases = {
      {"shape arch\nfilename ring\n", "a.kvt", "ring.map"},
      {"shape torus\nfilepath out\\\n", "b.kvt", "out\\b.map"},
      {"shape sphere\n", "maps/c.kvt", "maps/c.map"},
      {"shape htorus\nres 12\nfilepath pre_\nfilename fix\n", "d.kvt", "pre_fix.map"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.Write(c.argument, std::string(kNoMenu) + c.templ);
    const ProcessResult r = RunProgram(Exe64(), {c.argument}, "", dir.path());
    EXPECT_EQ(r.status, 0) << c.templ;
    EXPECT_TRUE(dir.Exists(c.expected)) << c.templ << r.output;
  }
}

TEST(Batch, TheKeyWaitTakesOneCharacterPerTemplate) {
  TempDir dir;
  dir.Write("a.kvt", std::string(kNoMenu) + "filename a\n");
  dir.Write("b.kvt", "nomenu 1\nfilename b\n");
  // The first pause takes "x"; the second finds the input ended and goes on.
  const ProcessResult r = RunProgram(Exe64(), {"a.kvt", "b.kvt"}, "x", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output, "Exported To Map!!!\nPRESS ANY BUTTON...\nPRESS ANY BUTTON...\n");
  EXPECT_TRUE(dir.Exists("a.map"));
  EXPECT_FALSE(dir.Exists("b.map"));
}

TEST(Batch, AFileThatCannotBeCreatedIsReportedAndTheRunFails) {
  TempDir dir;
  // Directories stand where the files should go, so neither can be created.
  dir.Write("t.map/keep", "");
  dir.Write("t.obj/keep", "");
  dir.Write("t.kvt", std::string(kNoMenu) + "exobj 1\n");
  const ProcessResult r = RunProgram(Exe64(), {"t.kvt"}, "", dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.output,
            "[WARNING] Could not create the file \"t.map\"!\n"
            "[WARNING] Could not create the file \"t.obj\"!\n"
            "PRESS ANY BUTTON...\n");
}

TEST(Batch, BothExecutablesWriteIdenticalFiles) {
  if (Exe32().empty()) GTEST_SKIP() << "the 32-bit build is off";
  const std::vector<std::string> templates = {
      "shape cylinder\nres 24\nrad 100\n1_facealign 1\n1_v_wrap 1\n1_v_seamless 1\n",
      "shape cylinder\nres 192\nrad 3000\n1_facealign 1\n1_v_wrap 1\n1_scalex 0.3\n",
      "shape arch\nres 48\nsym 1\n1_facealign 1\n2_facealign 1\n3_facealign 1\n1_v_wrap 1\n2_v_wrap 1\n3_v_seamless 1\n3_shear 1\n",
      "shape arch\nres 24\ntri 1\nrad 100\nrad3 333\n1_facealign 1\n1_v_wrap 1\n1_rot 90\n1_shiftx 7.5\n",
      "shape torus\nres 24\nres2 48\nsym 1\n1_facealign 1\n1_v_wrap 1\n1_h_wrap 1\n1_h_seamless 1\n1_shear 1\n",
      "shape torus\nres 48\nres2 24\nrad 100\nrad3 333\n1_facealign 1\n1_h_wrap 1\n1_rot 270\n1_h_rangesrc 2\n",
      "shape htorus\nres 24\nres2 24\nsym 1\n1_facealign 1\n2_facealign 1\n3_facealign 1\n1_v_wrap 1\n2_v_wrap 1\n3_v_wrap 1\n2_h_wrap 1\n3_shear 1\n",
      "shape htorus\nres 12\nres2 48\nrad 100\nrad2 210\nrad3 333\n1_facealign 1\n1_v_wrap 1\n1_shear 1\n3_facealign 1\n3_h_wrap 1\n3_rot 180\n",
      "shape sphere\nres 48\nrad 200\n1_facealign 1\n1_v_wrap 1\n1_h_wrap 1\n1_v_seamless 1\n",
      "shape sphere\nres 24\nrad 100\n1_facealign 1\n1_v_wrap 1\n1_shear 1\n1_rot 90\nautoscale 1\n",
  };
  for (size_t i = 0; i < templates.size(); ++i) {
    TempDir d64, d32;
    const std::string text = std::string(kNoMenu) + "exobj 1\n" + templates[i];
    d64.Write("t.kvt", text);
    d32.Write("t.kvt", text);
    ASSERT_EQ(RunProgram(Exe64(), {"t.kvt"}, "", d64.path()).status, 0) << text;
    ASSERT_EQ(RunProgram(Exe32(), {"t.kvt"}, "", d32.path()).status, 0) << text;
    EXPECT_TRUE(d64.Read("t.map") == d32.Read("t.map")) << text;
    EXPECT_TRUE(d64.Read("t.obj") == d32.Read("t.obj")) << text;
    EXPECT_FALSE(d64.Read("t.map").empty()) << text;
  }
}

// A template named on the command line that cannot be read fails the run as a
// file that cannot be created does: the sub menu says "not available" as
// before, the batch goes on, and the status is 1. A template that the sub
// menu's load action cannot read is answered in the status box only; that
// does not change the status.
TEST(Batch, ATemplateThatCannotBeReadFailsTheRun) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    int status;
    std::vector<std::string> written;
  };
  const std::vector<Case> cases = {
      {"a missing template", {"missing.kvt"}, "", 1, {}},
      {"a missing template before one that is written", {"missing.kvt", "ok.kvt"}, "q\n", 1, {"ok.map"}},
      {"a directory as template", {"folder", "ok.kvt"}, "q\n", 1, {"ok.map"}},
      {"the sub menu's load action finds no template", {"menu.kvt", "ok.kvt"}, "l gone.kvt\nq\n", 0, {"ok.map"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.Write("ok.kvt", kNoMenu);
    dir.Write("menu.kvt", "shape arch\n");
    dir.Write("folder/keep", "");
    const ProcessResult r = RunProgram(Exe64(), c.args, c.input, dir.path());
    EXPECT_EQ(r.status, c.status) << r.output;
    EXPECT_NE(r.output.find("\" not available...\n"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("[WARNING]"), std::string::npos) << r.output;
    for (const std::string& file : c.written) EXPECT_TRUE(dir.Exists(file)) << file;
  }
}
