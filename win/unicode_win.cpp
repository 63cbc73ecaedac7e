// The ANSI code page as Windows converts it.
#include <windows.h>

#include <utility>

#include "win/unicode.h"

namespace win {

CodePageText AnsiFromUtf8(std::string_view utf8) {
  // Windows set to use UTF-8 as its ANSI code page: valid UTF-8 is already that.
  if (GetACP() == CP_UTF8) return {std::string(utf8), IsValidUtf8(utf8)};
  const std::wstring wide = Wide(utf8);
  if (wide.empty()) return {};
  const int units = static_cast<int>(wide.size());
  // No best fit: a character the code page lacks becomes the default character "?", and the
  // flag says that it happened.
  BOOL usedDefault = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), units, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), units, ansi.data(), size, nullptr, &usedDefault);
  const bool exact = !usedDefault && IsValidUtf8(utf8);
  return {std::move(ansi), exact};
}

CodePageText Utf8FromAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int bytes = static_cast<int>(ansi.size());
  bool exact = true;
  int size = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), bytes, nullptr, 0);
  DWORD flags = MB_ERR_INVALID_CHARS;
  if (size == 0) {
    exact = false;
    flags = 0;
    size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), bytes, nullptr, 0);
  }
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, flags, ansi.data(), bytes, wide.data(), size);
  return {Utf8(wide), exact};
}

}  // namespace win
