#pragma once
// One owner type per kind of Windows handle: the handle is released exactly once, by the
// destructor, and ownership moves but is never copied.
#include <windows.h>

#include <utility>

namespace win {

template <typename Handle, typename Release>
class Unique {
 public:
  Unique() = default;
  explicit Unique(Handle handle) : handle_(handle) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, Handle{}));
    return *this;
  }
  ~Unique() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  Handle release() { return std::exchange(handle_, Handle{}); }
  void reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Release{}(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_{};
};

struct ReleaseGdiObject { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct ReleaseDc { void operator()(HDC h) const { DeleteDC(h); } };
struct ReleaseMenu { void operator()(HMENU h) const { DestroyMenu(h); } };
struct ReleaseIcon { void operator()(HICON h) const { DestroyIcon(h); } };
struct ReleaseModule { void operator()(HMODULE h) const { FreeLibrary(h); } };
struct ReleaseKey { void operator()(HKEY h) const { RegCloseKey(h); } };
struct ReleaseAccel { void operator()(HACCEL h) const { DestroyAcceleratorTable(h); } };
struct ReleaseFile { void operator()(HANDLE h) const { if (h != INVALID_HANDLE_VALUE) CloseHandle(h); } };

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

}  // namespace win
