#include "win/unicode.h"

namespace win {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

template <typename String>
String Utf16Of(std::string_view utf8) {
  String out;
  out.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, at);
    if (c < 0x10000) {
      out += static_cast<typename String::value_type>(c);
    } else {
      out += static_cast<typename String::value_type>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<typename String::value_type>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

template <typename View>
std::string Utf8Of(View utf16) {
  std::string out;
  out.reserve(utf16.size() * 3);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char32_t unit = static_cast<char16_t>(utf16[i]);
    const bool high = unit >= 0xD800 && unit < 0xDC00;
    const char32_t next = i + 1 < utf16.size() ? static_cast<char16_t>(utf16[i + 1]) : 0;
    if (high && next >= 0xDC00 && next < 0xE000) {
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
      ++i;
    } else {
      AppendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? kReplacementCharacter : unit);
    }
  }
  return out;
}

}  // namespace

char32_t NextCodePoint(std::string_view utf8, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) {
    ++at;
    return lead;
  }
  // The length of the sequence and the smallest code point it may hold (shorter forms of the
  // same value are not UTF-8).
  const std::size_t length = lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3 : lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (length == 0 || at + length > utf8.size()) {
    ++at;
    return kReplacementCharacter;
  }
  char32_t c = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if (!IsContinuation(byte(at + i))) {
      ++at;
      return kReplacementCharacter;
    }
    c = c << 6 | (byte(at + i) & 0x3F);
  }
  if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
    ++at;
    return kReplacementCharacter;
  }
  at += length;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t start = at;
    if (NextCodePoint(bytes, at) == kReplacementCharacter && at - start == 1) return false;
  }
  return true;
}

std::u16string Utf16FromUtf8(std::string_view utf8) { return Utf16Of<std::u16string>(utf8); }
std::string Utf8FromUtf16(std::u16string_view utf16) { return Utf8Of(utf16); }

#ifdef _WIN32
std::wstring Wide(std::string_view utf8) { return Utf16Of<std::wstring>(utf8); }
std::string Utf8(std::wstring_view wide) { return Utf8Of(wide); }
#endif

}  // namespace win
