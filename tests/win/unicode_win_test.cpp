// Text outside the ANSI code page typed into a wide edit box under an ANSI window and the
// program's message loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "storage/file_io.h"
#include "storage/os_file.h"
#include "win/message_loop.h"
#include "win/unicode.h"

namespace {

const std::string kText = "日本語 😀 שלום Ελληνικά";

TEST(WideMessageLoop, TypedCharactersReachAWideEditBoxUnderAnAnsiWindowWhole) {
  const HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 40, 40, 400, 60, nullptr, nullptr, nullptr, nullptr);
  const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 400, 60, host, nullptr,
                                    nullptr, nullptr);
  SetForegroundWindow(host);
  SetFocus(edit);
  std::vector<INPUT> keys(win::Wide(kText).size() * 2, INPUT{.type = INPUT_KEYBOARD, .ki = {}});
  for (std::size_t i = 0; i < keys.size(); ++i)
    keys[i].ki = {0, win::Wide(kText)[i / 2], KEYEVENTF_UNICODE | (i % 2 ? KEYEVENTF_KEYUP : 0u), 0, 0};
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  std::wstring typed;
  for (int i = 0; i < 500 && typed != win::Wide(kText); ++i) {
    win::ProcessWaitingMessages();
    typed.resize(GetWindowTextLengthW(edit));
    GetWindowTextW(edit, typed.data(), static_cast<int>(typed.size() + 1));
    Sleep(10);
  }
  DestroyWindow(host);
  EXPECT_EQ(win::Utf8(typed), kText);
}

TEST(WideFileCalls, AFileNamedBeyondTheCodePagePassesByItsShortNameAndComesBackByItsLongOne) {
  wchar_t temp[MAX_PATH + 1] = {};
  const std::string path = win::Utf8(std::wstring_view(temp, GetTempPathW(MAX_PATH + 1, temp))) + kText + ".kli";
  WriteFileAtomically(path, "note");
  const std::string shortPath = os_file::PathForCodePage(path);
  EXPECT_TRUE(win::AnsiFromUtf8(shortPath).exact) << shortPath;
  EXPECT_EQ(ReadWholeFile(shortPath), "note");
  EXPECT_EQ(os_file::PathFromCodePage(shortPath), path);
  os_file::RemoveQuietly(path);
}

}  // namespace
