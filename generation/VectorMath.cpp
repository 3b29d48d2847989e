#include "generation/VectorMath.h"

#include <cmath>

#include "generation/PortableMath.h"

bool IsValid(float value) { return std::isfinite(value); }

vector GetVector(const vertex& a, const vertex& b) {
  vector v;
  v.x = b.x - a.x;
  v.y = b.y - a.y;
  v.z = b.z - a.z;
  return v;
}

double GetDot(const vector& a, const vector& b) {
  const double xx = static_cast<double>(a.x) * b.x;
  const double yy = static_cast<double>(a.y) * b.y;
  const double zz = static_cast<double>(a.z) * b.z;
  return xx + yy + zz;
}

vector GetCross(const vector& a, const vector& b) {
  const double ax = a.x, ay = a.y, az = a.z;
  const double bx = b.x, by = b.y, bz = b.z;
  vector v;
  v.x = static_cast<float>(ay * bz - az * by);
  v.y = static_cast<float>(az * bx - ax * bz);
  v.z = static_cast<float>(ax * by - ay * bx);
  return v;
}

double GetVecLen(const vector& v) {
  const double x = v.x, y = v.y, z = v.z;
  return std::sqrt(x * x + y * y + z * z);
}

vector Normalize(const vector& v) {
  const double r = 1.0 / GetVecLen(v);
  vector n;
  n.x = static_cast<float>(v.x * r);
  n.y = static_cast<float>(v.y * r);
  n.z = static_cast<float>(v.z * r);
  return n;
}

float GetVecAng(const vector& a, const vector& b) {
  const double c = GetDot(a, b) / (GetVecLen(a) * GetVecLen(b));
  return static_cast<float>(kvmath::Acos(c) * 180.0 / DegreePi);
}

vertex GetMVertex(const vertex& a, const vertex& b) {
  vertex m;
  m.x = static_cast<float>((static_cast<double>(a.x) + b.x) / 2.0);
  m.y = static_cast<float>((static_cast<double>(a.y) + b.y) / 2.0);
  m.z = static_cast<float>((static_cast<double>(a.z) + b.z) / 2.0);
  return m;
}

int AnyoneButMe(int n, int i, int k) {
  const long long sum = static_cast<long long>(i) + k;
  const long long r = sum >= n ? sum + 1 - n : sum + 1;
  return static_cast<int>(r);
}
