// The counters of the counting build. This file calls the real functions: the macros of the
// header are not applied to it.
#define QKLI_RESOURCE_COUNTER_IMPLEMENTATION
#include "tests/leaks/resource_counter.h"

#include <array>
#include <map>
#include <mutex>
#include <utility>

namespace resource_counter {
namespace {

struct Registry {
  std::mutex mutex;
  // Per kind: the live handles with how often each was handed out (a module, a shared DC).
  std::array<std::map<std::uintptr_t, int>, static_cast<size_t>(Kind::Count)> alive;
  std::map<std::pair<HWND, UINT_PTR>, bool> timers;
};

Registry& State() {
  static Registry registry;
  return registry;
}

template <typename Handle>
Handle Made(Kind kind, Handle handle) {
  if (handle == nullptr || reinterpret_cast<HANDLE>(handle) == INVALID_HANDLE_VALUE) return handle;
  std::lock_guard<std::mutex> lock(State().mutex);
  ++State().alive[static_cast<size_t>(kind)][reinterpret_cast<std::uintptr_t>(handle)];
  return handle;
}

template <typename Handle>
void Freed(Kind kind, Handle handle) {
  std::lock_guard<std::mutex> lock(State().mutex);
  auto& alive = State().alive[static_cast<size_t>(kind)];
  const auto found = alive.find(reinterpret_cast<std::uintptr_t>(handle));
  if (found != alive.end() && --found->second == 0) alive.erase(found);
}

}  // namespace

std::size_t Alive(Kind kind) {
  std::lock_guard<std::mutex> lock(State().mutex);
  if (kind == Kind::Timer) {
    std::size_t count = 0;
    for (const auto& [timer, unused] : State().timers)
      if (timer.first == nullptr || IsWindow(timer.first)) ++count;
    return count;
  }
  std::size_t count = 0;
  for (const auto& [handle, times] : State().alive[static_cast<size_t>(kind)]) {
    if (kind == Kind::Window && !IsWindow(reinterpret_cast<HWND>(handle))) continue;
    count += static_cast<std::size_t>(times);
  }
  return count;
}

const char* NameOf(Kind kind) {
  constexpr const char* kNames[] = {"GDI objects", "icons",    "device contexts", "timers", "windows",
                                    "menus",       "handles",  "registry keys",   "modules"};
  return kNames[static_cast<size_t>(kind)];
}

}  // namespace resource_counter

using resource_counter::Kind;
using resource_counter::Made;
using resource_counter::Freed;

HFONT QkliCountedCreateFontIndirectA(const LOGFONTA* font) { return Made(Kind::GdiObject, CreateFontIndirectA(font)); }
HFONT QkliCountedCreateFontIndirectW(const LOGFONTW* font) { return Made(Kind::GdiObject, CreateFontIndirectW(font)); }
HFONT QkliCountedCreateFontA(int h, int w, int e, int o, int weight, DWORD i, DWORD u, DWORD s, DWORD c, DWORD op,
                             DWORD cp, DWORD q, DWORD pf, LPCSTR face) {
  return Made(Kind::GdiObject, CreateFontA(h, w, e, o, weight, i, u, s, c, op, cp, q, pf, face));
}
HBRUSH QkliCountedCreateSolidBrush(COLORREF color) { return Made(Kind::GdiObject, CreateSolidBrush(color)); }
HPEN QkliCountedCreatePen(int style, int width, COLORREF color) {
  return Made(Kind::GdiObject, CreatePen(style, width, color));
}
HBITMAP QkliCountedCreateCompatibleBitmap(HDC dc, int width, int height) {
  return Made(Kind::GdiObject, CreateCompatibleBitmap(dc, width, height));
}
HBITMAP QkliCountedCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                    DWORD offset) {
  return Made(Kind::GdiObject, CreateDIBSection(dc, info, usage, bits, section, offset));
}
HBITMAP QkliCountedLoadBitmapA(HINSTANCE instance, LPCSTR name) {
  return Made(Kind::GdiObject, LoadBitmapA(instance, name));
}
namespace {
HANDLE CountedImage(HANDLE image, UINT type, UINT flags) {
  if ((flags & LR_SHARED) != 0) return image;  // shared images are the system's, never freed
  if (type == IMAGE_BITMAP) return Made(Kind::GdiObject, image);
  if (type == IMAGE_ICON) return Made(Kind::Icon, image);
  return image;
}
}  // namespace
HANDLE QkliCountedLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags) {
  return CountedImage(LoadImageA(instance, name, type, width, height, flags), type, flags);
}
HANDLE QkliCountedLoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags) {
  return CountedImage(LoadImageW(instance, name, type, width, height, flags), type, flags);
}
HANDLE QkliCountedCopyImage(HANDLE image, UINT type, int width, int height, UINT flags) {
  HANDLE copy = CopyImage(image, type, width, height, flags);
  return type == IMAGE_BITMAP ? Made(Kind::GdiObject, copy) : type == IMAGE_ICON ? Made(Kind::Icon, copy) : copy;
}
BOOL QkliCountedDeleteObject(HGDIOBJ object) {
  Freed(Kind::GdiObject, object);
  return DeleteObject(object);
}
BOOL QkliCountedDestroyIcon(HICON icon) {
  Freed(Kind::Icon, icon);
  return DestroyIcon(icon);
}
HDC QkliCountedCreateCompatibleDC(HDC dc) { return Made(Kind::DeviceContext, CreateCompatibleDC(dc)); }
HDC QkliCountedCreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode) {
  return Made(Kind::DeviceContext, CreateDCA(driver, device, port, mode));
}
BOOL QkliCountedDeleteDC(HDC dc) {
  Freed(Kind::DeviceContext, dc);
  return DeleteDC(dc);
}
HDC QkliCountedGetDC(HWND window) { return Made(Kind::DeviceContext, GetDC(window)); }
int QkliCountedReleaseDC(HWND window, HDC dc) {
  Freed(Kind::DeviceContext, dc);
  return ReleaseDC(window, dc);
}
HDC QkliCountedBeginPaint(HWND window, PAINTSTRUCT* paint) { return Made(Kind::DeviceContext, BeginPaint(window, paint)); }
BOOL QkliCountedEndPaint(HWND window, const PAINTSTRUCT* paint) {
  Freed(Kind::DeviceContext, paint->hdc);
  return EndPaint(window, paint);
}
UINT_PTR QkliCountedSetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC procedure) {
  const UINT_PTR made = SetTimer(window, id, period, procedure);
  if (made != 0) {
    std::lock_guard<std::mutex> lock(resource_counter::State().mutex);
    resource_counter::State().timers[{window, window != nullptr ? id : made}] = true;
  }
  return made;
}
BOOL QkliCountedKillTimer(HWND window, UINT_PTR id) {
  {
    std::lock_guard<std::mutex> lock(resource_counter::State().mutex);
    resource_counter::State().timers.erase({window, id});
  }
  return KillTimer(window, id);
}
HWND QkliCountedCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR caption, DWORD style, int x, int y, int width,
                                int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
  return Made(Kind::Window, CreateWindowExA(exStyle, className, caption, style, x, y, width, height, parent, menu,
                                            instance, parameter));
}
HWND QkliCountedCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR caption, DWORD style, int x, int y,
                                int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
  return Made(Kind::Window, CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent, menu,
                                            instance, parameter));
}
HMENU QkliCountedCreatePopupMenu() { return Made(Kind::Menu, CreatePopupMenu()); }
HMENU QkliCountedCreateMenu() { return Made(Kind::Menu, CreateMenu()); }
namespace {
// Submenus go with their menu: counted when made, forgotten when their menu goes.
void ForgetMenu(HMENU menu) {
  const int items = GetMenuItemCount(menu);
  for (int i = 0; i < items; ++i)
    if (HMENU submenu = GetSubMenu(menu, i)) ForgetMenu(submenu);
  Freed(Kind::Menu, menu);
}
}  // namespace

BOOL QkliCountedDestroyMenu(HMENU menu) {
  ForgetMenu(menu);
  return DestroyMenu(menu);
}
HACCEL QkliCountedCreateAcceleratorTableA(LPACCEL table, int count) {
  return Made(Kind::Menu, CreateAcceleratorTableA(table, count));
}
BOOL QkliCountedDestroyAcceleratorTable(HACCEL table) {
  Freed(Kind::Menu, table);
  return DestroyAcceleratorTable(table);
}
HANDLE QkliCountedCreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE model) {
  return Made(Kind::KernelHandle, CreateFileA(path, access, share, security, disposition, flags, model));
}
HANDLE QkliCountedCreateFileW(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE model) {
  return Made(Kind::KernelHandle, CreateFileW(path, access, share, security, disposition, flags, model));
}
HANDLE QkliCountedCreateMutexA(LPSECURITY_ATTRIBUTES security, BOOL owned, LPCSTR name) {
  return Made(Kind::KernelHandle, CreateMutexA(security, owned, name));
}
BOOL QkliCountedCloseHandle(HANDLE handle) {
  Freed(Kind::KernelHandle, handle);
  return CloseHandle(handle);
}
HANDLE QkliCountedFindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA found) {
  return Made(Kind::KernelHandle, FindFirstFileA(pattern, found));
}
HANDLE QkliCountedFindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW found) {
  return Made(Kind::KernelHandle, FindFirstFileW(pattern, found));
}
BOOL QkliCountedFindClose(HANDLE search) {
  Freed(Kind::KernelHandle, search);
  return FindClose(search);
}
LSTATUS QkliCountedRegOpenKeyExA(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key) {
  const LSTATUS status = RegOpenKeyExA(root, path, options, access, key);
  if (status == ERROR_SUCCESS) Made(Kind::RegistryKey, *key);
  return status;
}
LSTATUS QkliCountedRegCreateKeyExA(HKEY root, LPCSTR path, DWORD reserved, LPSTR keyClass, DWORD options,
                                   REGSAM access, const LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD done) {
  const LSTATUS status = RegCreateKeyExA(root, path, reserved, keyClass, options, access, security, key, done);
  if (status == ERROR_SUCCESS) Made(Kind::RegistryKey, *key);
  return status;
}
LSTATUS QkliCountedRegCloseKey(HKEY key) {
  Freed(Kind::RegistryKey, key);
  return RegCloseKey(key);
}
HMODULE QkliCountedLoadLibraryA(LPCSTR path) { return Made(Kind::Module, LoadLibraryA(path)); }
HMODULE QkliCountedLoadLibraryExA(LPCSTR path, HANDLE file, DWORD flags) {
  return Made(Kind::Module, LoadLibraryExA(path, file, flags));
}
HMODULE QkliCountedLoadLibraryW(LPCWSTR path) { return Made(Kind::Module, LoadLibraryW(path)); }
HMODULE QkliCountedLoadLibraryExW(LPCWSTR path, HANDLE file, DWORD flags) {
  return Made(Kind::Module, LoadLibraryExW(path, file, flags));
}
BOOL QkliCountedFreeLibrary(HMODULE module) {
  Freed(Kind::Module, module);
  return FreeLibrary(module);
}
