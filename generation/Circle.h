// The grid-aligned circle polygon and the vertex rings made from it.
#pragma once

#include "generation/Vertex.h"

// Room for the largest ring: 192 corners with four symmetry points, and more.
constexpr int CircleCapacity = 384;

// A polygon of res corners in entries 0 .. res - 1, entry res repeating
// entry 0; the other entries are zero.
struct circle {
  float x[CircleCapacity] = {};
  float y[CircleCapacity] = {};
};

// A ring of vertices at one height made from a circle.
struct Vcircle {
  vertex v[CircleCapacity];

  // v[i] = (c.x[i], c.y[i], z) for every entry.
  void CreateVcircle(const circle& c, float z);
  // Inserts the midpoints of the four edges that cross the axes into a ring of
  // n corners (n a multiple of 4), giving n + 4 corners without closing copy.
  void AddSym(int n);
};

// The polygon of res corners (12, 24, 48, 96 or 192) for the radius rad;
// raises CurrentDeci to the decimal places of its coordinates.
circle build_circle(int res, int rad);
// The resolution level: 1 for 12, 2 for 24, ... 5 for 192; 0 below 12.
int reduce(int res);
// a to the power n in 32-bit integer arithmetic; n < 0 gives a.
int n_pow(int a, int n);
// The number of characters after the point of the value written with ten
// significant digits in general notation.
int DeciPlaces(float value);
// a halved once for every whole number below b.
float BisectByX(float a, float b);
