// Which names the program takes for textures and output files.
#pragma once

#include <cstddef>
#include <string>

// The longest texture name taken, in bytes.
constexpr std::size_t kMaxTextureName = 255;

// A texture name is written as one word of a map's face line: it must not be
// empty, longer than kMaxTextureName, hold a control character (a NUL, tab,
// line end or any other below the blank, or DEL) or begin with "//", which
// would turn the rest of the line into a comment.
bool IsTextureNameValid(const std::string& name);

// A file name or directory given by a template must not hold a NUL: the file
// system would see only the part before it.
bool IsFileNameValid(const std::string& name);
