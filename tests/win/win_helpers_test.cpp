// The shared Win32 helpers under Wine: menus and shortcuts from tables, the window base that
// keeps exceptions out of Windows, and registry keys.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <stdexcept>
#include <string>

#include "tests/win/app_test_support.h"
#include "win/menu.h"
#include "win/registry.h"
#include "win/window.h"

namespace {

std::string MenuText(HMENU menu, UINT position) {
  char text[256] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

TEST(MenuTable, BuildsCaptionsSubmenusShortcutsAndChecks) {
  static constexpr win::MenuRow kEdit[] = {{"Hide all", 11}, {"-"}, {"Show all", 12, "Ctrl+Shift+S"}};
  static constexpr win::MenuRow kRows[] = {{"New K-li", 1, "Ctrl+N"}, {"Edit", 0, nullptr, kEdit}, {"-"}, {"Exit", 2}};
  win::PopupMenu menu(kRows);

  ASSERT_EQ(GetMenuItemCount(menu.handle()), 4);
  EXPECT_EQ(MenuText(menu.handle(), 0), "New K-li\tCtrl+N");
  EXPECT_EQ(MenuText(menu.handle(), 1), "Edit");
  EXPECT_EQ(GetMenuItemID(menu.handle(), 2), 0u);  // separator
  EXPECT_EQ(GetMenuItemID(menu.handle(), 3), 2u);

  HMENU edit = menu.submenu("Edit");
  EXPECT_EQ(GetSubMenu(menu.handle(), 1), edit);
  EXPECT_EQ(MenuText(edit, 2), "Show all\tCtrl+Shift+S");
  EXPECT_THROW(menu.submenu("Nope"), std::logic_error);

  menu.check(12, true);
  EXPECT_TRUE(GetMenuState(edit, 12, MF_BYCOMMAND) & MF_CHECKED);
  menu.check(12, false);
  EXPECT_FALSE(GetMenuState(edit, 12, MF_BYCOMMAND) & MF_CHECKED);

  const auto accels = menu.accelerators();
  ASSERT_EQ(accels.size(), 2u);
  EXPECT_EQ(accels[0].key, 'N');
  EXPECT_EQ(accels[0].fVirt, FVIRTKEY | FCONTROL);
  EXPECT_EQ(accels[1].cmd, 12);
  EXPECT_EQ(accels[1].fVirt, FVIRTKEY | FCONTROL | FSHIFT);
}

TEST(MenuTable, ParsesShortcutsAndRejectsUnknownKeys) {
  EXPECT_EQ(win::ParseShortcut("Del", 5).key, VK_DELETE);
  EXPECT_EQ(win::ParseShortcut("F2", 5).key, VK_F2);
  EXPECT_EQ(win::ParseShortcut("Ctrl+F12", 5).key, VK_F12);
  EXPECT_EQ(win::ParseShortcut("Alt+X", 5).fVirt, FVIRTKEY | FALT);
  EXPECT_THROW(win::ParseShortcut("Ctrl+", 5), std::invalid_argument);
  EXPECT_THROW(win::ParseShortcut("F13", 5), std::invalid_argument);
  EXPECT_THROW(win::ParseShortcut("Hyper+Q", 5), std::invalid_argument);
}

class ThrowingWindow : public win::Window {
 public:
  ThrowingWindow() { create({.className = "QkliThrowingWindow", .caption = "thrower"}); }
  int handled = 0;

 protected:
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_USER + 7) {
      ++handled;
      throw std::runtime_error("Error at readInt:type");
    }
    if (msg == WM_USER + 8) return 42;
    return Window::handle(msg, wp, lp);
  }
};

TEST(WindowBase, ShowsAHandlerErrorAndKeepsServingMessages) {
  app_test::ErrorBoxWatcher boxes;
  ThrowingWindow window;
  ASSERT_NE(window.hwnd(), nullptr);
  EXPECT_EQ(window.send(WM_USER + 7), 0);  // the error box ends the command, not the program
  EXPECT_EQ(window.handled, 1);
  EXPECT_EQ(window.send(WM_USER + 8), 42);
  ASSERT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(boxes.Texts().front(), "Error at readInt:type");
}

TEST(WindowBase, DestroyingTheObjectDestroysTheWindow) {
  HWND hwnd = nullptr;
  {
    ThrowingWindow window;
    hwnd = window.hwnd();
    EXPECT_TRUE(IsWindow(hwnd));
  }
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(Registry, CreatesReadsAndWritesStrings) {
  const std::string path = "\\Software\\QkliTest\\Helpers";
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QkliTest");
  EXPECT_FALSE(win::RegistryKey::Exists(HKEY_CURRENT_USER, path));
  {
    auto key = win::RegistryKey::Create(HKEY_CURRENT_USER, path);
    key.writeString("", "Quor K-lI pro");
    key.writeString("Command", "c:\\qkli\\qkli.exe %1");
  }
  auto key = win::RegistryKey::Open(HKEY_CURRENT_USER, path);
  ASSERT_TRUE(key);
  EXPECT_EQ(key.readString(""), "Quor K-lI pro");
  EXPECT_EQ(key.readString("Command"), "c:\\qkli\\qkli.exe %1");
  EXPECT_EQ(key.readString("Missing"), std::nullopt);
  EXPECT_FALSE(win::RegistryKey::Open(HKEY_CURRENT_USER, "\\Software\\QkliTest\\Nope"));
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QkliTest");
}

}  // namespace
