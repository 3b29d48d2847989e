// A model too large for the memory the process may have: the template is
// reported in one line, nothing of it is written, and the batch goes on.
#include <gtest/gtest.h>

#include <string>

#include "support/Process.h"

namespace {

const char* const kBigModel = "shape htorus\nres 192\nres2 192\nsym 1\n";

// Runs korvane64 on big.kvt and small.kvt with its address space limited to
// 24 MiB: room for a small model, not for a hollow torus of 196 by 196 cells.
ProcessResult RunLimited(const TempDir& dir, const std::string& input = "") {
  return RunProgramWithMemoryLimit(Exe64(), {"big.kvt", "small.kvt"}, input, dir.path(), 24576);
}

TEST(OutOfMemory, TheTemplateIsReportedAndTheBatchGoesOn) {
  if (kSanitized) GTEST_SKIP() << "address space limits do not work under AddressSanitizer";
  TempDir dir;
  dir.Write("big.kvt", std::string("nomenu 1\nexmap 1\nexobj 1\n") + kBigModel);
  dir.Write("small.kvt", "nomenu 1\nexmap 1\nshape cylinder\n");
  const ProcessResult r = RunLimited(dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.output,
            "[WARNING] Not enough memory for the template \"big.kvt\"!\n"
            "Exported To Map!!!\nPRESS ANY BUTTON...\n");
  EXPECT_FALSE(dir.Exists("big.map"));
  EXPECT_FALSE(dir.Exists("big.obj"));
  EXPECT_TRUE(dir.Exists("small.map"));
}

// In the sub menu the warning stands in the status box, the model is gone and
// the menu goes on.
TEST(OutOfMemory, TheSubMenuShowsItAndGoesOn) {
  if (kSanitized) GTEST_SKIP() << "address space limits do not work under AddressSanitizer";
  TempDir dir;
  dir.Write("big.kvt", kBigModel);
  dir.Write("small.kvt", "nomenu 1\nexmap 1\nshape cylinder\n");
  const ProcessResult r = RunLimited(dir, "g\ne\nq\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("  | [WARNING] Not enough memory for this model!\n"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("||   Shape: Hollow Torus    | Brushes: N/A"), std::string::npos) << r.output;
  EXPECT_FALSE(dir.Exists("big.map"));
  EXPECT_TRUE(dir.Exists("small.map"));
}

}  // namespace
