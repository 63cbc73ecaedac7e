#pragma once
// Base of every window the program creates. The static window procedure finds the C++ object
// and forwards to handle(); an exception thrown by a handler is shown in the error box and the
// message gets its default treatment, so no exception ever crosses into Windows.
#include <windows.h>

#include <exception>
#include <string>

namespace win {

struct WindowSpec {
  const char* className;
  const char* caption = "";
  DWORD style = WS_POPUP;
  DWORD exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
  HWND owner = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;  // null: the normal arrow
  UINT classStyle = 0;
  HBRUSH background = nullptr;  // null: the window paints all of itself
};

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  LRESULT send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return SendMessageA(hwnd_, msg, wp, lp); }

  // The object behind a window this program made with this class, or null for any other window.
  static Window* FromHandle(HWND hwnd);

  // Asked by the message loop before a message for this window or one of its controls is
  // translated and dispatched: true when the window has dealt with it (an accelerator, the
  // keyboard navigation of a form). Runs inside the loop's error boundary.
  virtual bool PreTranslateMessage(MSG& msg);

 protected:
  Window() = default;
  // Creates the window at once, for a class whose members are made on the window: until the
  // derived constructor has run, the window's messages get the default treatment.
  explicit Window(const WindowSpec& params) { create(params); }
  // Registers the class on first use and creates the window; handle() sees WM_CREATE. Throws
  // when the window cannot be made, also when handle() failed for WM_CREATE.
  void create(const WindowSpec& params);
  void destroy();
  virtual LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT defaultHandling(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd_, msg, wp, lp); }

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT AfterFailure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
  // What made WM_CREATE fail, handed on to create()'s caller instead of shown here.
  std::exception_ptr createFailure_;
};

// A window's title in any language, also for a window of an ANSI class, whose own WM_SETTEXT
// would pass the title through the ANSI code page.
void SetTitle(HWND hwnd, const std::string& text);

// Module handle of the running program.
HINSTANCE ProgramInstance();

}  // namespace win
