// The texture name of a face. Every face that carries a name shares one copy
// of it, so a build holds each name once, however many faces it has and
// however long the name is.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "settings/Settings.h"

class TextureName {
 public:
  // "NULL", the name of a new face; all such faces share one copy.
  TextureName();
  // A copy of the name of its own; faces that should share it copy this.
  explicit TextureName(const std::string& name);

  const std::string& str() const { return *name_; }

 private:
  std::shared_ptr<const std::string> name_;
};

inline bool operator==(const TextureName& a, const std::string& b) { return a.str() == b; }
inline bool operator==(const TextureName& a, const char* b) { return a.str() == b; }
inline bool operator==(const TextureName& a, const TextureName& b) { return a.str() == b.str(); }
inline bool operator!=(const TextureName& a, const std::string& b) { return !(a == b); }
inline bool operator!=(const TextureName& a, const char* b) { return !(a == b); }
inline bool operator!=(const TextureName& a, const TextureName& b) { return !(a == b); }
inline std::ostream& operator<<(std::ostream& out, const TextureName& name) { return out << name.str(); }

// The names of the texture slots for the build under way: the outer body,
// inner body and floor textures and the hidden texture (SlotNull), each taken
// once from the settings when the build starts.
void UseSettingsTextureNames();
const TextureName& BuildTexture(int slot);
