#pragma once
// The common dialogs that ask for a file name to open or to save.
#include <windows.h>

#include <optional>
#include <string>

namespace win {

enum class FileDialogKind { Open, Save };

// The filter of every dialog for note files: note files, text files, all files.
inline constexpr char kNoteFileFilter[] = "K-li files (*.KLI)\0*.kli\0Text files (*.TXT)\0*.txt\0All files (*.*)\0*.*\0";

// The path the user picked (UTF-8), or nothing for Cancel. `filter` is pairs of NUL-terminated
// texts; an open dialog takes only files that exist, a save dialog asks no overwrite question.
std::optional<std::string> AskFileName(HWND owner, FileDialogKind kind, const char* filter,
                                       const char* defaultExtension = nullptr);

}  // namespace win
