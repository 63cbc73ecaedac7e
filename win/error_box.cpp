#include "win/error_box.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace win {
namespace {

// An error box of this thread that is open now. Asked of the window manager rather than kept
// in a flag, so that nothing can leave it set by mistake.
bool ErrorBoxIsOpen() {
  bool open = false;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM found) -> BOOL {
        char className[16] = {};
        char caption[32] = {};
        GetClassNameA(window, className, sizeof className);
        GetWindowTextA(window, caption, sizeof caption);
        if (std::strcmp(className, "#32770") == 0 && std::strcmp(caption, kApplicationTitle) == 0) {
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
  const std::string message(text);
  if (ErrorBoxIsOpen()) {
    OutputDebugStringA((std::string(kApplicationTitle) + ": " + message + "\n").c_str());
    return;
  }
  MessageBoxA(nullptr, message.c_str(), kApplicationTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace win
