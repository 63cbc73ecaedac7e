#include "win/file_dialog.h"

#include <commdlg.h>

namespace win {

std::optional<std::string> AskFileName(HWND owner, FileDialogKind kind, const char* filter,
                                       const char* defaultExtension) {
  char file[MAX_PATH * 4] = {};
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrDefExt = defaultExtension;
  dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_ENABLESIZING;
  if (kind == FileDialogKind::Open) dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  const BOOL picked = kind == FileDialogKind::Open ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog);
  if (!picked) return std::nullopt;
  return std::string(file);
}

}  // namespace win
