#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "generation/Brush.h"
#include "generation/CleanUp.h"
#include "generation/Texturize.h"
#include "settings/Settings.h"
#include "support/Random.h"
#include "support/GlobalState.h"

namespace {

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The reduction as the two plain loops, each step rounded to float.
float PlainLoops(float x, float size) {
  while (x < 0.0f) x = x + size;
  while (x >= size) x = x - size;
  return x;
}

}  // namespace

using MiniShiftAgreement = GlobalStateTest;

// Shifts below 2^24 are reduced by one exact remainder; it must give what
// the plain loops give, for every size and up to the end of that range.
TEST_F(MiniShiftAgreement, RemainderBelowTwoToTheTwentyFourGivesThePlainLoopsResult) {
  maxV = 4;
  face f;
  f.texId = SlotOuter;
  Xorshift32 random(2463534242u);
  auto next = [&random] { return random.Next(); };
  const int sizes[] = {1, 3, 16, 64, 96, 100, 128, 256, 1000, 4096, 65536, 1 << 20};
  int compared = 0;
  for (const int size : sizes) {
    BuildSizeX[SlotOuter] = size;
    for (int i = 0; i < 20000; ++i) {
      // Magnitudes up to a few thousand sizes, fractions of every scale, and
      // shifts right below 2^24, at a multiple of the size or next to one.
      const uint32_t r = next();
      float shift = static_cast<float>(std::ldexp(static_cast<double>(r >> 8), -static_cast<int>(next() % 40)));
      if (shift > 2000.0f * size) shift = std::fmod(shift, 2000.0f * size);
      if (i % 5 == 1) shift = static_cast<float>(size) * static_cast<float>(next() % 2000);
      if (i % 5 == 2 && size >= 4096) shift = std::nextafter(0x1p24f, 0.0f) - static_cast<float>(next() % 64);
      // The floats right next to a multiple of the size.
      const float multiple = static_cast<float>(size) * static_cast<float>(1 + next() % 2000);
      if (i % 5 == 3) shift = std::nextafter(multiple, 0.0f);
      if (i % 5 == 4) shift = std::nextafter(multiple, 0x1p30f);
      if (r & 1u) shift = -shift;
      f.shiftX = shift;
      MiniShift(f, hor);
      ASSERT_TRUE(SameBits(f.shiftX, PlainLoops(shift, static_cast<float>(size))))
          << std::hexfloat << shift << " size " << size << ": " << f.shiftX;
      ++compared;
    }
  }
  EXPECT_EQ(compared, 240000);
}
