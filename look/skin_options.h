#pragma once
// The values of one skin ("skin.ini"), read key by key through a reader so that the
// Windows profile functions serve the program and a small in-memory reader serves the tests.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

struct tQuorFont {
  std::string Name = "arial";
  uint8_t Size = 8;
  bool Underline = false, Bold = false, Italic = false;
  int32_t Color = 0;
};

// One picture element. Left/Top are skin coordinates of its top-left corner; StretchX/StretchY
// those of its right and bottom edges, used only when Stretch is set. Present: the skin names
// a bitmap file for it (File, relative to the skin folder).
struct TSkinImage {
  std::string File;
  int32_t Left = 0, Top = 0, StretchX = -30000, StretchY = -30000;
  bool Stretch = false, Transparent = false, Present = false;
};

struct TSkinRect {
  int32_t Top = 0, Left = 0, Down = 0, Right = 0;
};

struct TSkinTextBox {
  int32_t Top = 0, Left = 0, Down = 0, Right = 0;
  bool Line = false;
  int32_t BackColor = 11;
  tQuorFont Font;
};

struct TSkinTitle {
  bool Old = false;
  std::string Title = "Quor k-li 5";
  bool Standard = false;
};

struct TSkinCaption {
  bool Active = false, OnlyFileName = false;
  int32_t Right = 0, Left = 0, Top = 0;
  tQuorFont Font;
};

// The picture elements in the order they are loaded.
enum class SkinElement { Menu, Delete, Min, Background, Title, Alarm };
inline constexpr SkinElement kSkinElements[] = {SkinElement::Menu,       SkinElement::Delete,
                                                SkinElement::Min,        SkinElement::Background,
                                                SkinElement::Title,      SkinElement::Alarm};

struct TSkinOptions {
  TSkinRect MoveArea;
  bool Resizeable = true, Activable = false;
  uint16_t Width = 150, Height = 100;
  TSkinImage Menu, Delete, Min, Background, Title, Alarm;
  TSkinTextBox TextBox;
  int32_t BackColor = 11;
  TSkinTitle WindowTitle;
  bool BevelVisible = false;
  int32_t BevelTop = 0;
  TSkinCaption Caption;

  const TSkinImage& Image(SkinElement element) const;
  TSkinImage& Image(SkinElement element);
};

// Returns the value of a key, or std::nullopt when the key (or its section) is missing.
// Section and key names match without regard to case.
using ProfileReader =
    std::function<std::optional<std::string>(std::string_view section, std::string_view key)>;

// Called right after an element's file key has been read (File and Present set); may throw to
// stop the load, in which case nothing after that element is read.
using SkinImageHook = std::function<void(SkinElement, TSkinImage&)>;

// Reads every value of a skin in the fixed loading order; missing or unparsable values keep
// their defaults.
TSkinOptions ReadSkinOptions(const ProfileReader& read, const SkinImageHook& onImage);

// Decimal with an optional sign, or hexadecimal after "0x"/"$"; surrounding blanks are ignored.
// Anything else, or a number outside 32 bits, gives `fallback`.
int32_t ParseSkinInteger(std::string_view text, int32_t fallback);
