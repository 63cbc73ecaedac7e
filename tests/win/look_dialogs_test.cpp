// The skin selector and the about box, driven as a user drives them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "win/dll_loader.h"
#include "look/about_box.h"
#include "look/skin_selector.h"
#include "tests/core/scratch_folder.h"
#include "tests/win/app_test_support.h"
#include "tests/win/modal_steps.h"

namespace {

TEST(SkinSelector, ListsFoldersAndFilesButNothingHiddenAndReturnsTheChoice) {
  ScratchFolder skins;
  for (const char* folder : {"default", "blue", "secret"}) std::filesystem::create_directory(skins.file(folder));
  SetFileAttributesA(skins.file("secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
  WritePlainFile(skins.file("readme.txt"), "not a skin");

  TSkinSelector selector(nullptr, skins.path());
  std::vector<std::string> entries;
  for (int i = 0; i < selector.ItemCount(TSkinSelector::ListBox1); ++i)
    entries.push_back(selector.ItemText(TSkinSelector::ListBox1, i));
  const int blue = static_cast<int>(std::find(entries.begin(), entries.end(), "blue") - entries.begin());
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"blue", "default", "readme.txt"}));

  const auto ok = [&] { SendMessageA(selector.Item(IDOK), BM_CLICK, 0, 0); };
  EXPECT_EQ(app_test::ShowModalWith(selector, {ok,
                                               [&] {
                                                 EXPECT_TRUE(IsWindowVisible(selector.hwnd()));
                                                 selector.Select(TSkinSelector::ListBox1, blue);
                                                 ok();
                                               }}),
            win::ModalResult::Ok);
  EXPECT_EQ(selector.SelectedSkin(), "blue");
  EXPECT_EQ(TSkinSelector(nullptr, skins.file("missing")).ItemCount(TSkinSelector::ListBox1), 0);
}

SIZE WindowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

TEST(AboutBox, TakesThePictureSizeOnTopOrSaysThePictureIsMissingAndClosesAtAnyPress) {
  const std::string folder = app_test::WindowsPath(QKLI_PROGRAM_DIR);
  BITMAP picture{};
  GetObjectA(TDllLoader(kResourceLibrary, "ABOUTBMP", folder).Bitmap(), sizeof picture, &picture);
  TAboutBox box(nullptr, folder);
  EXPECT_EQ(WindowSize(box.hwnd()).cx, picture.bmWidth);
  EXPECT_EQ(WindowSize(box.hwnd()).cy, picture.bmHeight);
  EXPECT_NE(GetWindowLongA(box.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  PostMessageA(box.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(box.ShowModal(), win::ModalResult::Ok);

  app_test::ErrorBoxWatcher boxes;
  TAboutBox bare(nullptr, folder + "\\no-such-folder");
  EXPECT_TRUE(boxes.WaitFor(1));
  EXPECT_FALSE(bare.HasPicture());
  EXPECT_GE(WindowSize(bare.hwnd()).cx, 200);
  PostMessageA(bare.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(bare.ShowModal(), win::ModalResult::Ok);
}

}  // namespace
