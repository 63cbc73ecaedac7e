// The options dialog driven through its controls while it runs modal, as the controller runs it.
#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>

#include "app/options_dialog.h"
#include "app/settings_file.h"
#include "tests/core/scratch_folder.h"
#include "tests/win/app_test_support.h"
#include "tests/win/modal_steps.h"
#include "tests/win/registry_test_root.h"
#include "win/program_folder.h"

// Failures show the settings as fields, not bytes.
void PrintTo(const TQuorSettings& s, std::ostream* out) {
  *out << "{" << s.ConfigName << ", " << s.ConfigFolder << ", run " << s.RunAtStartup << ", startup "
       << int{s.StartupShow} << ", show all " << s.ShowAllOnAdd << ", on top " << s.AllOnTop << ", recycle "
       << s.DeleteToRecycleBin << ", date " << s.InsertDateTime << ", own tray " << s.ShowInTrayArea << ", click "
       << int{s.TrayClickAction} << ", icon " << int{s.TrayIconIndex} << ", " << s.SmtpServer << ":" << s.SmtpPort
       << ", " << s.UserName << " <" << s.UserMail << ">, skin " << s.SkinName << "}";
}

namespace {

const std::string kLibraryFolder = app_test::WindowsPath(QKLI_PROGRAM_DIR);

void Click(const TFOptions& dialog, int id) { SendMessageA(dialog.Item(id), BM_CLICK, 0, 0); }
void ClickIcon(const TFOptions& dialog, int index) {
  SendMessageA(dialog.Item(TFOptions::kIcon0 + index), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
}
// As the list itself reports a choice made with the mouse.
void Choose(TFOptions& dialog, int id, int index) {
  dialog.Select(id, index);
  SendMessageA(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(dialog.Item(id)));
}
int FrameLeft(const TFOptions& dialog) { return static_cast<int>(dialog.ControlRect(TFOptions::kIconFrame).left); }

TEST(OptionsDialog, OkTakesEveryPageAndTheWrittenFileHoldsIt) {
  TestRegistryRoot sounds("OptionsOk");
  ScratchFolder folder;
  TQuorSettings settings;
  settings.ConfigFolder = win::LowerCase(folder.path());
  TFOptions dialog(nullptr, settings, kLibraryFolder, sounds.get());
  EXPECT_EQ(FrameLeft(dialog), 99 + 45 * settings.TrayIconIndex);

  const auto result = app_test::ShowModalWith(dialog, {[&] {
    dialog.ShowPage(TFOptions::kGeneralPage);
    Click(dialog, TFOptions::kRunAtStartup);
    Click(dialog, TFOptions::kAllOnTop);
    Choose(dialog, TFOptions::kStartupShow, ssShowNone);
    dialog.ShowPage(TFOptions::kTrayIconPage);
    Choose(dialog, TFOptions::kTrayClickAction, taShowMenu);
    ClickIcon(dialog, 3);
    EXPECT_EQ(FrameLeft(dialog), 234);
    dialog.ShowPage(TFOptions::kMailPage);
    dialog.SetText(TFOptions::kSmtpServer, "mail.example.org");
    dialog.SetText(TFOptions::kSmtpPort, "587");
    dialog.SetText(TFOptions::kUserName, "Ann");
    dialog.SetText(TFOptions::kUserMail, "ann@example.org");
    dialog.ShowPage(TFOptions::kDefaultPage);
    Click(dialog, TFOptions::kInsertDateTime);
    Click(dialog, IDOK);
  }});
  ASSERT_EQ(result, win::ModalResult::Ok);

  TQuorSettings expected = settings;
  expected.RunAtStartup = true;
  expected.AllOnTop = false;
  expected.StartupShow = ssShowNone;
  expected.TrayClickAction = taShowMenu;
  expected.TrayIconIndex = 3;
  expected.SmtpServer = "mail.example.org";
  expected.SmtpPort = 587;
  expected.UserName = "Ann";
  expected.UserMail = "ann@example.org";
  expected.InsertDateTime = true;
  TQuorSettings taken = settings;
  dialog.TakeSettings(taken);
  SaveSettings(taken, folder.path(), win::LowerCase);
  TQuorSettings written;
  written.ConfigFolder = settings.ConfigFolder;
  LoadSettings(written);
  EXPECT_EQ(written, expected);
}

TEST(OptionsDialog, APortOutOfRangeIsRefusedAndTheDialogStaysOpen) {
  TestRegistryRoot sounds("OptionsPort");
  app_test::ErrorBoxWatcher boxes;
  TQuorSettings settings;
  TFOptions dialog(nullptr, settings, kLibraryFolder, sounds.get());
  const auto result = app_test::ShowModalWith(dialog, {[&] {
                                                         dialog.SetText(TFOptions::kSmtpPort, "65536");
                                                         Click(dialog, IDOK);
                                                       },
                                                       [&] {
                                                         EXPECT_TRUE(IsWindowVisible(dialog.hwnd()));
                                                         EXPECT_EQ(dialog.Page(), TFOptions::kMailPage);
                                                         dialog.SetText(TFOptions::kSmtpPort, "65535");
                                                         Click(dialog, IDOK);
                                                       }});
  EXPECT_EQ(result, win::ModalResult::Ok);
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], kSmtpPortRangeMessage);
  dialog.TakeSettings(settings);
  EXPECT_EQ(settings.SmtpPort, 65535);
}

TEST(OptionsDialog, TheListsTakeNoTypingAndTheTrayActionNoArrows) {
  TestRegistryRoot sounds("OptionsLists");
  TFOptions dialog(nullptr, TQuorSettings{}, kLibraryFolder, sounds.get());
  const auto result = app_test::ShowModalWith(
      dialog, {[&] {
                 dialog.ShowPage(TFOptions::kTrayIconPage);
                 PostMessageA(dialog.Item(TFOptions::kTrayClickAction), WM_KEYDOWN, VK_DOWN, 0);
                 dialog.ShowPage(TFOptions::kGeneralPage);
                 PostMessageA(dialog.Item(TFOptions::kStartupShow), WM_CHAR, 'D', 0);
               },
               [&] {
                 EXPECT_EQ(dialog.Selection(TFOptions::kTrayClickAction), taNewNote);
                 EXPECT_EQ(dialog.Selection(TFOptions::kStartupShow), ssLastState);
                 PostMessageA(dialog.Item(TFOptions::kStartupShow), WM_KEYDOWN, VK_DOWN, 0);
               },
               [&] {
                 EXPECT_EQ(dialog.Selection(TFOptions::kStartupShow), ssShowAll);
                 Click(dialog, TFOptions::kAbort);
               }});
  EXPECT_EQ(result, win::ModalResult::Abort);
}

TEST(OptionsDialog, TheSoundPageWritesAtOnceAndAbortLeavesIt) {
  TestRegistryRoot sounds("OptionsSound");
  {
    tQuorEvent scheme(false, sounds.get());
    scheme.SetEventSound(evMinimize, "C:\\min.wav");
    scheme.SetEventSound(evAlarm, "C:\\alarm.wav");
  }
  const std::string alarmSound = std::string(kEventSchemeKey) + "QKlAlarm\\.current";
  TFOptions dialog(nullptr, TQuorSettings{}, kLibraryFolder, sounds.get());
  EXPECT_EQ(dialog.Text(TFOptions::kSoundFile), "C:\\min.wav");
  const auto result = app_test::ShowModalWith(dialog, {[&] {
    dialog.ShowPage(TFOptions::kSoundPage);
    Choose(dialog, TFOptions::kSoundList, evAlarm);
    EXPECT_EQ(dialog.Text(TFOptions::kSoundFile), "C:\\alarm.wav");
    Click(dialog, TFOptions::kSoundNone);
    EXPECT_EQ(dialog.Text(TFOptions::kSoundFile), "");
    EXPECT_EQ(sounds.Value(alarmSound), "");
    Click(dialog, TFOptions::kAbort);
  }});
  EXPECT_EQ(result, win::ModalResult::Abort);
  EXPECT_EQ(sounds.Value(alarmSound), "");
  EXPECT_EQ(sounds.Value(std::string(kEventSchemeKey) + "QKlMin\\.current"), "C:\\min.wav");
}

}  // namespace
