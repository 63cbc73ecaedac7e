#include "win/window.h"

#include "win/error_box.h"

#include <stdexcept>

namespace win {

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

Window::~Window() { destroy(); }

void Window::destroy() {
  if (hwnd_ == nullptr) return;
  HWND hwnd = hwnd_;
  DestroyWindow(hwnd);  // WM_NCDESTROY detaches this object
  hwnd_ = nullptr;
}

void Window::create(const WindowSpec& params) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExA(ProgramInstance(), params.className, &existing)) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = params.classStyle;
    wc.lpfnWndProc = &Window::procedure;
    wc.hInstance = ProgramInstance();
    wc.hIcon = params.icon;
    wc.hCursor = params.cursor != nullptr ? params.cursor : LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = params.className;
    if (RegisterClassExA(&wc) == 0) throw std::runtime_error("Cannot register window class");
  }
  CreateWindowExA(params.exStyle, params.className, params.caption, params.style, params.x, params.y, params.width,
                  params.height, params.owner, nullptr, ProgramInstance(), this);
  if (hwnd_ == nullptr) throw std::runtime_error("Cannot create window");
}

LRESULT Window::handle(UINT msg, WPARAM wp, LPARAM lp) { return defaultHandling(msg, wp, lp); }

LRESULT CALLBACK Window::procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  LRESULT result = 0;
  if (!ShowingErrors([&] { result = self->handle(msg, wp, lp); })) {
    result = msg == WM_CREATE ? 0 : DefWindowProcA(hwnd, msg, wp, lp);
  }
  return result;
}

}  // namespace win
