#include "generation/PortableMath.h"

#include <cmath>
#include <limits>

namespace kvmath {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// pi/2 and pi split into a leading double and the rest.
constexpr double kPio2Hi = 1.57079632679489655800e+00;
constexpr double kPio2Lo = 6.12323399573676603587e-17;
constexpr double kPiHi = 3.14159265358979311600e+00;
constexpr double kPiLo = 1.22464679914735317720e-16;

// Coefficients c[n] = (2n)! / (4^n (n!)^2 (2n + 1)) of asin z = sum c[n] z^(2n+1).
constexpr int kAsinTerms = 32;
struct AsinTable {
  double c[kAsinTerms];
  constexpr AsinTable() : c() {
    double t = 1.0;  // (2n)! / (4^n (n!)^2)
    c[0] = 1.0;
    for (int n = 1; n < kAsinTerms; ++n) {
      t = t * (2.0 * n - 1.0) / (2.0 * n);
      c[n] = t / (2.0 * n + 1.0);
    }
  }
};
constexpr AsinTable kAsin;

// asin z for |z| <= 0.5, where the series converges by a factor 4 a term.
double AsinSmall(double z) {
  const double z2 = z * z;
  double p = kAsin.c[kAsinTerms - 1];
  for (int n = kAsinTerms - 2; n >= 1; --n) p = p * z2 + kAsin.c[n];
  return z + z * (z2 * p);
}

// pi/2 in three parts for the reduction x - k pi/2; the first part has 33
// significant bits, so k times it is exact for every k used here.
constexpr double kPio2_1 = 1.57079632673412561417e+00;
constexpr double kPio2_1t = 6.07710050650619224932e-11;
constexpr double kTwoOverPi = 6.36619772367581382433e-01;

// sin r and cos r for |r| <= pi/4 from their Taylor series.
double SinKernel(double r) {
  const double r2 = r * r;
  double p = 0.0;
  // Terms down to r^27 / 27!, far below the last place for |r| <= pi/4.
  for (int n = 27; n >= 3; n -= 2) p = (p + 1.0) * (-r2 / (n * (n - 1.0)));
  return r + r * p;
}

double CosKernel(double r) {
  const double r2 = r * r;
  double p = 0.0;
  for (int n = 26; n >= 4; n -= 2) p = (p + 1.0) * (-r2 / (n * (n - 1.0)));
  // cos r = 1 - r2/2 + r2/2 * (-p), summed small terms first.
  const double h = 0.5 * r2;
  return 1.0 - (h + h * p);
}

// Reduces x to r in [-pi/4, pi/4] with x = r + k pi/2; returns k mod 4.
int Reduce(double x, double& r) {
  const double k = std::nearbyint(x * kTwoOverPi);
  r = (x - k * kPio2_1) - k * kPio2_1t;
  const long long q = static_cast<long long>(k);
  return static_cast<int>(((q % 4) + 4) % 4);
}

// Beyond this the simple reduction loses accuracy; no caller comes near it.
constexpr double kReduceLimit = 1.0e9;

}  // namespace

double Acos(double x) {
  if (!(x >= -1.0 && x <= 1.0)) return kNaN;
  if (x <= 0.5 && x >= -0.5) return kPio2Hi - (AsinSmall(x) - kPio2Lo);
  if (x > 0.5) {
    const double s = std::sqrt((1.0 - x) * 0.5);
    return 2.0 * AsinSmall(s);
  }
  const double s = std::sqrt((1.0 + x) * 0.5);
  return kPiHi - (2.0 * AsinSmall(s) - kPiLo);
}

double Sin(double x) {
  if (!std::isfinite(x) || std::fabs(x) > kReduceLimit) return std::isfinite(x) ? 0.0 : kNaN;
  double r = 0.0;
  switch (Reduce(x, r)) {
    case 0: return SinKernel(r);
    case 1: return CosKernel(r);
    case 2: return -SinKernel(r);
    default: return -CosKernel(r);
  }
}

double Cos(double x) {
  if (!std::isfinite(x) || std::fabs(x) > kReduceLimit) return std::isfinite(x) ? 1.0 : kNaN;
  double r = 0.0;
  switch (Reduce(x, r)) {
    case 0: return CosKernel(r);
    case 1: return -SinKernel(r);
    case 2: return -CosKernel(r);
    default: return SinKernel(r);
  }
}

float Acosf(float x) { return static_cast<float>(Acos(static_cast<double>(x))); }

// sin(acos c) is sqrt(1 - c^2). Sin(Acos(c)) differs from it by the errors of
// the two series and of the reduction, a few units in the last place of a
// double, below 1e-15 over all of [-1, 1] (an error of Acos near pi passes
// into the sine unscaled). The square root of (1 - c)(1 + c) is within about
// 3e-16 of it. So Sin(Acos(c)) lies within kSinAcosMargin, hundreds of
// times these bounds, of the estimate; when both ends of that interval round
// to the same float, Sin(Acos(c)) rounds to it too, rounding being monotonic.
// Otherwise (the estimate close to the midpoint of two floats, results below
// about 1e-5 where the floats lie closer than the margin, c = +-1, NaN and
// values beyond [-1, 1]) the series are evaluated.
constexpr double kSinAcosMargin = 0x1p-40;

float SinOfAcosToFloat(double c) {
  if (c > -1.0 && c < 1.0) {
    const double estimate = std::sqrt((1.0 - c) * (1.0 + c));
    const float low = static_cast<float>(estimate - kSinAcosMargin);
    const float high = static_cast<float>(estimate + kSinAcosMargin);
    if (low == high) return low;
  }
  return static_cast<float>(Sin(Acos(c)));
}

float Sinf(float x) { return static_cast<float>(Sin(static_cast<double>(x))); }

}  // namespace kvmath
