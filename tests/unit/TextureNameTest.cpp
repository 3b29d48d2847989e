// Faces share their texture names: a build holds each name once, so its
// memory does not grow with the length of the names.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "generation/Brush.h"
#include "generation/Generate.h"
#include "settings/Settings.h"
#include "settings/Shape.h"
#include "support/GlobalState.h"

namespace {

class TextureNameSharingTest : public ResetSettingsTest, public ::testing::WithParamInterface<shape> {};

// Every slot gets a long name of its own: a face holding its own copy would
// show as another address.
TEST_P(TextureNameSharingTest, EveryNameIsHeldOnce) {
  SetShape(GetParam());
  tex1 = std::string(200, '1');
  tex2 = std::string(200, '2');
  tex3 = std::string(200, '3');
  texn = std::string(200, 'n');
  Sym = Tri = true;
  ASSERT_TRUE(Generate());
  std::set<const std::string*> copies;
  for (int b = 0; b < Group->bcount; ++b)
    for (int i = 0; i < Group->brushes[b].fcount; ++i) copies.insert(&Group->brushes[b].faces[i].texture.str());
  std::set<std::string> names;
  for (const std::string* name : copies) names.insert(*name);
  EXPECT_EQ(copies.size(), names.size()) << "a name is held more than once";
}

INSTANTIATE_TEST_SUITE_P(Shapes, TextureNameSharingTest,
                         ::testing::Values(cylinder, arch, torus, htorus, sphere));

TEST(TextureNameTest, NewFacesShareNullAndCopiesShareTheirName) {
  const face a;
  const face b;
  EXPECT_EQ(a.texture, "NULL");
  EXPECT_EQ(&a.texture.str(), &b.texture.str());
  face c;
  c.texture = TextureName("WALL");
  face d;
  d.CopyFace(c);
  EXPECT_EQ(d.texture, "WALL");
  EXPECT_EQ(&c.texture.str(), &d.texture.str());
}

}  // namespace
