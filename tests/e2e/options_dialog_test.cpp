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

TEST_F(OptionsDialog, OptionsMessageOpensItAndAbortKeepsTheSettingsButWritesThem) {
  const fs::path options = folder_ / "options.dat";
  Start();
  Send(UM_COMMAND, 4, 4);
  EXPECT_FALSE(fs::exists(options)) << "a first start writes no configuration";

  // The sender waits while the dialog is open.
  HWND controller = controller_;
  auto call = std::async(std::launch::async, [controller] {
    DWORD_PTR answer = 99;
    SendMessageTimeoutA(controller, UM_OPTIONS, 0, 0, SMTO_ABORTIFHUNG, 20000, &answer);
    return answer;
  });
  HWND dialog = nullptr;
  for (int i = 0; i < 250 && dialog == nullptr; ++i) {
    Sleep(20);
    for (HWND w : app_test::WindowsOfProcess(ProcessId(), "TFOptions")) {
      char caption[32] = {};
      GetWindowTextA(w, caption, sizeof caption);
      if (IsWindowVisible(w) && std::string(caption) == "General Options") dialog = w;
    }
  }
  ASSERT_NE(dialog, nullptr) << "no options dialog";
  EXPECT_FALSE(Notes()[0].visible) << "the notes hide while it is open";
  SendMessageA(GetDlgItem(dialog, TFOptions::kIcon0 + 3), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageA(GetDlgItem(dialog, TFOptions::kAllOnTop), BM_CLICK, 0, 0);
  SendMessageA(GetDlgItem(dialog, TFOptions::kAbort), BM_CLICK, 0, 0);
  ASSERT_EQ(call.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(call.get(), 0u);
  EXPECT_TRUE(Notes()[0].visible);

  ASSERT_TRUE(fs::exists(options));
  TQuorSettings written;
  written.ConfigFolder = Folder();
  LoadSettings(written);
  TQuorSettings defaults;
  defaults.ConfigFolder = written.ConfigFolder;
  EXPECT_EQ(written, defaults);
  Stop();
}

}  // namespace
}  // namespace e2e
