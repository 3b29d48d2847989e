#include "settings/Names.h"

namespace {

bool IsControl(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return u < 0x20 || u == 0x7f;
}

}  // namespace

bool IsTextureNameValid(const std::string& name) {
  if (name.empty() || name.size() > kMaxTextureName) return false;
  if (name.compare(0, 2, "//") == 0) return false;
  for (const char c : name)
    if (IsControl(c)) return false;
  return true;
}

bool IsFileNameValid(const std::string& name) { return name.find('\0') == std::string::npos; }
