// Values at the limits of their types typed into the menus: every setting the
// menus store stays finite, and every value that cannot be read is warned
// about and asked for again.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "console/ConsoleInput.h"
#include "console/Menus.h"
#include "settings/Settings.h"
#include "settings/Shape.h"
#include "support/ConsoleCapture.h"
#include "support/GlobalState.h"

namespace {

class MenuLimitsTest : public ResetSettingsTest {};

constexpr float kMax = std::numeric_limits<float>::max();

}  // namespace

// Reaching the outer radii pushes them by the same amount; a push beyond the
// range of float stops at the largest float instead of making it infinite.
TEST_F(MenuLimitsTest, RadiiPushedBeyondTheFloatRangeStopAtItsLimit) {
  struct Case {
    float rad, rad2, rad3;
    const char* input;
    float rad2After, rad3After;
  };
  const Case cases[] = {
      // Radius 1 from 3e38 to 3.4e38 reaches radius 2 (3.4e38): 3.8e38.
      {3e38f, 3.4e38f, 3.4e38f, "3\n3.4e38\nq\n", kMax, kMax},
      // Radius 1 from 3.4e38 down to -3e38, still above the radii below it.
      {3.4e38f, -3.4e38f, -3.4e38f, "3\n-3e38\nq\n", -kMax, -kMax},
      // Radius 2 from 1e38 to 3.4e38 reaches radius 3 (2e38): 4.4e38.
      {0.0f, 1e38f, 2e38f, "4\n3.4e38\nq\n", 3.4e38f, kMax},
  };
  for (const Case& c : cases) {
    SetShape(htorus);
    rad = c.rad;
    rad2 = c.rad2;
    rad3 = c.rad3;
    WithConsole(c.input, menu_props);
    EXPECT_EQ(rad2, c.rad2After) << c.input;
    EXPECT_EQ(rad3, c.rad3After) << c.input;
    EXPECT_TRUE(std::isfinite(rad) && std::isfinite(rad2) && std::isfinite(rad3)) << c.input;
  }
}
