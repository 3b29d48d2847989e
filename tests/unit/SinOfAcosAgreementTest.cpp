#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "generation/PortableMath.h"
#include "support/Random.h"

namespace {

// A fixed sequence of doubles in [0, 1).
struct Sequence : UnitSequence {
  Sequence() : UnitSequence(0x9E3779B97F4A7C15ull) {}
};

uint32_t Bits(float f) {
  uint32_t b = 0;
  std::memcpy(&b, &f, sizeof b);
  return b;
}

// The value the shortcut must reproduce.
float Exact(double c) { return static_cast<float>(kvmath::Sin(kvmath::Acos(c))); }

void ExpectSame(double c) {
  const float exact = Exact(c);
  const float fast = kvmath::SinOfAcosToFloat(c);
  if (std::isnan(exact)) {
    ASSERT_TRUE(std::isnan(fast)) << c;
  } else {
    ASSERT_EQ(Bits(fast), Bits(exact)) << std::hexfloat << c;
  }
}

}  // namespace

// The shortcut rests on Sin(Acos(c)) lying close to sqrt((1 - c)(1 + c)):
// far closer than the margin of 2^-40 it allows for.
TEST(SinOfAcosAgreement, SeriesStayCloseToTheSquareRoot) {
  Sequence seq;
  double worst = 0.0;
  for (int i = 0; i < 400000; ++i) {
    double c = seq.Next() * 2.0 - 1.0;
    if (i % 4 == 1) c = 1.0 - std::ldexp(seq.Next(), -static_cast<int>(seq.Next() * 50.0));
    if (i % 4 == 3) c = -1.0 + std::ldexp(seq.Next(), -static_cast<int>(seq.Next() * 50.0));
    const double d = std::fabs(kvmath::Sin(kvmath::Acos(c)) - std::sqrt((1.0 - c) * (1.0 + c)));
    if (d > worst) worst = d;
  }
  EXPECT_LT(worst, 0x1p-40 / 64.0) << worst;
}

TEST(SinOfAcosAgreement, SameFloatAsTheSeries) {
  Sequence seq;
  for (int i = 0; i < 1000000; ++i) ExpectSame(seq.Next() * 2.0 - 1.0);
  // Close to +-1, where the result is small and the floats lie close.
  for (int i = 0; i < 200000; ++i) {
    const double d = std::ldexp(seq.Next(), -static_cast<int>(seq.Next() * 60.0));
    ExpectSame(1.0 - d);
    ExpectSame(-1.0 + d);
  }
  // Cosines whose result lies at, or right next to, the midpoint of two
  // floats or a float itself: here the series must decide.
  for (int i = 0; i < 300000; ++i) {
    const float y = static_cast<float>(std::ldexp(seq.Next(), -static_cast<int>(seq.Next() * 20.0)));
    const float up = std::nextafter(y, 2.0f);
    const double targets[2] = {(static_cast<double>(y) + up) / 2.0, y};
    for (const double m : targets) {
      const double c = std::sqrt((1.0 - m) * (1.0 + m));
      for (int k = -3; k <= 3; ++k) {
        const double ck = c + k * std::ldexp(1.0, -53);
        ExpectSame(ck);
        ExpectSame(-ck);
      }
    }
  }
}

TEST(SinOfAcosAgreement, EndsAndValuesOutsideTheDomain) {
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {0.0,  -0.0, 1.0,   -1.0,  std::nextafter(1.0, 0.0), std::nextafter(-1.0, 0.0),
                           0.5,  -0.5, 1e-300, -1e-300, std::nextafter(1.0, 2.0), std::nextafter(-1.0, -2.0),
                           2.0,  -2.0, inf,   -inf,  std::nan("")};
  for (const double c : values) ExpectSame(c);
}
