// The options dialog driven through its controls while it runs modal, as the controller runs it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/options_dialog.h"
#include "app/settings_file.h"
#include "tests/core/scratch_folder.h"
#include "tests/win/app_test_support.h"
#include "tests/win/modal_steps.h"
#include "tests/win/registry_test_root.h"
#include "win/program_folder.h"

namespace {

const std::string kLibraryFolder = app_test::WindowsPath(QKLI_PROGRAM_DIR);

void Click(const TFOptions& dialog, int id) { SendMessageA(dialog.Item(id), BM_CLICK, 0, 0); }
// As the list reports a choice made with the mouse.
void Choose(TFOptions& dialog, int id, int index) {
  dialog.Select(id, index);
  SendMessageA(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(dialog.Item(id)));
}
int FrameLeft(const TFOptions& dialog) { return static_cast<int>(dialog.ControlRect(TFOptions::kIconFrame).left); }

TEST(OptionsDialog, OkRefusesAPortOutOfRangeThenTakesEveryPageIntoTheWrittenFile) {
  TestRegistryRoot sounds("OptionsOk");
  app_test::ErrorBoxWatcher boxes;
  ScratchFolder folder;
  TQuorSettings settings;
  settings.ConfigFolder = win::LowerCase(folder.path());
  TFOptions dialog(nullptr, settings, kLibraryFolder, sounds.get());
  EXPECT_EQ(FrameLeft(dialog), 99 + 45 * settings.TrayIconIndex);

  const auto result = app_test::ShowModalWith(
      dialog, {[&] {
                 Click(dialog, TFOptions::kRunAtStartup);
                 Click(dialog, TFOptions::kAllOnTop);
                 Choose(dialog, TFOptions::kStartupShow, ssShowNone);
                 dialog.ShowPage(TFOptions::kTrayIconPage);
                 Choose(dialog, TFOptions::kTrayClickAction, taShowMenu);
                 SendMessageA(dialog.Item(TFOptions::kIcon0 + 3), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
                 EXPECT_EQ(FrameLeft(dialog), 234);
                 dialog.ShowPage(TFOptions::kDefaultPage);
                 Click(dialog, TFOptions::kInsertDateTime);
                 SendMessageA(dialog.Item(TFOptions::kFindKey), HKM_SETHOTKEY, MAKEWORD(VK_F12, HOTKEYF_ALT), 0);
                 dialog.SetText(TFOptions::kSmtpServer, "mail.example.org");
                 dialog.SetText(TFOptions::kUserName, "Ann");
                 dialog.SetText(TFOptions::kUserMail, "ann@example.org");
                 dialog.SetText(TFOptions::kSmtpPort, "65536");
                 Click(dialog, IDOK);
               },
               [&] {
                 ASSERT_EQ(boxes.Texts().size(), 1u);
                 EXPECT_EQ(boxes.Texts()[0], kSmtpPortRangeMessage);
                 EXPECT_TRUE(IsWindowVisible(dialog.hwnd()));
                 EXPECT_EQ(dialog.Page(), TFOptions::kMailPage);
                 dialog.SetText(TFOptions::kSmtpPort, "587");
                 Click(dialog, IDOK);
               }});
  ASSERT_EQ(result, win::ModalResult::Ok);

  TQuorSettings expected = settings;
  expected.RunAtStartup = expected.InsertDateTime = true;
  expected.AllOnTop = false;
  expected.StartupShow = ssShowNone;
  expected.TrayClickAction = taShowMenu;
  expected.TrayIconIndex = 3;
  expected.SmtpServer = "mail.example.org";
  expected.SmtpPort = 587;
  expected.UserName = "Ann";
  expected.UserMail = "ann@example.org";
  expected.FindKey = {kModAlt, VK_F12};
  TQuorSettings taken = settings;
  dialog.TakeSettings(taken);
  SaveSettings(taken, folder.path(), win::LowerCase);
  TQuorSettings written;
  written.ConfigFolder = settings.ConfigFolder;
  LoadSettings(written);
  EXPECT_TRUE(written == expected) << "icon " << int{written.TrayIconIndex} << ", port " << written.SmtpPort;
}

TEST(OptionsDialog, TheSoundPageWritesAtOnceAndAbortLeavesIt) {
  TestRegistryRoot sounds("OptionsSound");
  {
    tQuorEvent scheme(false, sounds.get());
    scheme.SetEventSound(evMinimize, "C:\\min.wav");
    scheme.SetEventSound(evAlarm, "C:\\alarm.wav");
  }
  TFOptions dialog(nullptr, TQuorSettings{}, kLibraryFolder, sounds.get());
  EXPECT_EQ(dialog.Text(TFOptions::kSoundFile), "C:\\min.wav");
  const auto result = app_test::ShowModalWith(dialog, {[&] {
    Choose(dialog, TFOptions::kSoundList, evAlarm);
    EXPECT_EQ(dialog.Text(TFOptions::kSoundFile), "C:\\alarm.wav");
    Click(dialog, TFOptions::kSoundNone);
    EXPECT_EQ(dialog.Text(TFOptions::kSoundFile), "");
    Click(dialog, TFOptions::kAbort);
  }});
  EXPECT_EQ(result, win::ModalResult::Abort);
  EXPECT_EQ(sounds.Value(std::string(kEventSchemeKey) + "QKlAlarm\\.current"), "");
  EXPECT_EQ(sounds.Value(std::string(kEventSchemeKey) + "QKlMin\\.current"), "C:\\min.wav");
}

}  // namespace
