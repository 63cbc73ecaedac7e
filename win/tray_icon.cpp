#include "win/tray_icon.h"

#include <algorithm>
#include <cstring>

namespace win {

TrayIcon::TrayIcon(HWND owner, UINT id, UINT callbackMessage)
    : owner_(owner), id_(id), callbackMessage_(callbackMessage) {}

TrayIcon::~TrayIcon() { Hide(); }

UINT TrayIcon::TaskbarCreatedMessage() { return RegisterWindowMessageA("TaskbarCreated"); }

NOTIFYICONDATAA TrayIcon::data(UINT flags) const {
  NOTIFYICONDATAA nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = owner_;
  nid.uID = id_;
  nid.uFlags = flags;
  nid.uCallbackMessage = callbackMessage_;
  nid.hIcon = icon_;
  // The shell shows at most the tip buffer less its terminating NUL; a longer hint is cut.
  const size_t n = std::min(hint_.size(), sizeof nid.szTip - 1);
  std::memcpy(nid.szTip, hint_.data(), n);
  nid.szTip[n] = '\0';
  return nid;
}

void TrayIcon::Show(HICON icon, const std::string& hint) {
  icon_ = icon;
  hint_ = hint;
  if (visible_) {
    NOTIFYICONDATAA nid = data(NIF_ICON | NIF_TIP | NIF_MESSAGE);
    Shell_NotifyIconA(NIM_MODIFY, &nid);
    return;
  }
  NOTIFYICONDATAA nid = data(NIF_ICON | NIF_TIP | NIF_MESSAGE);
  // Without a shell (a bare session) the add fails; the icon still counts as shown so that
  // Restore() adds it once a taskbar appears.
  Shell_NotifyIconA(NIM_ADD, &nid);
  visible_ = true;
}

void TrayIcon::Hide() {
  if (!visible_) return;
  NOTIFYICONDATAA nid = data(0);
  Shell_NotifyIconA(NIM_DELETE, &nid);
  visible_ = false;
}

void TrayIcon::SetHint(const std::string& hint) {
  hint_ = hint;
  if (!visible_) return;
  NOTIFYICONDATAA nid = data(NIF_TIP);
  Shell_NotifyIconA(NIM_MODIFY, &nid);
}

void TrayIcon::SetIcon(HICON icon) {
  icon_ = icon;
  if (!visible_) return;
  NOTIFYICONDATAA nid = data(NIF_ICON);
  Shell_NotifyIconA(NIM_MODIFY, &nid);
}

void TrayIcon::Restore() {
  if (!visible_) return;
  NOTIFYICONDATAA nid = data(NIF_ICON | NIF_TIP | NIF_MESSAGE);
  Shell_NotifyIconA(NIM_ADD, &nid);
}

}  // namespace win
