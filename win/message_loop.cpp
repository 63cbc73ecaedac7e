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
  DispatchMessageW(&msg);
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) ProcessMessage(msg);
  return static_cast<int>(msg.wParam);
}

bool RunMessageLoopUntil(const std::function<bool()>& done) {
  MSG msg;
  while (!done()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
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
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ProcessMessage(msg);
  }
}

}  // namespace win
