// Text and names beyond the ANSI code page through the running program: typed on the keyboard,
// handed over by a second start, and back after a restart.
#include <iterator>

#include "app/window_messages.h"
#include "notes/note_file.h"
#include "storage/file_io.h"
#include "tests/e2e/e2e_support.h"
#include "win/unicode.h"

namespace e2e {
namespace {

using AnyLanguage = QkliTest;

const std::string kText = "日本語 😀 שלום Ελληνικά";

std::string EditText(HWND note) {
  wchar_t text[256] = {};
  SendMessageTimeoutW(FindWindowExA(note, nullptr, "Edit", nullptr), WM_GETTEXT, std::size(text),
                      reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
  return win::Utf8(text);
}

TEST_F(AnyLanguage, TypedTextReachesTheStoreFileAndComesBackAfterAHardKill) {
  Start();
  ASSERT_EQ(Send(UM_COMMAND, 4, 4), 1);
  const auto notes = Notes();
  ASSERT_EQ(notes.size(), 1u);
  // Real keyboard input: the characters pass the program's message loop on their way in.
  RECT box{};
  GetWindowRect(FindWindowExA(notes[0].hwnd, nullptr, "Edit", nullptr), &box);
  SetForegroundWindow(notes[0].hwnd);
  SetCursorPos((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  std::vector<INPUT> input(2, INPUT{.type = INPUT_MOUSE, .mi = {}});
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  for (const wchar_t unit : win::Wide(kText))
    for (const DWORD up : {0ul, static_cast<DWORD>(KEYEVENTF_KEYUP)})
      input.push_back({.type = INPUT_KEYBOARD, .ki = {0, unit, KEYEVENTF_UNICODE | up, 0, 0}});
  SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));

  NoteData stored;
  const auto written = [&] {
    int items = 0;
    try {
      if (CacheFiles().size() == 1) LoadNoteFile(Cache() + "\\" + CacheFiles()[0], stored, items);
    } catch (const std::exception&) {
    }
    return stored.Lines == std::vector<std::string>{kText};
  };
  for (const DWORD typed = GetTickCount(); !written() && GetTickCount() - typed < 5000;) Sleep(100);
  ASSERT_TRUE(written()) << "the text is on disk within 5 seconds";
  // Readers of the older items read the code page's version, "?" where it lacks a character.
  const std::string older = win::AnsiFromUtf8(kText).text;
  EXPECT_NE(older.find('?'), std::string::npos);
  EXPECT_NE(ReadWholeFile(Cache() + "\\" + CacheFiles()[0]).find(std::string(1, char(older.size())) + older),
            std::string::npos);

  TerminateProcess(process_.hProcess, 1);
  ASSERT_EQ(WaitForSingleObject(process_.hProcess, 5000), WAIT_OBJECT_0);
  Start();
  ASSERT_EQ(Notes().size(), 1u);
  EXPECT_EQ(EditText(Notes()[0].hwnd), kText);
  Stop();
}

TEST_F(AnyLanguage, ANoteFileNamedInAnyLanguageOpensThroughASecondStartAndComesBackByItsName) {
  const std::string path = win::Utf8(scratch_.wstring()) + "\\メモ " + kText + ".kli";
  NoteData data;
  data.Lines = {kText};
  SaveNoteFile(path, data);

  Start();
  EXPECT_EQ(StartSecond({path}), 0);
  ASSERT_EQ(Notes().size(), 1u);
  EXPECT_EQ(Notes()[0].title, path);
  EXPECT_EQ(EditText(Notes()[0].hwnd), kText);
  Stop();

  Start();
  ASSERT_EQ(Notes().size(), 1u);
  EXPECT_EQ(Notes()[0].title, path);
  Stop();
}

}  // namespace
}  // namespace e2e
