#include "win/message_loop.h"

#include "win/error_box.h"
#include "win/window.h"

namespace win {

void ProcessMessage(MSG& msg) {
  if (msg.hwnd != nullptr) {
    if (Window* window = Window::FromHandle(GetAncestor(msg.hwnd, GA_ROOT))) {
      bool taken = false;
      ShowingErrors([&] { taken = window->PreTranslateMessage(msg); });
      if (taken) return;
    }
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) ProcessMessage(msg);
  return static_cast<int>(msg.wParam);
}

bool RunMessageLoopUntil(const std::function<bool()>& done) {
  MSG msg;
  while (!done()) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    ProcessMessage(msg);
  }
  return true;
}

void ProcessWaitingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ProcessMessage(msg);
  }
}

}  // namespace win
