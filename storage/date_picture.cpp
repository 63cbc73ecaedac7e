#include "storage/date_picture.h"

namespace {

PictureElement ElementOf(char letter) {
  switch (letter) {
    case 'd': return PictureElement::kDay;
    case 'M': return PictureElement::kMonth;
    case 'y': return PictureElement::kYear;
    case 'g': return PictureElement::kEra;
    case 'h': return PictureElement::kHour12;
    case 'H': return PictureElement::kHour24;
    case 'm': return PictureElement::kMinute;
    case 's': return PictureElement::kSecond;
    case 't': return PictureElement::kAmPm;
    default: return PictureElement::kLiteral;
  }
}

void AppendLiteral(std::vector<PictureToken>& tokens, std::string_view text) {
  if (text.empty()) return;
  if (tokens.empty() || tokens.back().element != PictureElement::kLiteral)
    tokens.push_back({PictureElement::kLiteral, 0, {}});
  tokens.back().literal.append(text);
}

}  // namespace

std::vector<PictureToken> SplitPicture(std::string_view picture) {
  std::vector<PictureToken> tokens;
  std::size_t at = 0;
  while (at < picture.size()) {
    const char c = picture[at];
    if (c == '\'' || c == '"') {
      if (c == '\'' && at + 1 < picture.size() && picture[at + 1] == '\'') {
        AppendLiteral(tokens, "'");
        at += 2;
        continue;
      }
      // Up to the closing quote; an unclosed quote runs to the end of the picture.
      std::string text;
      ++at;
      while (at < picture.size()) {
        if (picture[at] == c) {
          if (c == '\'' && at + 1 < picture.size() && picture[at + 1] == '\'') {
            text += '\'';
            at += 2;
            continue;
          }
          ++at;
          break;
        }
        text += picture[at++];
      }
      AppendLiteral(tokens, text);
      continue;
    }
    const PictureElement element = ElementOf(c);
    if (element == PictureElement::kLiteral) {
      AppendLiteral(tokens, picture.substr(at, 1));
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < picture.size() && picture[end] == c) ++end;
    tokens.push_back({element, static_cast<int>(end - at), {}});
    at = end;
  }
  return tokens;
}
