#include "win/window.h"

#include "win/error_box.h"
#include "win/unicode.h"

#include <stdexcept>
#include <utility>

namespace win {

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

void SetTitle(HWND hwnd, const std::string& text) {
  DefWindowProcW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

Window::~Window() { destroy(); }

void Window::destroy() {
  if (hwnd_ == nullptr) return;
  HWND hwnd = hwnd_;
  DestroyWindow(hwnd);  // WM_NCDESTROY detaches this object
  hwnd_ = nullptr;
}

bool Window::PreTranslateMessage(MSG&) { return false; }

Window* Window::FromHandle(HWND hwnd) {
  // Only windows of our own classes carry an object in their user data; a control or another
  // program's window may keep anything there.
  if (hwnd == nullptr ||
      GetClassLongPtrA(hwnd, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&Window::procedure))
    return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
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
    wc.hbrBackground = params.background;
    wc.lpszClassName = params.className;
    if (RegisterClassExA(&wc) == 0) throw std::runtime_error("Cannot register window class");
  }
  createFailure_ = nullptr;
  CreateWindowExA(params.exStyle, params.className, params.caption, params.style, params.x, params.y, params.width,
                  params.height, params.owner, nullptr, ProgramInstance(), this);
  if (createFailure_) std::rethrow_exception(std::exchange(createFailure_, nullptr));
  if (hwnd_ == nullptr) throw std::runtime_error("Cannot create window");
}

LRESULT Window::handle(UINT msg, WPARAM wp, LPARAM lp) { return defaultHandling(msg, wp, lp); }

LRESULT Window::AfterFailure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      // Marked painted, or Windows would ask again at once and the failure would repeat.
      ValidateRect(hwnd, nullptr);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

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
  if (msg == WM_CREATE) {
    // A window whose creation failed is not made: create() rethrows the failure to its caller.
    try {
      return self->handle(msg, wp, lp);
    } catch (...) {
      self->createFailure_ = std::current_exception();
      return -1;
    }
  }
  LRESULT result = 0;
  if (!ShowingErrors([&] { result = self->handle(msg, wp, lp); })) result = AfterFailure(hwnd, msg, wp, lp);
  return result;
}

}  // namespace win
