#include "storage/text_encoding.h"

#include <utility>

#include "win/unicode.h"

namespace {

constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

std::string TextOfUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2 + 1);
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    units += static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
  }
  // A last byte without its partner is half a character: it shows as one that was lost.
  if (bytes.size() % 2 != 0) units += static_cast<char16_t>(win::kReplacementCharacter);
  return win::Utf8FromUtf16(units);
}

}  // namespace

std::string TextOfFileBytes(std::string_view bytes) {
  if (bytes.starts_with(kUtf16LittleEndianMark)) return TextOfUtf16(bytes.substr(2), false);
  if (bytes.starts_with(kUtf16BigEndianMark)) return TextOfUtf16(bytes.substr(2), true);
  const std::string_view afterMark = bytes.starts_with(kUtf8ByteOrderMark) ? bytes.substr(3) : bytes;
  if (win::IsValidUtf8(afterMark)) return std::string(afterMark);
  return win::Utf8FromAnsi(bytes).text;
}

std::string FileBytesOfText(std::string_view text) {
  // Bytes that are no UTF-8 come from an 8-bit source that was not converted: written as they
  // are, they lose nothing, where a conversion would put "?" in their place.
  if (!win::IsValidUtf8(text)) return std::string(text);
  win::CodePageText ansi = win::AnsiFromUtf8(text);
  // Some 8-bit texts read as another encoding ("Ã©" is also the UTF-8 of "é", "ÿþ" a UTF-16
  // mark): those go out as UTF-8 too, so that what is read back is what was written.
  if (ansi.exact && TextOfFileBytes(ansi.text) == text) return std::move(ansi.text);
  return std::string(kUtf8ByteOrderMark) + std::string(text);
}
