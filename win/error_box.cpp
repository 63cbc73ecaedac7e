#include "win/error_box.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "win/unicode.h"

namespace win {
namespace {

// An error box of this thread that is open now. Asked of the window manager rather than kept
// in a flag, so that nothing can leave it set by mistake.
bool ErrorBoxIsOpen() {
  bool open = false;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM found) -> BOOL {
        wchar_t className[16] = {};
        wchar_t caption[32] = {};
        GetClassNameW(window, className, 16);
        GetWindowTextW(window, caption, 32);
        if (std::wcscmp(className, L"#32770") == 0 && Utf8(caption) == kApplicationTitle) {
          *reinterpret_cast<bool*>(found) = true;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&open));
  return open;
}

}  // namespace

void ShowErrorBox(std::string_view text) {
  if (ErrorBoxIsOpen()) {
    OutputDebugStringW(Wide(std::string(kApplicationTitle) + ": " + std::string(text) + "\n").c_str());
    return;
  }
  MessageBoxW(nullptr, Wide(text).c_str(), Wide(kApplicationTitle).c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace win
