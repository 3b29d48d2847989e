// Trigonometric functions computed with IEEE double arithmetic only.
//
// The C library's acos, sin and cos give different last bits in the 32-bit
// and the 64-bit build, which would make the two executables write different
// files. These functions use nothing but additions, multiplications,
// divisions and square roots, which SSE rounds identically on both, and are
// accurate to about one unit in the last place.
#pragma once

namespace kvmath {

double Acos(double x);
double Sin(double x);
double Cos(double x);

// Single-precision versions: the double result rounded to float once.
float Acosf(float x);
float Sinf(float x);

// static_cast<float>(Sin(Acos(c))), the same float in every case, mostly
// taken from sqrt((1 - c)(1 + c)) without the two series.
float SinOfAcosToFloat(double c);

}  // namespace kvmath
