// Text outside the ANSI code page through the Windows calls: typed into a wide edit box under
// the program's message loop, and as the name of a file.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "storage/file_io.h"
#include "storage/os_file.h"
#include "win/message_loop.h"
#include "win/unicode.h"
#include "win/window.h"

namespace {

const std::string kText = "日本語 😀 שלום Ελληνικά";

class Host : public win::Window {
 public:
  Host() { create({.className = "QkliUnicodeHost", .style = WS_POPUP | WS_VISIBLE, .x = 40, .y = 40, .width = 400, .height = 60}); }
};

TEST(WideMessageLoop, TypedCharactersReachAWideEditBoxUnderAnAnsiWindowWhole) {
  Host host;
  const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 400, 60, host.hwnd(),
                                    nullptr, nullptr, nullptr);
  SetForegroundWindow(host.hwnd());
  SetFocus(edit);
  std::vector<INPUT> keys;
  for (const wchar_t unit : win::Wide(kText)) {
    for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT key{};
      key.type = INPUT_KEYBOARD;
      key.ki.wScan = unit;
      key.ki.dwFlags = KEYEVENTF_UNICODE | up;
      keys.push_back(key);
    }
  }
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  std::wstring typed;
  while (typed != win::Wide(kText) && std::chrono::steady_clock::now() < end) {
    win::ProcessWaitingMessages();
    typed.resize(GetWindowTextLengthW(edit));
    GetWindowTextW(edit, typed.data(), static_cast<int>(typed.size() + 1));
    Sleep(10);
  }
  EXPECT_EQ(win::Utf8(typed), kText);
}

TEST(WideFileCalls, ANameInAnyLanguageIsWrittenListedReadAndRemoved) {
  wchar_t temp[MAX_PATH + 1] = {};
  const std::string folder = win::Utf8(std::wstring_view(temp, GetTempPathW(MAX_PATH + 1, temp))) + "qkli-" + kText;
  ASSERT_TRUE(CreateDirectoryW(win::Wide(folder).c_str(), nullptr));
  const std::string name = kText + ".txt";
  const std::string path = os_file::JoinPath(folder, name);
  WriteFileAtomically(path, "one");
  WriteFileAtomically(path, "two");  // over the first, through a rename
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(ReadWholeFile(path), "two");
  EXPECT_EQ(os_file::FileNamesIn(folder), std::vector<std::string>{name});
  os_file::RemoveQuietly(path);
  EXPECT_FALSE(FileExists(path));
  EXPECT_TRUE(RemoveDirectoryW(win::Wide(folder).c_str()));
}

}  // namespace
