#include "win/tray_icon.h"

#include <algorithm>

#include "win/unicode.h"

namespace win {

TrayIcon::TrayIcon(HWND owner, UINT id, UINT callbackMessage)
    : owner_(owner), id_(id), callbackMessage_(callbackMessage) {}

TrayIcon::~TrayIcon() { Hide(); }

UINT TrayIcon::TaskbarCreatedMessage() { return RegisterWindowMessageA("TaskbarCreated"); }

NOTIFYICONDATAW TrayIcon::data(UINT flags) const {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = owner_;
  nid.uID = id_;
  nid.uFlags = flags;
  nid.uCallbackMessage = callbackMessage_;
  nid.hIcon = icon_;
  // The shell shows at most the tip buffer less its terminating NUL; a longer hint is cut, and
  // never inside a character that takes two UTF-16 units.
  const std::wstring hint = Wide(hint_);
  size_t n = std::min(hint.size(), std::size(nid.szTip) - 1);
  if (n > 0 && n < hint.size() && hint[n - 1] >= 0xD800 && hint[n - 1] < 0xDC00) --n;
  std::copy_n(hint.data(), n, nid.szTip);
  nid.szTip[n] = L'\0';
  return nid;
}

void TrayIcon::Show(HICON icon, const std::string& hint) {
  icon_ = icon;
  hint_ = hint;
  if (visible_) {
    NOTIFYICONDATAW nid = data(NIF_ICON | NIF_TIP | NIF_MESSAGE);
    Shell_NotifyIconW(NIM_MODIFY, &nid);
    return;
  }
  NOTIFYICONDATAW nid = data(NIF_ICON | NIF_TIP | NIF_MESSAGE);
  // Without a shell (a bare session) the add fails; the icon still counts as shown so that
  // Restore() adds it once a taskbar appears.
  Shell_NotifyIconW(NIM_ADD, &nid);
  visible_ = true;
}

void TrayIcon::Hide() {
  if (!visible_) return;
  NOTIFYICONDATAW nid = data(0);
  Shell_NotifyIconW(NIM_DELETE, &nid);
  visible_ = false;
}

void TrayIcon::SetHint(const std::string& hint) {
  hint_ = hint;
  if (!visible_) return;
  NOTIFYICONDATAW nid = data(NIF_TIP);
  Shell_NotifyIconW(NIM_MODIFY, &nid);
}

void TrayIcon::SetIcon(HICON icon) {
  icon_ = icon;
  if (!visible_) return;
  NOTIFYICONDATAW nid = data(NIF_ICON);
  Shell_NotifyIconW(NIM_MODIFY, &nid);
}

void TrayIcon::Restore() {
  if (!visible_) return;
  NOTIFYICONDATAW nid = data(NIF_ICON | NIF_TIP | NIF_MESSAGE);
  Shell_NotifyIconW(NIM_ADD, &nid);
}

}  // namespace win
