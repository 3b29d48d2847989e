// Point, direction and equation-row types of the geometry.
#pragma once

#include <ostream>

// A point in map units; z is up.
struct vertex {
  float x = 0.0f, y = 0.0f, z = 0.0f;
};

// A direction or an edge.
struct vector {
  float x = 0.0f, y = 0.0f, z = 0.0f;

  // Negates the vector in place and returns the negated value. A zero
  // component becomes a negative zero, which the map writer prints signed.
  vector flip() {
    x = -x;
    y = -y;
    z = -z;
    return *this;
  }
};

// One row a, b, c, d of a small linear system (used by the shift solver).
struct equation {
  float a = 0.0f, b = 0.0f, c = 0.0f, d = 0.0f;

  void subtractEQ(const equation& e);
  void divide(float f);
  void multiply(float f);
  // Equal when the floors of all four components agree; a NaN equals nothing.
  bool IsEqual(const equation& e) const;
  // False when a component is NaN or infinite.
  bool IsValid() const;
};

std::ostream& operator<<(std::ostream& os, const equation& e);
std::ostream& operator<<(std::ostream& os, const vertex& v);
std::ostream& operator<<(std::ostream& os, const vector& v);
