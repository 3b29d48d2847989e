#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "generation/VectorMath.h"

namespace {
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();
}  // namespace

TEST(VectorMath, IsValid) {
  for (float v : {0.0f, -0.0f, std::numeric_limits<float>::max(), std::numeric_limits<float>::denorm_min(), -1.0f})
    EXPECT_TRUE(IsValid(v)) << v;
  for (float v : {kNaN, kInf, -kInf}) EXPECT_FALSE(IsValid(v));
}

TEST(VectorMath, GetVectorLengthAndNormalize) {
  const vector v = GetVector(vertex{1, 2, 3}, vertex{4, 6, 3});
  EXPECT_EQ(v.x, 3.0f);
  EXPECT_EQ(v.y, 4.0f);
  EXPECT_EQ(v.z, 0.0f);
  EXPECT_EQ(GetVecLen(v), 5.0);
  const vector n = Normalize(v);
  EXPECT_EQ(n.x, static_cast<float>(3.0 * (1.0 / 5.0)));
  EXPECT_EQ(n.y, static_cast<float>(4.0 * (1.0 / 5.0)));
  EXPECT_EQ(n.z, 0.0f);
}

TEST(VectorMath, NormalizeMultipliesByTheReciprocal) {
  // Multiplying by the rounded reciprocal can differ in the last bit from a
  // division; the texture shifts are computed from this form.
  const vector v{1.0f, 1.0f, 1.0f};
  const double r = 1.0 / std::sqrt(3.0);
  const vector n = Normalize(v);
  EXPECT_EQ(n.x, static_cast<float>(1.0 * r));
}

TEST(VectorMath, NormalizeOfTheZeroVectorIsNaN) {
  const vector n = Normalize(vector{0, 0, 0});
  EXPECT_TRUE(std::isnan(n.x) && std::isnan(n.y) && std::isnan(n.z));
  EXPECT_EQ(GetVecLen(vector{0, 0, 0}), 0.0);
}

TEST(VectorMath, CrossProduct) {
  const vector c = GetCross(vector{1, 0, 0}, vector{0, 1, 0});
  EXPECT_EQ(c.x, 0.0f);
  EXPECT_EQ(c.y, 0.0f);
  EXPECT_EQ(c.z, 1.0f);
  EXPECT_EQ(GetCross(vector{0, 1, 0}, vector{1, 0, 0}).z, -1.0f);
  const vector p = GetCross(vector{1, 2, 3}, vector{2, 4, 6});
  EXPECT_EQ(p.x, 0.0f);
  EXPECT_EQ(p.y, 0.0f);
  EXPECT_EQ(p.z, 0.0f);
}

TEST(VectorMath, CrossProductRoundsOnceFromDouble) {
  // Each product of two floats is exact in double; only the difference rounds.
  const vector a{16777217.0f, 3.0f, 1.0f};  // 16777216 after float rounding
  const vector b{1.0f, 16777215.0f, 3.0f};
  const vector c = GetCross(a, b);
  const double ax = a.x, ay = a.y, az = a.z, bx = b.x, by = b.y, bz = b.z;
  EXPECT_EQ(c.z, static_cast<float>(ax * by - ay * bx));
  EXPECT_EQ(c.x, static_cast<float>(ay * bz - az * by));
}

TEST(VectorMath, GetVecAngCases) {
  struct Case {
    vector a, b;
    float expected;
  };
  const Case cases[] = {
      {{1, 0, 0}, {0, 1, 0}, 90.0f},
      {{1, 0, 0}, {-1, 0, 0}, 180.0f},
      {{3, 0, 4}, {3, 0, 4}, 0.0f},
      {{1, 2, 3}, {2, 4, 6}, 0.0f},
  };
  for (const Case& c : cases) EXPECT_EQ(GetVecAng(c.a, c.b), c.expected);
  // 90.0000001 and 180.0000002 before the rounding: the divisor is 3.14159265.
  EXPECT_GT(std::acos(0.0) * 180.0 / DegreePi, 90.0);
  EXPECT_TRUE(std::isnan(GetVecAng(vector{1, 1, 1}, vector{1, 1, 1})));
  EXPECT_TRUE(std::isnan(GetVecAng(vector{0, 0, 0}, vector{1, 0, 0})));
}

TEST(VectorMath, GetMVertexAndDot) {
  const vertex m = GetMVertex(vertex{-32, 128, 0}, vertex{32, 128, 0});
  EXPECT_EQ(m.x, 0.0f);
  EXPECT_EQ(m.y, 128.0f);
  EXPECT_EQ(m.z, 0.0f);
  EXPECT_EQ(GetDot(vector{1, 2, 3}, vector{4, -5, 6}), 12.0);
}

TEST(VectorMath, AnyoneButMe) {
  EXPECT_EQ(AnyoneButMe(12, 11, 0), 12);
  EXPECT_EQ(AnyoneButMe(12, 11, 1), 1);
  EXPECT_EQ(AnyoneButMe(12, 0, 0), 1);
}
