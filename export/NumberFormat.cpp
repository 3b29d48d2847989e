#include "export/NumberFormat.h"

#include <cmath>
#include <cstring>

namespace {

// The writers never receive a NaN or an infinity from the builders; should
// one slip through, it is written as 0 so that no file ever holds one.
float Printable(float value) { return std::isfinite(value) ? value : 0.0f; }

}  // namespace

char* PutFixed6(char* out, float value) { return WriteFixed6(out, Printable(value)); }

char* PutGeneral6(char* out, float value) { return WriteGeneral6(out, Printable(value)); }

NumberCache::NumberCache(Writer writer)
    : write(writer), entries(std::make_unique<Entry[]>(static_cast<size_t>(1) << kBits)) {}

char* NumberCache::Put(char* out, float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  Entry& e = entries[(bits * 2654435761u) >> (32 - kBits)];
  if (e.length != 0 && e.bits == bits) {
    std::memcpy(out, e.text, sizeof e.text);
    return out + e.length;
  }
  char* end = write(out, value);
  const size_t length = static_cast<size_t>(end - out);
  if (length <= sizeof e.text) {
    e.bits = bits;
    e.length = static_cast<uint8_t>(length);
    std::memcpy(e.text, out, length);
  }
  return end;
}
