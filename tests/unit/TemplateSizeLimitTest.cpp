// The template reader reads at most 16 MiB of a regular file; anything that
// is not a regular file, such as a device that never ends, is not read at all.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "settings/Settings.h"
#include "settings/Template.h"
#include "support/GlobalState.h"
#include "support/Process.h"

namespace {

class TemplateSizeLimitTest : public ResetSettingsTest {};

constexpr std::size_t kLimit = std::size_t{16} << 20;

double SecondsToLoad(const std::string& path, bool& read) {
  const auto start = std::chrono::steady_clock::now();
  read = LoadTemplate(path);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST_F(TemplateSizeLimitTest, EndlessDevicesAreNotRead) {
  for (const char* device : {"/dev/zero", "/dev/urandom"}) {
    if (!std::filesystem::exists(device)) continue;
    ReSettings();
    bool read = true;
    EXPECT_LT(SecondsToLoad(device, read), 10.0) << device;
    EXPECT_FALSE(read) << device;
  }
}

// A file longer than the limit is read as if it ended there.
TEST_F(TemplateSizeLimitTest, TextBeyondTheLimitIsNotRead) {
  TempDir dir;
  // Filler lines up to the given length, then the line "rad 100".
  const auto content = [](std::size_t before) {
    std::string text = "res 24\n";
    while (text.size() + 1000 < before) text += std::string(999, ' ') + "\n";
    text += std::string(before - text.size() - 1, ' ') + "\n";
    return text + "rad 100\n";
  };
  struct Case {
    std::size_t before;  // bytes before the line "rad 100"
    float rad;
  };
  const Case cases[] = {
      {kLimit - 8, 100.0f},     // the whole line lies within the limit
      {kLimit - 5, 1.0f},       // the limit cuts it after "rad 1"
      {kLimit, def_rad},        // it begins at the limit
      {kLimit + 4096, def_rad},
  };
  for (const Case& c : cases) {
    ReSettings();
    ASSERT_TRUE(LoadTemplate(dir.Write("big.kvt", content(c.before)))) << c.before;
    EXPECT_EQ(res, 24) << c.before;
    EXPECT_EQ(rad, c.rad) << c.before;
  }
}
