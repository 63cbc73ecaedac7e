// The notification-area icon against Wine's real tray: added by Show, gone after Hide and after
// its owner object is destroyed, and the registered message Explorer sends when it restarts.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "win/tray_icon.h"

namespace {

// Whether the shell knows the icon: a change to an icon it does not have is refused.
bool ShellHasIcon(HWND owner, UINT id) {
  NOTIFYICONDATAA nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = owner;
  nid.uID = id;
  nid.uFlags = NIF_TIP;
  lstrcpyA(nid.szTip, "probe");
  return Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

class TrayIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    icon_ = LoadIconA(nullptr, IDI_APPLICATION);
  }
  void TearDown() override { DestroyWindow(owner_); }
  HWND owner_ = nullptr;
  HICON icon_ = nullptr;
};

}  // namespace

TEST_F(TrayIconTest, ShowAddsTheIconAndHideOrDestructionRemovesIt) {
  auto tray = std::make_unique<win::TrayIcon>(owner_, 7, WM_APP + 3);
  EXPECT_FALSE(tray->Visible());
  EXPECT_FALSE(ShellHasIcon(owner_, 7));
  tray->Show(icon_, "Quor K-lI 5.00");
  EXPECT_TRUE(tray->Visible());
  ASSERT_TRUE(ShellHasIcon(owner_, 7));
  tray->Hide();
  EXPECT_FALSE(ShellHasIcon(owner_, 7));
  tray->Restore();  // a hidden icon stays hidden when the taskbar comes back
  EXPECT_FALSE(ShellHasIcon(owner_, 7));
  tray->Show(icon_, "again");
  EXPECT_TRUE(ShellHasIcon(owner_, 7));
  tray.reset();
  EXPECT_FALSE(ShellHasIcon(owner_, 7));
}

TEST_F(TrayIconTest, AHintLongerThanTheShellTakesIsCutNotOverrun) {
  win::TrayIcon tray(owner_, 8, WM_APP + 3);
  const std::string path(400, 'x');
  tray.Show(icon_, path);
  EXPECT_TRUE(ShellHasIcon(owner_, 8));
  tray.SetHint(path + "y");
  EXPECT_EQ(tray.Hint(), path + "y");  // kept whole for the program; the shell shows its part
}

TEST_F(TrayIconTest, TaskbarCreatedIsTheRegisteredMessage) {
  EXPECT_EQ(win::TrayIcon::TaskbarCreatedMessage(), RegisterWindowMessageA("TaskbarCreated"));
  EXPECT_GE(win::TrayIcon::TaskbarCreatedMessage(), 0xC000u);
}
