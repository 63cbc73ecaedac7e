// The options dialog's mail page: the security fills the usual port, and the password is
// typed, kept only encrypted in the configuration file, never shown again, and replaced or
// removed by typing.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/options_dialog.h"
#include "app/settings_file.h"
#include "mail/password_store_win.h"
#include "storage/file_io.h"
#include "tests/core/scratch_folder.h"
#include "tests/win/app_test_support.h"
#include "tests/win/modal_steps.h"
#include "tests/win/registry_test_root.h"
#include "win/program_folder.h"

namespace {

const std::string kPassword = "s3cret: pass+word";

void Choose(TFOptions& dialog, int id, int index) {
  dialog.Select(id, index);
  SendMessageA(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(dialog.Item(id)));
}

// The dialog's settings after `steps` and OK.
TQuorSettings AfterOk(const TQuorSettings& settings, std::function<void(TFOptions&)> steps) {
  TestRegistryRoot sounds("MailPage");
  TFOptions dialog(nullptr, settings, app_test::WindowsPath(QKLI_PROGRAM_DIR), sounds.get());
  app_test::ShowModalWith(dialog, {[&] {
                            dialog.ShowPage(TFOptions::kMailPage);
                            steps(dialog);
                            SendMessageA(dialog.Item(IDOK), BM_CLICK, 0, 0);
                          }});
  TQuorSettings taken = settings;
  dialog.TakeSettings(taken);
  return taken;
}

TEST(MailAccountPage, TheSecurityFillsItsUsualPort) {
  const TQuorSettings taken = AfterOk(TQuorSettings{}, [&](TFOptions& dialog) {
    Choose(dialog, TFOptions::kSecurity, 1);
    EXPECT_EQ(dialog.Text(TFOptions::kSmtpPort), "587");
  });
  EXPECT_EQ(taken.SmtpSecurity, 1);
}

TEST(MailAccountPage, ThePasswordIsStoredEncryptedNeverShownAndReplacedOrRemovedByTyping) {
  ScratchFolder folder;
  TQuorSettings settings;
  settings.ConfigFolder = win::LowerCase(folder.path());
  TQuorSettings typed = AfterOk(settings, [](TFOptions& dialog) {
    dialog.SetText(TFOptions::kSignInName, "qkli-user");
    dialog.SetText(TFOptions::kPassword, kPassword);
  });
  EXPECT_EQ(typed.SmtpSignInName, "qkli-user");
  EXPECT_EQ(UnprotectPassword(typed.SmtpPassword).View(), kPassword);
  SaveSettings(typed, folder.path(), win::LowerCase);
  const std::string file = ReadWholeFile(folder.path() + "\\options.dat");
  std::string wide;
  for (const char c : kPassword) wide += std::string{c, '\0'};
  EXPECT_EQ(file.find("s3cret"), std::string::npos);
  EXPECT_EQ(file.find(wide), std::string::npos);

  // The field shows that one is stored, never what.
  const TQuorSettings kept = AfterOk(typed, [](TFOptions& d) {
    EXPECT_TRUE(!d.Text(TFOptions::kPassword).empty() && d.Text(TFOptions::kPassword) != kPassword);
  });
  EXPECT_EQ(kept.SmtpPassword, typed.SmtpPassword);
  const TQuorSettings replaced = AfterOk(typed, [](TFOptions& d) { d.SetText(TFOptions::kPassword, "other"); });
  EXPECT_EQ(UnprotectPassword(replaced.SmtpPassword).View(), "other");
  const TQuorSettings removed = AfterOk(typed, [](TFOptions& d) { d.SetText(TFOptions::kPassword, ""); });
  EXPECT_TRUE(removed.SmtpPassword.empty());
}

}  // namespace
