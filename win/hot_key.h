#pragma once
// A key from anywhere (RegisterHotKey): while it is held, Windows sends WM_HOTKEY with its id to
// its window whichever program has the focus. Given back exactly once, when its owner goes.
#include <windows.h>

#include <utility>

namespace win {

class RegisteredHotKey {
 public:
  RegisteredHotKey() = default;
  RegisteredHotKey(const RegisteredHotKey&) = delete;
  RegisteredHotKey& operator=(const RegisteredHotKey&) = delete;
  RegisteredHotKey(RegisteredHotKey&& other) noexcept
      : hwnd_(std::exchange(other.hwnd_, nullptr)), id_(std::exchange(other.id_, 0)) {}
  RegisteredHotKey& operator=(RegisteredHotKey&& other) noexcept {
    if (this != &other) {
      Release();
      hwnd_ = std::exchange(other.hwnd_, nullptr);
      id_ = std::exchange(other.id_, 0);
    }
    return *this;
  }
  ~RegisteredHotKey() { Release(); }

  // Takes the key (MOD_ flags, virtual-key code) for `hwnd`, giving back what this owner held
  // before. False when Windows refuses it, most often because another program holds that key
  // (GetLastError tells). A key held down does not repeat.
  bool Register(HWND hwnd, int id, UINT modifiers, UINT key) {
    Release();
    if (!RegisterHotKey(hwnd, id, modifiers | MOD_NOREPEAT, key)) return false;
    hwnd_ = hwnd;
    id_ = id;
    return true;
  }
  void Release() {
    if (hwnd_ != nullptr) UnregisterHotKey(hwnd_, id_);
    hwnd_ = nullptr;
    id_ = 0;
  }
  bool Held() const { return hwnd_ != nullptr; }

 private:
  HWND hwnd_ = nullptr;
  int id_ = 0;
};

}  // namespace win
