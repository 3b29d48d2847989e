#include <gtest/gtest.h>

#include <cstdint>

#include "generation/TextureAxes.h"
#include "generation/VectorMath.h"
#include "support/Random.h"
#include "support/GlobalState.h"

namespace {

// The plane code as the angles themselves give it.
int PlaneByAngles(vector n) {
  const float a1 = GetVecAng(vector{0.0f, 0.0f, 64.0f}, n);
  if (a1 <= 45.0f || a1 >= 135.0f) return PlaneXY;
  n.z = 0.0f;
  const float a2 = GetVecAng(vector{64.0f, 0.0f, 0.0f}, n);
  if (a2 > 45.0f && a2 < 135.0f) return PlaneXZ;
  if (a2 <= 45.0f || a2 >= 135.0f) return PlaneYZ;
  return PlaneNone;
}

}  // namespace

using WorldAlignAgreement = GlobalStateTest;

// GetWorldAlign decides most faces from the cosine alone; it must give the
// code that the float angles give, also right at the 45 and 135 degree bounds.
TEST_F(WorldAlignAgreement, CosineShortcutGivesTheAnglesCode) {
  maxV = 4;
  face f;
  f.vcount = 3;
  Xorshift32 random(12345u);
  auto next = [&random] {
    const uint32_t s = random.Next();
    return static_cast<float>(static_cast<int32_t>(s % 2001u) - 1000) / 8.0f;
  };
  for (int i = 0; i < 200000; ++i) {
    // A triangle in the plane through the origin with a random normal; every
    // other one with a normal at 45 or 135 degrees to an axis, give or take a
    // little.
    vector n{next(), next(), next()};
    const float tilt = static_cast<float>(i % 7 - 3) * 1e-6f;
    if (i % 4 == 0) n = vector{n.x, n.x * (1.0f + tilt), 0.0f};
    if (i % 4 == 2) n = vector{n.x, tilt, n.x * (i % 8 == 2 ? 1.0f : -1.0f) * (1.0f + tilt)};
    f.verts[0] = vertex{0, 0, 0};
    // Two edges at right angles to n span the face.
    const vector u = GetCross(n, std::abs(n.x) < std::abs(n.z) ? vector{1, 0, 0} : vector{0, 0, 1});
    const vector w = GetCross(u, n);
    f.verts[1] = vertex{u.x, u.y, u.z};
    f.verts[2] = vertex{w.x, w.y, w.z};
    const vector normal = GetCross(GetVector(f.verts[0], f.verts[1]), GetVector(f.verts[0], f.verts[2]));
    ASSERT_EQ(GetWorldAlign(f), PlaneByAngles(normal)) << n.x << " " << n.y << " " << n.z;
  }
}
