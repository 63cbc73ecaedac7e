#pragma once
// One icon in the notification area. The icon is removed when its owner object goes, so a
// closed note or an ended program never leaves a dead icon behind.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace win {

class TrayIcon {
 public:
  // `owner` receives `callbackMessage` with wParam = id and lParam = the mouse message
  // (WM_LBUTTONUP, WM_RBUTTONUP, ...). Nothing shows until Show().
  TrayIcon(HWND owner, UINT id, UINT callbackMessage);
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon();

  // The icon handle stays owned by the caller and must outlive its use here. The hint is UTF-8.
  void Show(HICON icon, const std::string& hint);
  void Hide();
  bool Visible() const { return visible_; }
  void SetHint(const std::string& hint);
  void SetIcon(HICON icon);
  const std::string& Hint() const { return hint_; }
  // Adds the icon again after Explorer restarted: the owner calls this on the message
  // TaskbarCreatedMessage(). Does nothing while the icon is hidden.
  void Restore();

  // The registered message "TaskbarCreated" that Explorer broadcasts when it (re)starts.
  static UINT TaskbarCreatedMessage();

 private:
  NOTIFYICONDATAW data(UINT flags) const;
  HWND owner_;
  UINT id_;
  UINT callbackMessage_;
  HICON icon_ = nullptr;
  std::string hint_;
  bool visible_ = false;
};

}  // namespace win
