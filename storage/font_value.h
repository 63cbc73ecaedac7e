#pragma once
// A font as the files store it: face name, size in points, the four styles and a colour.
#include <cstdint>
#include <string>

struct FontValue {
  std::string name = "MS Sans Serif";
  int size = 8;
  bool bold = false, italic = false, underline = false, strikeOut = false;
  int32_t color = 0;

  bool operator==(const FontValue&) const = default;
};
