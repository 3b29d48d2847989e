#include "generation/TextureName.h"

namespace {

const std::shared_ptr<const std::string>& NullName() {
  static const auto name = std::make_shared<const std::string>("NULL");
  return name;
}

TextureName buildTextures[SlotNull + 1];

}  // namespace

TextureName::TextureName() : name_(NullName()) {}

TextureName::TextureName(const std::string& name) : name_(std::make_shared<const std::string>(name)) {}

void UseSettingsTextureNames() {
  buildTextures[SlotOuter] = TextureName(tex1);
  buildTextures[SlotInner] = TextureName(tex2);
  buildTextures[SlotFloor] = TextureName(tex3);
  buildTextures[SlotNull] = TextureName(texn);
}

const TextureName& BuildTexture(int slot) { return buildTextures[slot]; }
