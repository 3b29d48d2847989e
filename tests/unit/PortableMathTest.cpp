#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "generation/PortableMath.h"
#include "support/Random.h"

namespace {

// Distance in units in the last place between two doubles of one sign.
int64_t UlpDistance(double a, double b) {
  int64_t ia = 0, ib = 0;
  std::memcpy(&ia, &a, sizeof a);
  std::memcpy(&ib, &b, sizeof b);
  if (ia < 0) ia = INT64_MIN - ia;
  if (ib < 0) ib = INT64_MIN - ib;
  return ia > ib ? ia - ib : ib - ia;
}

// A fixed sequence of doubles in [0, 1).
struct Sequence : UnitSequence {
  Sequence() : UnitSequence(88172645463325252ull) {}
};

}  // namespace

TEST(PortableMath, ExactValuesAtTheKeyPoints) {
  EXPECT_EQ(kvmath::Acos(0.0), 1.5707963267948966);
  EXPECT_EQ(kvmath::Acos(-0.0), 1.5707963267948966);
  EXPECT_EQ(kvmath::Acos(1.0), 0.0);
  EXPECT_EQ(kvmath::Acos(-1.0), 3.141592653589793);
  EXPECT_EQ(kvmath::Sin(0.0), 0.0);
  EXPECT_EQ(kvmath::Cos(0.0), 1.0);
  EXPECT_TRUE(std::isnan(kvmath::Acos(1.0000000000000002)));
  EXPECT_TRUE(std::isnan(kvmath::Acos(std::nan(""))));
  EXPECT_TRUE(std::isnan(kvmath::Sin(std::nan(""))));
}

TEST(PortableMath, AgreesWithTheLibraryWithinTwoUlps) {
  Sequence seq;
  for (int i = 0; i < 200000; ++i) {
    const double x = seq.Next() * 2.0 - 1.0;
    ASSERT_LE(UlpDistance(kvmath::Acos(x), std::acos(x)), 2) << x;
    const double a = (seq.Next() * 2.0 - 1.0) * 7.0;
    if (std::fabs(std::sin(a)) > 1e-3) {
      ASSERT_LE(UlpDistance(kvmath::Sin(a), std::sin(a)), 2) << a;
    }
    if (std::fabs(std::cos(a)) > 1e-3) {
      ASSERT_LE(UlpDistance(kvmath::Cos(a), std::cos(a)), 2) << a;
    }
  }
}

TEST(PortableMath, SameBitsInEveryBuild) {
  // A digest of many results; the 32-bit and the 64-bit test run both check
  // it against the same recorded value.
  Sequence seq;
  uint64_t h = 1469598103934665603ull;
  auto mix = [&h](double d) {
    uint64_t b = 0;
    std::memcpy(&b, &d, sizeof b);
    h = (h ^ b) * 1099511628211ull;
  };
  for (int i = 0; i < 100000; ++i) {
    const double x = seq.Next() * 2.0 - 1.0;
    mix(kvmath::Acos(x));
    mix(kvmath::Sin(x * 5.0));
    mix(kvmath::Cos(x * 5.0));
    mix(kvmath::Acosf(static_cast<float>(x)));
    mix(kvmath::Sinf(static_cast<float>(x * 3.0)));
  }
  EXPECT_EQ(h, 0x15814dcdbef882c2ull) << std::hex << h;
}
