#include "export/NumberFormat.h"

#include <cmath>
#include <cstdio>

namespace {

// The writers never receive a NaN or an infinity from the builders; should
// one slip through, it is written as 0 so that no file ever holds one.
double Printable(float value) { return std::isfinite(value) ? static_cast<double>(value) : 0.0; }

}  // namespace

void AppendFixed6(std::string& out, float value) {
  char text[64];
  const int n = std::snprintf(text, sizeof text, "%f", Printable(value));
  out.append(text, static_cast<size_t>(n));
}

void AppendGeneral6(std::string& out, float value) {
  char text[32];
  const int n = std::snprintf(text, sizeof text, "%g", Printable(value));
  out.append(text, static_cast<size_t>(n));
}
