#pragma once
// Splits a Windows date or time picture ("M/d/yyyy", "h:mm:ss tt", "dd 'de' MMMM") into its
// elements. Letters that are not elements, and text in '...' or "...", are literal; two single
// quotes stand for one quote character.
#include <string>
#include <string_view>
#include <vector>

enum class PictureElement { kLiteral, kDay, kMonth, kYear, kEra, kHour12, kHour24, kMinute, kSecond, kAmPm };

struct PictureToken {
  PictureElement element;
  int count;            // how many times the letter repeats ("dd" is 2)
  std::string literal;  // the text of a kLiteral token
};

std::vector<PictureToken> SplitPicture(std::string_view picture);
