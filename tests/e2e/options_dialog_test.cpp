// The options dialog of the running program, opened by another process.
#include <chrono>
#include <future>

#include "app/options_dialog.h"
#include "app/settings_file.h"
#include "app/window_messages.h"
#include "tests/e2e/e2e_support.h"

namespace e2e {
namespace {

using OptionsDialog = QkliTest;

TEST_F(OptionsDialog, TheOptionsMessageOpensItAndAbortKeepsTheSettingsButWritesThem) {
  Start();
  Send(UM_COMMAND, 4, 4);
  EXPECT_FALSE(fs::exists(folder_ / "options.dat")) << "a first start writes no configuration";
  // The sender waits while the dialog is open.
  auto answer = std::async(std::launch::async, [controller = controller_] {
    DWORD_PTR result = 99;
    SendMessageTimeoutA(controller, UM_OPTIONS, 0, 0, SMTO_ABORTIFHUNG, 20000, &result);
    return result;
  });
  HWND dialog = nullptr;
  for (int i = 0; i < 250 && !IsWindowVisible(dialog); ++i) {
    Sleep(20);
    dialog = FindWindowA("TFOptions", "General Options");
  }
  ASSERT_TRUE(IsWindowVisible(dialog));
  EXPECT_FALSE(Notes()[0].visible) << "the notes hide while it is open";
  SendMessageA(GetDlgItem(dialog, TFOptions::kIcon0 + 3), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageA(GetDlgItem(dialog, TFOptions::kAllOnTop), BM_CLICK, 0, 0);
  SendMessageA(GetDlgItem(dialog, TFOptions::kAbort), BM_CLICK, 0, 0);
  ASSERT_EQ(answer.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(answer.get(), 0u);
  EXPECT_TRUE(Notes()[0].visible);

  TQuorSettings written;
  written.ConfigFolder = Folder();
  LoadSettings(written);
  TQuorSettings defaults;
  defaults.ConfigFolder = written.ConfigFolder;
  EXPECT_TRUE(fs::exists(folder_ / "options.dat"));
  EXPECT_TRUE(written == defaults) << "icon " << int{written.TrayIconIndex} << ", on top " << written.AllOnTop;
  Stop();
}

}  // namespace
}  // namespace e2e
