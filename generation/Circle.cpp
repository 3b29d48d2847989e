#include "generation/Circle.h"

#include <cstdint>

#include "generation/FloatText.h"
#include "generation/VectorMath.h"
#include "settings/Settings.h"

void Vcircle::CreateVcircle(const circle& c, float z) {
  for (int i = 0; i < CircleCapacity; ++i) {
    v[i].x = c.x[i];
    v[i].y = c.y[i];
    v[i].z = z;
  }
}

void Vcircle::AddSym(int n) {
  if (n < 4 || n + 4 > CircleCapacity) return;
  vertex corners[CircleCapacity];
  for (int i = 0; i < n; ++i) corners[i] = v[i];
  vertex axisPoints[4];
  for (int k = 0; k < 4; ++k) {
    const int j = k * (n / 4);
    const int before = (k == 0) ? n - 1 : j - 1;
    axisPoints[k] = GetMVertex(corners[before], corners[j]);
  }
  const int m = (n + 4) / 4;
  int placed = 0;
  int next = 0;
  for (int o = 0; o < n + 4; ++o) {
    if (placed < 4 && o == m * placed) {
      v[o] = axisPoints[placed++];
    } else {
      v[o] = corners[next++];
    }
  }
}

namespace {

// Raises CurrentDeci to the decimal places of a coordinate just stored.
void MeasureDecimals(float coordinate) {
  const int places = DeciPlaces(coordinate);
  if (places > CurrentDeci) CurrentDeci = places;
}

}  // namespace

circle build_circle(int res, int rad) {
  circle c;
  if (!IsResValid(res)) return c;
  const int q = res / 12;
  const int L = reduce(res);
  const float r = static_cast<float>(static_cast<double>(rad) / 128.0);
  const float d = static_cast<float>((128.0 / n_pow(4, L)) * r);

  // Second differences in five runs.
  float ddx[CircleCapacity] = {};
  float ddy[CircleCapacity] = {};
  {
    const int lengths[5] = {q, 4 * q, 2 * q, 4 * q, res};
    const float values[5] = {0.0f, -d, 0.0f, d, 0.0f};
    int i = 0;
    for (int run = 0; run < 5; ++run)
      for (int n = 0; n < lengths[run] && i < res; ++n) ddx[i++] = values[run];
  }
  {
    const int lengths[5] = {2 * q, 2 * q, 4 * q, 2 * q, res};
    const float values[5] = {-d, 0.0f, d, 0.0f, -d};
    int i = 0;
    for (int run = 0; run < 5; ++run)
      for (int n = 0; n < lengths[run] && i < res; ++n) ddy[i++] = values[run];
  }

  // First differences: float additions.
  float dx[CircleCapacity] = {};
  float dy[CircleCapacity] = {};
  dx[0] = static_cast<float>((64.0 / n_pow(2, L - 1)) * r);
  dy[0] = static_cast<float>((-32.0 / n_pow(4, L - 1)) * r);
  for (int i = 1; i < res; ++i) {
    dx[i] = dx[i - 1] + ddx[i];
    dy[i] = dy[i - 1] + ddy[i];
  }

  // Corners: float additions, all x first, then all y.
  c.x[0] = static_cast<float>(static_cast<double>(r) * 32.0 / q);
  c.y[0] = static_cast<float>(rad);
  for (int i = 1; i <= res; ++i) {
    c.x[i] = c.x[i - 1] + dx[i - 1];
    MeasureDecimals(c.x[i]);
  }
  for (int i = 1; i <= res; ++i) {
    c.y[i] = c.y[i - 1] + dy[i - 1];
    MeasureDecimals(c.y[i]);
  }
  return c;
}

int reduce(int res) {
  if (res == 12) return 1;
  int count = 0;
  for (long long v = 12; v <= res; v *= 2) ++count;
  return count;
}

int n_pow(int a, int n) {
  if (n == 1) return a;
  if (n == 0) return 1;
  // 32-bit arithmetic that wraps instead of overflowing.
  uint32_t result = static_cast<uint32_t>(a);
  for (int i = 1; i < n; ++i) result *= static_cast<uint32_t>(a);
  return static_cast<int>(result);
}

int DeciPlaces(float value) {
  // Ten significant digits in general notation, as "%.10g" writes them.
  return GeneralDecimals(value, 10);
}

float BisectByX(float a, float b) {
  // After 400 halvings every finite float is zero and stays so; an infinite
  // or NaN value never changes: stopping there gives the same result.
  constexpr int kEnough = 400;
  for (int i = 0; i < b && i < kEnough; ++i) a = a / 2.0f;
  return a;
}
