#include "export/NumberFormat.h"

#include <charconv>
#include <cmath>

namespace {

// The writers never receive a NaN or an infinity from the builders; should
// one slip through, it is written as 0 so that no file ever holds one.
double Printable(float value) { return std::isfinite(value) ? static_cast<double>(value) : 0.0; }

// Below this, value times 10^6 rounded to a whole number fits the 53 bits of
// a double's mantissa and a 64-bit integer.
constexpr double kFastFixedLimit = 4.0e15;

void AppendChars(std::string& out, double value, std::chars_format format, int precision) {
  char text[400];
  const std::to_chars_result r = std::to_chars(text, text + sizeof text, value, format, precision);
  out.append(text, r.ptr);
}

}  // namespace

void AppendFixed6(std::string& out, float value) {
  const double v = Printable(value);
  // A float widened to double has at most 24 significant bits and 10^6 needs
  // 14 more, so the product is exact; rounding it to a whole number, ties to
  // even, is exactly the rounding that "%f" makes.
  const double scaled = v * 1.0e6;
  if (!(std::fabs(scaled) < kFastFixedLimit)) {
    AppendChars(out, v, std::chars_format::fixed, 6);
    return;
  }
  const double rounded = std::nearbyint(std::fabs(scaled));
  unsigned long long n = static_cast<unsigned long long>(rounded);
  char text[32];
  char* p = text + sizeof text;
  for (int i = 0; i < 6; ++i) {
    *--p = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  *--p = '.';
  do {
    *--p = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  if (std::signbit(v)) *--p = '-';
  out.append(p, text + sizeof text);
}

void AppendGeneral6(std::string& out, float value) {
  AppendChars(out, Printable(value), std::chars_format::general, 6);
}
