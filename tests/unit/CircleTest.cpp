#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "generation/Circle.h"
#include "settings/Settings.h"
#include "support/GlobalState.h"

using CircleTest = GlobalStateTest;

TEST_F(CircleTest, WorkedExampleRes12Rad128) {
  const circle c = build_circle(12, 128);
  const float expected[13][2] = {{32, 128},   {96, 96},     {128, 32},   {128, -32}, {96, -96},
                                 {32, -128},  {-32, -128},  {-96, -96},  {-128, -32}, {-128, 32},
                                 {-96, 96},   {-32, 128},   {32, 128}};
  for (int i = 0; i <= 12; ++i) {
    EXPECT_EQ(c.x[i], expected[i][0]) << i;
    EXPECT_EQ(c.y[i], expected[i][1]) << i;
  }
  EXPECT_EQ(c.x[13], 0.0f);
  EXPECT_EQ(CurrentDeci, 0);
}

TEST_F(CircleTest, SecondExampleRes24Rad100) {
  const circle c = build_circle(24, 100);
  const float expected[7][2] = {{12.5f, 100},    {37.5f, 93.75f}, {62.5f, 81.25f}, {81.25f, 62.5f},
                                {93.75f, 37.5f}, {100, 12.5f},    {100, -12.5f}};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(c.x[i], expected[i][0]) << i;
    EXPECT_EQ(c.y[i], expected[i][1]) << i;
  }
  EXPECT_GE(CurrentDeci, 2);
}

TEST_F(CircleTest, ClosedAndSymmetricAboutBothAxes) {
  for (int res : {12, 24, 48, 96, 192}) {
    for (int rad : {1, 100, 128, 3000}) {
      const circle c = build_circle(res, rad);
      EXPECT_EQ(c.x[res], c.x[0]) << res << " " << rad;
      EXPECT_EQ(c.y[res], c.y[0]) << res << " " << rad;
      for (int i = 0; i < res; ++i) {
        // Mirror in the y axis: corner i and corner res - 1 - i.
        EXPECT_EQ(c.x[i], -c.x[res - 1 - i]) << res << " " << rad << " " << i;
        EXPECT_EQ(c.y[i], c.y[res - 1 - i]) << res << " " << rad << " " << i;
        // Mirror in the x axis: corner i and corner res/2 - 1 - i.
        const int j = (res / 2 - 1 - i + res) % res;
        EXPECT_EQ(c.x[i], c.x[j]) << res << " " << rad << " " << i;
        EXPECT_EQ(c.y[i], -c.y[j]) << res << " " << rad << " " << i;
      }
    }
  }
}

TEST_F(CircleTest, DecimalPlacesPerResolutionAndRadius) {
  struct Case {
    int res, rad, deci;
  };
  const Case cases[] = {{12, 128, 0}, {24, 128, 0}, {48, 128, 0}, {96, 128, 1}, {192, 128, 3},
                        {12, 100, 0}, {24, 100, 2}, {48, 100, 4}, {96, 100, 6}, {192, 100, 8},
                        {192, 1, 10}, {192, 3000, 6}};
  for (const Case& c : cases) {
    CurrentDeci = 0;
    build_circle(c.res, c.rad);
    EXPECT_EQ(CurrentDeci, c.deci) << c.res << " " << c.rad;
  }
}

TEST_F(CircleTest, NeverLowersCurrentDeci) {
  build_circle(192, 128);
  build_circle(12, 128);
  EXPECT_EQ(CurrentDeci, 3);
}

TEST_F(CircleTest, RadiusZeroAndNegative) {
  const circle zero = build_circle(12, 0);
  for (int i = 0; i <= 12; ++i) EXPECT_TRUE(zero.x[i] == 0.0f && zero.y[i] == 0.0f);
  const circle neg = build_circle(12, -128);
  EXPECT_EQ(neg.x[0], -32.0f);
  EXPECT_EQ(neg.y[0], -128.0f);
  EXPECT_EQ(neg.x[3], -128.0f);
}

TEST(DeciPlaces, Examples) {
  EXPECT_EQ(DeciPlaces(32.0f), 0);
  EXPECT_EQ(DeciPlaces(0.125f), 3);
  EXPECT_EQ(DeciPlaces(-96.5f), 1);
  EXPECT_EQ(DeciPlaces(123.12109375f), 7);
  EXPECT_EQ(DeciPlaces(0.0000152587890625f), 13);
  EXPECT_EQ(DeciPlaces(10000000000.0f), 0);
}

TEST(IntegerHelpers, ReduceAndPower) {
  EXPECT_EQ(reduce(12), 1);
  EXPECT_EQ(reduce(24), 2);
  EXPECT_EQ(reduce(192), 5);
  EXPECT_EQ(reduce(11), 0);
  EXPECT_EQ(reduce(2147483647), 28);
  EXPECT_EQ(n_pow(2, 0), 1);
  EXPECT_EQ(n_pow(2, 1), 2);
  EXPECT_EQ(n_pow(2, 3), 8);
  EXPECT_EQ(n_pow(4, 5), 1024);
  EXPECT_EQ(n_pow(2, -1), 2);
}

TEST(BisectByX, Examples) {
  EXPECT_EQ(BisectByX(8.0f, 2.5f), 1.0f);
  EXPECT_EQ(BisectByX(8.0f, 0.0f), 8.0f);
  EXPECT_EQ(BisectByX(8.0f, 1e30f), 0.0f);
}

TEST_F(CircleTest, AddSymInsertsTheAxisPoints) {
  Vcircle ring;
  ring.CreateVcircle(build_circle(12, 128), 5.0f);
  ring.AddSym(12);
  const float expected[16][2] = {{0, 128},    {32, 128},   {96, 96},   {128, 32},  {128, 0},    {128, -32},
                                 {96, -96},   {32, -128},  {0, -128},  {-32, -128}, {-96, -96}, {-128, -32},
                                 {-128, 0},   {-128, 32},  {-96, 96},  {-32, 128}};
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(ring.v[i].x, expected[i][0]) << i;
    EXPECT_EQ(ring.v[i].y, expected[i][1]) << i;
    EXPECT_EQ(ring.v[i].z, 5.0f);
  }
}

TEST_F(CircleTest, AddSymOnRes24PutsAxisPointsAtSevenAndItsMultiples) {
  Vcircle ring;
  ring.CreateVcircle(build_circle(24, 128), 0.0f);
  ring.AddSym(24);
  EXPECT_TRUE(ring.v[0].x == 0.0f && ring.v[0].y == 128.0f);
  EXPECT_TRUE(ring.v[7].x == 128.0f && ring.v[7].y == 0.0f);
  EXPECT_TRUE(ring.v[14].x == 0.0f && ring.v[14].y == -128.0f);
  EXPECT_TRUE(ring.v[21].x == -128.0f && ring.v[21].y == 0.0f);
  EXPECT_EQ(ring.v[1].x, 16.0f);
}

TEST_F(CircleTest, SameBitsInEveryBuild) {
  uint64_t h = 1469598103934665603ull;
  for (int res : {12, 24, 48, 96, 192}) {
    for (int rad : {1, 3, 100, 127, 128, 1000, 3000, 65535}) {
      const circle c = build_circle(res, rad);
      for (int i = 0; i <= res; ++i) {
        uint32_t bx = 0, by = 0;
        std::memcpy(&bx, &c.x[i], 4);
        std::memcpy(&by, &c.y[i], 4);
        h = (h ^ bx) * 1099511628211ull;
        h = (h ^ by) * 1099511628211ull;
      }
    }
  }
  EXPECT_EQ(h, 0x357c89dd2c054c23ull) << std::hex << h;
}
