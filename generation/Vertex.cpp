#include "generation/Vertex.h"

#include <cmath>

void equation::subtractEQ(const equation& e) {
  a -= e.a;
  b -= e.b;
  c -= e.c;
  d -= e.d;
}

void equation::divide(float f) {
  a /= f;
  b /= f;
  c /= f;
  d /= f;
}

void equation::multiply(float f) {
  a *= f;
  b *= f;
  c *= f;
  d *= f;
}

bool equation::IsEqual(const equation& e) const {
  return std::floor(a) == std::floor(e.a) && std::floor(b) == std::floor(e.b) &&
         std::floor(c) == std::floor(e.c) && std::floor(d) == std::floor(e.d);
}

bool equation::IsValid() const {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

std::ostream& operator<<(std::ostream& os, const equation& e) {
  return os << "[ " << e.a << ", " << e.b << " = " << e.c << ", " << e.d << " ]";
}

std::ostream& operator<<(std::ostream& os, const vertex& v) {
  return os << "( " << v.x << " " << v.y << " " << v.z << " )";
}

std::ostream& operator<<(std::ostream& os, const vector& v) {
  return os << "( " << v.x << " " << v.y << " " << v.z << " )";
}
