// Number formatting for the writers.
#pragma once

#include <cstdint>
#include <memory>

#include "generation/FloatText.h"

// Room that one number needs in a buffer.
constexpr int kNumberRoom = kFloatTextSize;

// Writes the value widened to double in fixed notation with six decimals, as
// "%f" writes it ("-0.000000" for a negative zero); returns the end.
char* PutFixed6(char* out, float value);
// Writes the value widened to double in general notation with six
// significant digits, as "%g" writes it (128, 32.5, 1e-05, -0); returns the end.
char* PutGeneral6(char* out, float value);

// The texts of numbers written recently, by the bits of the float. A model's
// numbers repeat from face to face (every vertex is shared by several faces,
// axes and scales by most), and finding a text costs a fraction of writing
// it. One cache serves one notation.
struct NumberCache {
  using Writer = char* (*)(char*, float);

  explicit NumberCache(Writer writer);
  // Writes the value as the cache's writer does; returns the end.
  char* Put(char* out, float value);

  struct Entry {
    uint32_t bits = 0;
    uint8_t length = 0;  // 0: empty
    char text[27] = {};
  };
  static constexpr int kBits = 14;

  Writer write;
  std::unique_ptr<Entry[]> entries;
};
