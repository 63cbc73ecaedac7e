// The native build's ANSI code page: Windows-1252, which Windows and Wine use for the C locale.
#include <array>

#include "win/unicode.h"

namespace win {
namespace {

// 0x80..0x9F; the rest of the code page is Latin-1. The five bytes Windows-1252 leaves
// undefined convert to the control characters of the same value, as Windows converts them.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool ByteOf(char32_t c, char& byte) {
  if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
    byte = static_cast<char>(c);
    return true;
  }
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == c) {
      byte = static_cast<char>(0x80 + i);
      return true;
    }
  }
  return false;
}

}  // namespace

CodePageText AnsiFromUtf8(std::string_view utf8) {
  CodePageText out;
  out.text.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const std::size_t start = at;
    const char32_t c = NextCodePoint(utf8, at);
    char byte = '?';
    const bool known = !(c == kReplacementCharacter && at - start == 1) && ByteOf(c, byte);
    out.text += byte;
    if (c >= 0x10000) out.text += '?';  // as Windows: one for each of its two UTF-16 units
    out.exact = out.exact && known;
  }
  return out;
}

CodePageText Utf8FromAnsi(std::string_view ansi) {
  CodePageText out;
  out.text.reserve(ansi.size() * 2);
  for (const unsigned char byte : ansi)
    AppendUtf8(out.text, byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t{byte});
  return out;
}

}  // namespace win
