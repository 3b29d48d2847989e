#include <gtest/gtest.h>

#include <string>

#include "settings/Names.h"

TEST(Names, TextureNames) {
  struct Case {
    std::string name;
    bool valid;
  };
  const Case cases[] = {
      // What Quake textures use.
      {"TNNL_W1218", true},
      {"*water1", true},
      {"+0button", true},
      {"+abutton", true},
      {"{grate", true},
      {"sky-dark_2", true},
      {"a/b", true},
      {"\xc3\xa9t\xc3\xa9", true},  // bytes of 0x80 and above
      {std::string(kMaxTextureName, 'x'), true},
      // What breaks a face line or bounds memory.
      {"", false},
      {std::string(kMaxTextureName + 1, 'x'), false},
      {"//comment", false},
      {"//", false},
      {std::string("a\0b", 3), false},
      {"a\tb", false},
      {"a\rb", false},
      {"a\nb", false},
      {"a\x01", false},
      {"\x1b[0m", false},
      {"a\x7f", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsTextureNameValid(c.name), c.valid) << c.name;
}

TEST(Names, FileNames) {
  EXPECT_TRUE(IsFileNameValid("tube"));
  EXPECT_TRUE(IsFileNameValid(""));
  EXPECT_TRUE(IsFileNameValid("a\rb"));
  EXPECT_FALSE(IsFileNameValid(std::string("a\0b", 3)));
  EXPECT_FALSE(IsFileNameValid(std::string("\0", 1)));
}
