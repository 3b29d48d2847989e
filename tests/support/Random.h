// Test support: fixed pseudo-random sequences (xorshift), the same numbers on
// every run and in both builds.
#pragma once

#include <cstdint>

// 32-bit values.
struct Xorshift32 {
  uint32_t s;
  explicit Xorshift32(uint32_t seed) : s(seed) {}
  uint32_t Next() {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
  }
};

// Doubles in [0, 1).
struct UnitSequence {
  uint64_t s;
  explicit UnitSequence(uint64_t seed) : s(seed) {}
  double Next() {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return static_cast<double>(s >> 11) / 9007199254740992.0;
  }
};
