#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "export/NumberFormat.h"
#include "generation/FloatText.h"
#include "support/Random.h"

namespace {

std::string Fixed(float v) {
  char text[kNumberRoom];
  return std::string(text, PutFixed6(text, v));
}

std::string General(float v) {
  char text[kNumberRoom];
  return std::string(text, PutGeneral6(text, v));
}

std::string Printf(const char* format, float v) {
  char text[400];
  std::snprintf(text, sizeof text, format, static_cast<double>(v));
  return text;
}

}  // namespace

TEST(NumberFormat, Examples) {
  EXPECT_EQ(Fixed(96.0f), "96.000000");
  EXPECT_EQ(Fixed(-0.0f), "-0.000000");
  EXPECT_EQ(Fixed(-1e-9f), "-0.000000");
  EXPECT_EQ(Fixed(0.125f), "0.125000");
  EXPECT_EQ(Fixed(0.0000005f), Printf("%f", 0.0000005f));
  EXPECT_EQ(General(128.0f), "128");
  EXPECT_EQ(General(32.5f), "32.5");
  EXPECT_EQ(General(1048576.0f), "1.04858e+06");
  EXPECT_EQ(General(0.00001f), "1e-05");
  EXPECT_EQ(General(-0.0f), "-0");
}

TEST(NumberFormat, NonFiniteValuesAreWrittenAsZero) {
  EXPECT_EQ(Fixed(std::numeric_limits<float>::quiet_NaN()), "0.000000");
  EXPECT_EQ(Fixed(-std::numeric_limits<float>::infinity()), "0.000000");
  EXPECT_EQ(General(std::numeric_limits<float>::infinity()), "0");
}

TEST(NumberFormat, SameTextAsPrintfForEveryKindOfFloat) {
  // Random bit patterns cover every exponent; the scaled ones the range that
  // the models use, with its ties and halves.
  Xorshift32 random(2463534242u);
  auto next = [&random] { return random.Next(); };
  for (int i = 0; i < 300000; ++i) {
    uint32_t bits = next();
    float v = 0.0f;
    std::memcpy(&v, &bits, sizeof v);
    if (!std::isfinite(v)) continue;
    ASSERT_EQ(Fixed(v), Printf("%f", v)) << bits;
    ASSERT_EQ(General(v), Printf("%g", v)) << bits;
    const float m = static_cast<float>(static_cast<int32_t>(next() % 2000001u) - 1000000) / 1024.0f;
    ASSERT_EQ(Fixed(m), Printf("%f", m)) << m;
    ASSERT_EQ(General(m), Printf("%g", m)) << m;
    const float t = static_cast<float>(static_cast<int32_t>(next() % 200001u) - 100000) * 0.0000005f;
    ASSERT_EQ(Fixed(t), Printf("%f", t)) << t;
  }
}

TEST(NumberFormat, TenSignificantDigitsAsPrintfWritesThem) {
  Xorshift32 random(88675123u);
  auto next = [&random] { return random.Next(); };
  auto check = [](float v) {
    char text[kFloatTextSize];
    const std::string ours(text, WriteGeneral(text, v, 10));
    const std::string theirs = Printf("%.10g", v);
    ASSERT_EQ(ours, theirs) << v;
    const size_t point = theirs.find('.');
    ASSERT_EQ(GeneralDecimals(v, 10), point == std::string::npos ? 0 : static_cast<int>(theirs.size() - point - 1)) << v;
  };
  for (float v : {9999999999.0f, 0.001f, 0.0009765625f, 123.12109375f, 1e10f, -2997.0703125f, 0.5f}) check(v);
  for (int i = 0; i < 300000; ++i) {
    uint32_t bits = next();
    float v = 0.0f;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) check(v);
    check(static_cast<float>(static_cast<int32_t>(next() % 20000001u) - 10000000) / 8192.0f);
  }
}
