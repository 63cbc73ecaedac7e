// The skin selector and the about box, driven as a user drives them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/dll_loader.h"
#include "look/about_box.h"
#include "look/skin_selector.h"
#include "tests/core/scratch_folder.h"
#include "tests/win/app_test_support.h"
#include "tests/win/modal_steps.h"

namespace {

std::vector<std::string> Entries(const TSkinSelector& selector) {
  std::vector<std::string> entries;
  for (int i = 0; i < selector.ItemCount(TSkinSelector::ListBox1); ++i)
    entries.push_back(selector.ItemText(TSkinSelector::ListBox1, i));
  return entries;
}

TEST(SkinSelector, ListsFoldersAndFilesButNothingHiddenAndReturnsTheChoice) {
  ScratchFolder skins;
  for (const char* folder : {"default", "blue", "secret"}) std::filesystem::create_directory(skins.file(folder));
  SetFileAttributesA(skins.file("secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
  WritePlainFile(skins.file("readme.txt"), "not a skin");

  TSkinSelector selector(nullptr, skins.path());
  std::vector<std::string> entries = Entries(selector);
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"blue", "default", "readme.txt"}));

  const int blue = static_cast<int>(SendMessageA(selector.Item(TSkinSelector::ListBox1), LB_FINDSTRINGEXACT,
                                                 static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("blue")));
  const auto result = app_test::ShowModalWith(selector, {[&] { SendMessageA(selector.Item(IDOK), BM_CLICK, 0, 0); },
                                                         [&] {
                                                           EXPECT_TRUE(IsWindowVisible(selector.hwnd()));
                                                           EXPECT_EQ(selector.SelectedSkin(), "");
                                                           selector.Select(TSkinSelector::ListBox1, blue);
                                                           SendMessageA(selector.Item(IDOK), BM_CLICK, 0, 0);
                                                         }});
  EXPECT_EQ(result, win::ModalResult::Ok);
  EXPECT_EQ(selector.SelectedSkin(), "blue");

  TSkinSelector nothing(nullptr, skins.file("missing"));
  EXPECT_EQ(nothing.ItemCount(TSkinSelector::ListBox1), 0);
}

RECT WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

TEST(AboutBox, TakesThePictureSizeCentredOnTopAndClosesAtAnyPress) {
  const std::string folder = app_test::WindowsPath(QKLI_PROGRAM_DIR);
  BITMAP picture{};
  {
    TDllLoader loader(kResourceLibrary, "ABOUTBMP", folder);
    ASSERT_NE(GetObjectA(loader.Bitmap(), sizeof picture, &picture), 0);
  }
  TAboutBox box(nullptr, folder);
  EXPECT_TRUE(box.HasPicture());
  const RECT r = WindowRect(box.hwnd());
  EXPECT_EQ(r.right - r.left, picture.bmWidth);
  EXPECT_EQ(r.bottom - r.top, picture.bmHeight);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - picture.bmWidth) / 2);
  EXPECT_NE(GetWindowLongA(box.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  PostMessageA(box.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(box.ShowModal(), win::ModalResult::Ok);
}

TEST(AboutBox, WithoutTheLibraryItSaysSoAndStillCloses) {
  app_test::ErrorBoxWatcher boxes;
  const std::string folder = app_test::WindowsPath(QKLI_PROGRAM_DIR) + "\\no-such-folder";
  TAboutBox box(nullptr, folder);
  ASSERT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(boxes.Texts()[0], "Can't find " + folder + "\\quorkli.dll");
  EXPECT_FALSE(box.HasPicture());
  const RECT r = WindowRect(box.hwnd());
  EXPECT_GE(r.right - r.left, 200);
  EXPECT_GE(r.bottom - r.top, 60);
  PostMessageA(box.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(box.ShowModal(), win::ModalResult::Ok);
}

}  // namespace
