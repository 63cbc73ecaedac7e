// The resource library loader with the library the build puts into the program folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "win/dll_loader.h"
#include "tests/win/app_test_support.h"

TEST(DllLoader, LoadsBothPicturesFromTheProgramFolder) {
  const std::string folder = app_test::WindowsPath(QKLI_PROGRAM_DIR);
  for (const char* name : {"LOGOBMP", "ABOUTBMP"}) {
    TDllLoader loader(kResourceLibrary, name, folder);
    ASSERT_NE(loader.Bitmap(), nullptr) << name;
    BITMAP info{};
    ASSERT_NE(GetObjectA(loader.Bitmap(), sizeof info, &info), 0);
    EXPECT_GT(info.bmWidth, 0);
    EXPECT_GT(info.bmHeight, 0);
  }
}

TEST(DllLoader, AMissingLibraryIsReportedAndGivesNoPicture) {
  app_test::ErrorBoxWatcher watcher;
  const std::string folder = app_test::WindowsPath(QKLI_PROGRAM_DIR) + "\\no-such-folder";
  TDllLoader loader(kResourceLibrary, "LOGOBMP", folder);
  EXPECT_EQ(loader.Bitmap(), nullptr);
  ASSERT_TRUE(watcher.WaitFor(1));
  EXPECT_EQ(watcher.Texts().front(), "Can't find " + folder + "\\quorkli.dll");
}
