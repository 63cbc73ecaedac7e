// The shared Win32 helpers under Wine: menus and shortcuts from tables, the window base that
// keeps exceptions out of Windows, and registry keys.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/win/app_test_support.h"
#include "win/error_box.h"
#include "win/menu.h"
#include "win/registry.h"
#include "win/window.h"

namespace {

std::string MenuText(HMENU menu, UINT position) {
  char text[256] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

// An owner of commands as a window would be.
struct Commands {
  std::vector<std::string> ran;
  bool onTop = false;
  void New() { ran.push_back("new"); }
  void HideAll() { ran.push_back("hide"); }
  void ToggleOnTop() { onTop = !onTop; }
  void Print() { ran.push_back("print"); }
  bool OnTop() const { return onTop; }
};
using Row = win::CommandRow<Commands>;

TEST(CommandMenu, OneTableGivesTheMenuItsShortcutsTheDispatchAndTheChecks) {
  static constexpr Row kEdit[] = {{"Hide all", nullptr, &Commands::HideAll},
                                  {"-"},
                                  {"Always on top", "Ctrl+Alt+T", &Commands::ToggleOnTop, &Commands::OnTop}};
  static constexpr Row kInvisible[] = {{"print_inv", "Ctrl+P", &Commands::Print}};
  static constexpr Row kRows[] = {{"New K-li", "Ctrl+N", &Commands::New},
                                  {"Edit", nullptr, nullptr, nullptr, kEdit},
                                  {"-"},
                                  {.caption = "inv", .submenu = kInvisible, .hidden = true}};
  static_assert(win::AllShortcutsParse(kRows));
  const win::CommandMenu<Commands> menu(kRows, 100);

  ASSERT_EQ(GetMenuItemCount(menu.Handle()), 3);  // the hidden submenu is in no menu
  EXPECT_EQ(MenuText(menu.Handle(), 0), "New K-li\tCtrl+N");
  EXPECT_EQ(MenuText(menu.Handle(), 1), "Edit");
  HMENU edit = menu.Submenu("Edit");
  EXPECT_EQ(GetSubMenu(menu.Handle(), 1), edit);
  EXPECT_EQ(MenuText(edit, 2), "Always on top\tCtrl+Alt+T");
  EXPECT_THROW(menu.Submenu("Nope"), std::logic_error);

  // Ids in row order, hidden rows included; each runs its row's handler.
  EXPECT_EQ(menu.IdOf(&Commands::New), 100u);
  EXPECT_EQ(menu.IdOf(&Commands::HideAll), 101u);
  EXPECT_EQ(menu.IdOf(&Commands::Print), 103u);
  Commands owner;
  EXPECT_TRUE(menu.Run(owner, 101));
  EXPECT_TRUE(menu.Run(owner, 103));
  EXPECT_FALSE(menu.Run(owner, 999));
  EXPECT_EQ(owner.ran, (std::vector<std::string>{"hide", "print"}));

  owner.onTop = true;
  menu.UpdateChecks(owner);
  EXPECT_TRUE(menu.IsChecked(102));
  owner.onTop = false;
  menu.UpdateChecks(owner);
  EXPECT_FALSE(menu.IsChecked(102));

  // The hidden row's shortcut is accelerated like the others.
  std::vector<ACCEL> accels(8);
  accels.resize(CopyAcceleratorTableA(menu.Accelerators(), accels.data(), 8));
  ASSERT_EQ(accels.size(), 3u);
  EXPECT_EQ(accels[0].key, 'N');
  EXPECT_EQ(accels[0].fVirt, FVIRTKEY | FCONTROL);
  EXPECT_EQ(accels[1].fVirt, FVIRTKEY | FCONTROL | FALT);
  EXPECT_EQ(accels[2].cmd, 103);
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

TEST(WindowBase, TheErrorBoxShowsTextInAnyLanguage) {
  app_test::ErrorBoxWatcher boxes;
  win::ShowingErrors([] { throw std::runtime_error("Can't find C:\\日本\\😀.kli"); });
  ASSERT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(boxes.Texts().front(), "Can't find C:\\日本\\😀.kli");
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
    key.writeString("Wave", "c:\\音\\😀.wav");
  }
  auto key = win::RegistryKey::Open(HKEY_CURRENT_USER, path);
  ASSERT_TRUE(key);
  EXPECT_EQ(key.readString(""), "Quor K-lI pro");
  EXPECT_EQ(key.readString("Command"), "c:\\qkli\\qkli.exe %1");
  EXPECT_EQ(key.readString("Wave"), "c:\\音\\😀.wav");
  EXPECT_EQ(key.readString("Missing"), std::nullopt);
  EXPECT_FALSE(win::RegistryKey::Open(HKEY_CURRENT_USER, "\\Software\\QkliTest\\Nope"));
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QkliTest");
}

}  // namespace
