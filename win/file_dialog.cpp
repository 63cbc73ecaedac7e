#include "win/file_dialog.h"

#include <commdlg.h>

#include <string_view>

#include "win/unicode.h"

namespace win {
namespace {

// The filter's pairs end at the first empty text.
std::string_view WholeFilter(const char* filter) {
  std::size_t length = 0;
  while (filter[length] != '\0' || filter[length + 1] != '\0') ++length;
  return std::string_view(filter, length + 2);
}

}  // namespace

std::optional<std::string> AskFileName(HWND owner, FileDialogKind kind, const char* filter,
                                       const char* defaultExtension) {
  // Room for a long path: a name in any language may need more than MAX_PATH UTF-16 units.
  std::wstring file(MAX_PATH * 4, L'\0');
  const std::wstring wideFilter = Wide(WholeFilter(filter));
  const std::wstring wideExtension = defaultExtension != nullptr ? Wide(defaultExtension) : std::wstring();
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = wideFilter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrDefExt = defaultExtension != nullptr ? wideExtension.c_str() : nullptr;
  dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_ENABLESIZING;
  if (kind == FileDialogKind::Open) dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  const BOOL picked = kind == FileDialogKind::Open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
  if (!picked) return std::nullopt;
  return Utf8(file.c_str());
}

}  // namespace win
