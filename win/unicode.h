#pragma once
// Text inside the program is UTF-8. These are its one set of conversions: to UTF-16 for every
// Windows call that carries user text or a path, and to the user's ANSI code page where a file
// format or message of the program holds 8-bit text. No <windows.h> here: the portable core
// converts to and from the code page too (natively that code page is Windows-1252, the one
// Windows and Wine give the C locale whose date pictures the native build uses).
#include <cstddef>
#include <string>
#include <string_view>

namespace win {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// The code point that starts at `at`, with `at` moved past it. A byte that starts no valid
// sequence (a stray continuation byte, an overlong form, a surrogate, a cut sequence) reads as
// U+FFFD and moves `at` by that one byte.
char32_t NextCodePoint(std::string_view utf8, std::size_t& at);
void AppendUtf8(std::string& out, char32_t codePoint);
bool IsValidUtf8(std::string_view bytes);

// Invalid UTF-8 and lone surrogates come through as U+FFFD.
std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);

// A conversion into or out of the ANSI code page, and whether it holds exactly what it was
// given. Where the code page lacks a character the text has "?", never a look-alike, so that a
// reader of the 8-bit form sees that something is missing.
struct CodePageText {
  std::string text;
  bool exact = true;
};
CodePageText AnsiFromUtf8(std::string_view utf8);
// Inexact where the bytes are no text of the code page (a double-byte character cut short).
CodePageText Utf8FromAnsi(std::string_view ansi);

#ifdef _WIN32
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);
#endif

}  // namespace win
