// The texture post-pass adds the user shifts to shifts that the wrapping pass
// may have made as large as the float range allows (a tiny texture scale):
// the sum must stay finite, also where a texture size of 0 or less leaves the
// shift unreduced.
#include <gtest/gtest.h>

#include <string>

#include "generation/Generate.h"
#include "settings/Settings.h"
#include "settings/Shape.h"
#include "support/GlobalState.h"
#include "support/GroupCheck.h"

namespace {

class ShiftLimitTest : public ResetSettingsTest {};

const char* Name(shape s) {
  static const char* const names[] = {"cylinder", "arch", "torus", "htorus", "sphere"};
  return names[s];
}

}  // namespace

TEST_F(ShiftLimitTest, UserShiftsNearTheFloatLimitStayFinite) {
  for (const shape s : {arch, torus, htorus, sphere}) {
    for (const int size : {0, -5, 128}) {
      for (const float user : {3.4e38f, -3.4e38f}) {
        for (const float rotation : {0.0f, 90.0f}) {
          ReSettings();
          SetShape(s);
          for (int k = 0; k < SlotCount; ++k) {
            facealign[k] = wrapping[k] = Hwrapping[k] = true;
            G_ScaleX[k] = G_ScaleY[k] = 1e-36f;
            G_SizeX[k] = G_SizeY[k] = size;
            G_ShiftX[k] = G_ShiftY[k] = user;
            G_Rot[k] = rotation;
          }
          ASSERT_TRUE(Generate());
          std::string where;
          EXPECT_TRUE(GroupIsFinite(&where)) << Name(s) << " size " << size << " shift " << user << " rot "
                                             << rotation << ": " << where;
        }
      }
    }
  }
}
