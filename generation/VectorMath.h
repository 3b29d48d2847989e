// Free functions over vertex and vector. "In double" below means that every
// float component is widened to double before the arithmetic and that every
// intermediate value is a double; a float result is rounded once, when stored.
#pragma once

#include "generation/Vertex.h"

// The nine-digit value of pi that converts between degrees and radians.
constexpr double DegreePi = 3.14159265;

// True unless the value is NaN or infinite.
bool IsValid(float value);
// b - a, each component a float subtraction.
vector GetVector(const vertex& a, const vertex& b);
// a . b in double.
double GetDot(const vector& a, const vector& b);
// a x b, each component in double and rounded to float once.
vector GetCross(const vector& a, const vector& b);
// sqrt(x^2 + y^2 + z^2) in double.
double GetVecLen(const vector& v);
// v times the reciprocal of its length; the zero vector gives NaN components.
vector Normalize(const vector& v);
// The angle between a and b in degrees, unclamped (NaN beyond acos' domain).
float GetVecAng(const vector& a, const vector& b);
// The midpoint of a and b.
vertex GetMVertex(const vertex& a, const vertex& b);
// i + k + 1, less n when i + k >= n.
int AnyoneButMe(int n, int i, int k);
