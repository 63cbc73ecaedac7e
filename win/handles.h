#pragma once
// One owner type per kind of Windows handle: the handle is released exactly once, by the
// destructor, and ownership moves but is never copied.
#include <windows.h>

#include <utility>

namespace win {

// The value that means "no handle". Most kinds use null; files and sockets use a value of
// their own (INVALID_HANDLE_VALUE, INVALID_SOCKET), which a traits type names.
template <typename Handle>
struct NullIsEmpty {
  static Handle Empty() { return Handle{}; }
};

// A release may carry state (a function bound at run time); most are empty.
template <typename Handle, typename Release, typename Traits = NullIsEmpty<Handle>>
class Unique {
 public:
  Unique() = default;
  explicit Unique(Handle handle, Release release = Release{}) : handle_(handle), release_(release) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept
      : handle_(std::exchange(other.handle_, Traits::Empty())), release_(other.release_) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) {
      reset(std::exchange(other.handle_, Traits::Empty()));
      release_ = other.release_;
    }
    return *this;
  }
  ~Unique() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Empty(); }
  Handle release() { return std::exchange(handle_, Traits::Empty()); }
  void reset(Handle handle = Traits::Empty()) {
    if (handle_ != Traits::Empty()) release_(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Empty();
  [[no_unique_address]] Release release_{};
};

struct ReleaseGdiObject { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct ReleaseDc { void operator()(HDC h) const { DeleteDC(h); } };
struct ReleaseMenu { void operator()(HMENU h) const { DestroyMenu(h); } };
struct ReleaseIcon { void operator()(HICON h) const { DestroyIcon(h); } };
struct ReleaseModule { void operator()(HMODULE h) const { FreeLibrary(h); } };
struct ReleaseKey { void operator()(HKEY h) const { RegCloseKey(h); } };
struct ReleaseAccel { void operator()(HACCEL h) const { DestroyAcceleratorTable(h); } };
struct ReleaseKernelObject { void operator()(HANDLE h) const { CloseHandle(h); } };
struct ReleaseFind { void operator()(HANDLE h) const { FindClose(h); } };
// A key from anywhere (RegisterHotKey) is known by its window and id.
struct HotKeyId {
  HWND hwnd = nullptr;
  int id = 0;
  friend bool operator==(const HotKeyId&, const HotKeyId&) = default;
};
struct ReleaseHotKey { void operator()(HotKeyId k) const { UnregisterHotKey(k.hwnd, k.id); } };
struct InvalidHandleIsEmpty {
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
};

using UniqueFont = Unique<HFONT, ReleaseGdiObject>;
using UniqueBitmap = Unique<HBITMAP, ReleaseGdiObject>;
using UniqueBrush = Unique<HBRUSH, ReleaseGdiObject>;
using UniquePen = Unique<HPEN, ReleaseGdiObject>;
using UniqueMemoryDc = Unique<HDC, ReleaseDc>;
using UniqueMenu = Unique<HMENU, ReleaseMenu>;
using UniqueIcon = Unique<HICON, ReleaseIcon>;
using UniqueModule = Unique<HMODULE, ReleaseModule>;
using UniqueKey = Unique<HKEY, ReleaseKey>;
using UniqueAccel = Unique<HACCEL, ReleaseAccel>;
// Given back when its owner goes, so no WM_HOTKEY reaches a window whose object is gone.
using UniqueHotKey = Unique<HotKeyId, ReleaseHotKey>;
// Mutexes, events, processes: null means none.
using UniqueKernelObject = Unique<HANDLE, ReleaseKernelObject>;
// Files: CreateFile reports failure with INVALID_HANDLE_VALUE, not null.
using UniqueFile = Unique<HANDLE, ReleaseKernelObject, InvalidHandleIsEmpty>;
// A directory search of FindFirstFile, which also reports failure with INVALID_HANDLE_VALUE.
using UniqueFind = Unique<HANDLE, ReleaseFind, InvalidHandleIsEmpty>;

// Selects a GDI object into a device context for one scope and puts the old one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The device context of one WM_PAINT: BeginPaint here, EndPaint however the handler ends.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(hwnd_, &paint_); }
  HDC get() const { return dc_; }
  const RECT& Invalid() const { return paint_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A window's (or, for null, the screen's) common device context, released at the end of scope.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd = nullptr) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(hwnd_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A WM_TIMER timer of a window, identified by the window and an id of the owner's choosing:
// stopped when the owner goes, so no tick ever reaches a window whose object is gone.
class WindowTimer {
 public:
  WindowTimer() = default;
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;
  WindowTimer(WindowTimer&& other) noexcept
      : hwnd_(std::exchange(other.hwnd_, nullptr)), id_(std::exchange(other.id_, 0)) {}
  WindowTimer& operator=(WindowTimer&& other) noexcept {
    if (this != &other) {
      Stop();
      hwnd_ = std::exchange(other.hwnd_, nullptr);
      id_ = std::exchange(other.id_, 0);
    }
    return *this;
  }
  ~WindowTimer() { Stop(); }

  // (Re)starts the timer; a running timer of the same window and id only takes the new period.
  // Returns false when Windows refuses the timer.
  bool Start(HWND hwnd, UINT_PTR id, UINT periodMs) {
    if (Running() && (hwnd != hwnd_ || id != id_)) Stop();
    if (SetTimer(hwnd, id, periodMs, nullptr) == 0) return false;
    hwnd_ = hwnd;
    id_ = id;
    return true;
  }
  void Stop() {
    if (hwnd_ != nullptr) KillTimer(hwnd_, id_);
    hwnd_ = nullptr;
    id_ = 0;
  }
  bool Running() const { return hwnd_ != nullptr; }
  UINT_PTR Id() const { return id_; }

 private:
  HWND hwnd_ = nullptr;
  UINT_PTR id_ = 0;
};

}  // namespace win
