#include "generation/FloatText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

// Every fast path below rests on two facts. A float widened to double has at
// most 24 significant bits, so multiplied by 10^k it stays exact while 5^k
// fits into the 29 bits left, that is for k <= 12. And rounding that exact
// product to a whole number, ties to even, is exactly the rounding that
// printf applies to the exact decimal value. Values outside the fast paths
// go to the standard library's formatting, which gives printf's text too.

namespace {

constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13};
constexpr uint64_t kPow10Int[] = {1ull,
                                  10ull,
                                  100ull,
                                  1000ull,
                                  10000ull,
                                  100000ull,
                                  1000000ull,
                                  10000000ull,
                                  100000000ull,
                                  1000000000ull,
                                  10000000000ull,
                                  100000000000ull,
                                  1000000000000ull,
                                  10000000000000ull,
                                  100000000000000ull,
                                  1000000000000000ull,
                                  10000000000000000ull,
                                  100000000000000000ull,
                                  1000000000000000000ull,
                                  10000000000000000000ull};
// The doubles nearest to 10^0 .. 10^-4. No float lies between one of them and
// the power of ten it stands for, so they order floats correctly.
constexpr double kPow10Neg[] = {1.0, 1e-1, 1e-2, 1e-3, 1e-4};

constexpr int kExactScale = 12;
// Below this a scaled value's whole part fits the 53 bits of a double.
constexpr double kExactWhole = 4.0e15;
// Floats below this in magnitude that are whole numbers print as integers.
constexpr float kWholeLimit = 1.0e6f;

constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

char* Fallback(char* out, float value, std::chars_format format, int precision) {
  return std::to_chars(out, out + kFloatTextSize, static_cast<double>(value), format, precision).ptr;
}

// The whole number nearest to a >= 0 (a < 2^53), ties to even.
uint64_t RoundHalfEven(double a) {
  int64_t n = static_cast<int64_t>(a);
  const double rest = a - static_cast<double>(n);
  if (rest > 0.5 || (rest == 0.5 && (n & 1) != 0)) ++n;
  return static_cast<uint64_t>(n);
}

void PutPair(char* out, unsigned pair) { std::memcpy(out, kPairs + 2 * pair, 2); }

// Writes the last `count` digits of n, with leading zeros.
char* WriteFixedDigits(char* out, uint64_t n, int count) {
  char* p = out + count;
  while (p - out >= 2) {
    p -= 2;
    PutPair(p, static_cast<unsigned>(n % 100));
    n /= 100;
  }
  if (p > out) *--p = static_cast<char>('0' + n % 10);
  return out + count;
}

// Writes n < 10^6 as six digits.
char* WriteSixDigits(char* out, uint32_t n) {
  PutPair(out, n / 10000);
  PutPair(out + 2, (n / 100) % 100);
  PutPair(out + 4, n % 100);
  return out + 6;
}

// Writes n < 10^6 without leading zeros.
char* WriteSmall(char* out, uint32_t n) {
  if (n < 10) {
    *out = static_cast<char>('0' + n);
    return out + 1;
  }
  if (n < 100) {
    PutPair(out, n);
    return out + 2;
  }
  if (n < 1000) {
    *out = static_cast<char>('0' + n / 100);
    PutPair(out + 1, n % 100);
    return out + 3;
  }
  if (n < 10000) {
    PutPair(out, n / 100);
    PutPair(out + 2, n % 100);
    return out + 4;
  }
  if (n < 100000) {
    *out = static_cast<char>('0' + n / 10000);
    PutPair(out + 1, (n / 100) % 100);
    PutPair(out + 3, n % 100);
    return out + 5;
  }
  return WriteSixDigits(out, n);
}

// The decimal exponent X with 10^X <= a < 10^(X + 1), for 10^-4 <= a < 10^14.
int DecimalExponent(double a) {
  if (a < 1.0) {
    int x = -1;
    while (a < kPow10Neg[-x]) --x;
    return x;
  }
  int x = 0;
  while (x + 1 < 14 && a >= kPow10[x + 1]) ++x;
  return x;
}

// A whole number below 10^6 in magnitude: both notations write it as an
// integer ("%f" followed by ".000000").
bool IsSmallWhole(float value) {
  return std::fabs(value) < kWholeLimit && static_cast<float>(static_cast<int32_t>(value)) == value;
}

char* WriteSmallWhole(char* out, float value) {
  if (std::signbit(value)) *out++ = '-';
  return WriteSmall(out, static_cast<uint32_t>(std::fabs(value)));
}

// The value rounded to `precision` significant digits as digits and decimal
// exponent, when the fast path applies (10^-4 <= |value|, exponent below the
// precision, product exact); false otherwise.
bool SignificantDigits(float value, int precision, uint64_t& digits, int& exponent) {
  const double a = std::fabs(static_cast<double>(value));
  if (!(a >= 1e-4) || !(a < 1e13) || precision > 13) return false;
  int x = DecimalExponent(a);
  if (x >= precision || precision - 1 - x > kExactScale) return false;
  digits = RoundHalfEven(a * kPow10[precision - 1 - x]);
  if (digits >= kPow10Int[precision]) {  // the rounding carried into a new digit
    ++x;
    if (x >= precision) return false;
    digits = RoundHalfEven(a * kPow10[precision - 1 - x]);
  }
  exponent = x;
  return true;
}

// Drops the trailing zeros of the decimals; returns how many decimals stay.
int StripZeros(uint64_t& digits, int decimals) {
  while (decimals > 0 && digits % 10 == 0) {
    digits /= 10;
    --decimals;
  }
  return decimals;
}

char* WriteDigitsWithPoint(char* p, uint64_t digits, int decimals) {
  if (decimals == 0) return WriteUnsigned(p, digits);
  const uint64_t scale = kPow10Int[decimals];
  p = WriteUnsigned(p, digits / scale);
  *p++ = '.';
  return WriteFixedDigits(p, digits % scale, decimals);
}

}  // namespace

char* WriteUnsigned(char* out, unsigned long long n) {
  if (n < 1000000) return WriteSmall(out, static_cast<uint32_t>(n));
  int count = 7;
  while (count < 20 && n >= kPow10Int[count]) ++count;
  return WriteFixedDigits(out, n, count);
}

char* WriteGeneral(char* out, float value, int precision) {
  if (precision >= 6 && IsSmallWhole(value)) return WriteSmallWhole(out, value);
  uint64_t digits = 0;
  int x = 0;
  if (!SignificantDigits(value, precision, digits, x)) return Fallback(out, value, std::chars_format::general, precision);
  const int decimals = StripZeros(digits, precision - 1 - x);
  if (std::signbit(value)) *out++ = '-';
  return WriteDigitsWithPoint(out, digits, decimals);
}

char* WriteGeneral6(char* out, float value) {
  if (IsSmallWhole(value)) return WriteSmallWhole(out, value);
  uint64_t digits = 0;
  int x = 0;
  if (!SignificantDigits(value, 6, digits, x)) return Fallback(out, value, std::chars_format::general, 6);
  int decimals = StripZeros(digits, 5 - x);
  if (std::signbit(value)) *out++ = '-';
  if (x < 0) {  // 0.000ddd: the digits follow the point and -x - 1 zeros
    *out++ = '0';
    *out++ = '.';
    for (int i = 0; i < -x - 1; ++i) *out++ = '0';
    return WriteFixedDigits(out, digits, decimals + x + 1);
  }
  uint32_t n = static_cast<uint32_t>(digits);
  const uint32_t scale = static_cast<uint32_t>(kPow10Int[decimals]);
  out = WriteSmall(out, n / scale);
  if (decimals == 0) return out;
  *out++ = '.';
  return WriteFixedDigits(out, n % scale, decimals);
}

char* WriteFixed6(char* out, float value) {
  if (IsSmallWhole(value)) {
    out = WriteSmallWhole(out, value);
    std::memcpy(out, ".000000", 7);
    return out + 7;
  }
  const double scaled = std::fabs(static_cast<double>(value)) * 1.0e6;
  if (!(scaled < kExactWhole)) return Fallback(out, value, std::chars_format::fixed, 6);
  const uint64_t n = RoundHalfEven(scaled);
  if (std::signbit(value)) *out++ = '-';
  const uint64_t whole = n / 1000000;
  out = WriteUnsigned(out, whole);
  *out++ = '.';
  return WriteSixDigits(out, static_cast<uint32_t>(n - whole * 1000000));
}

int GeneralDecimals(float value, int precision) {
  if (precision >= 6 && IsSmallWhole(value)) return 0;
  uint64_t digits = 0;
  int x = 0;
  if (SignificantDigits(value, precision, digits, x)) return StripZeros(digits, precision - 1 - x);
  char text[kFloatTextSize];
  const char* end = Fallback(text, value, std::chars_format::general, precision);
  const char* point = std::find(static_cast<const char*>(text), end, '.');
  return point == end ? 0 : static_cast<int>(end - point - 1);
}
