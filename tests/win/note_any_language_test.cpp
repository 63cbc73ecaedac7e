// A note's text beyond the ANSI code page through the clipboard and into a text file that
// another program reads.
#include <iterator>

#include "tests/win/note_window_test_support.h"
#include "win/unicode.h"

namespace {

const std::string kText = "日本語 😀 שלום Ελληνικά";

class NoteInAnyLanguage : public note_test::NoteWindowTest {};

TEST_F(NoteInAnyLanguage, PastedTextKeepsItsCharacters) {
  TTFoglio& note = NewNote(TestSkin());
  const std::wstring wide = win::Wide(kText);
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(data), wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(data);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, data);
  CloseClipboard();
  note.TextBox().Paste();
  EXPECT_EQ(note.TextBox().Text(), kText);
}

TEST_F(NoteInAnyLanguage, SavedAsTextItIsUtf8ThatPythonReadsBack) {
  TTFoglio& note = NewNote(TestSkin());
  note.TextBox().SetText(kText + "\r\n");
  note.SaveNote(Base() + "\\note.txt");
  // Python on the Unix side reads the file as UTF-8 (a byte-order mark allowed) and writes back
  // what it read; a file that is no UTF-8 leaves no answer.
  const auto unixName = reinterpret_cast<char* (*)(const wchar_t*)>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  ASSERT_NE(unixName, nullptr);
  char* base = unixName(win::Wide(Base()).c_str());
  std::wstring command = win::Wide(
      "/usr/bin/python3 -c \"import os, sys; t = open(sys.argv[1], encoding='utf-8-sig', newline='').read(); "
      "open(sys.argv[2] + '.part', 'w', encoding='utf-8', newline='').write(t); "
      "os.replace(sys.argv[2] + '.part', sys.argv[2])\" " +
      std::string(base) + "/note.txt " + base + "/read.txt");
  HeapFree(GetProcessHeap(), 0, base);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION python{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &python));
  for (HANDLE handle : {python.hProcess, python.hThread})
    if (handle != nullptr) CloseHandle(handle);
  for (int i = 0; i < 200 && GetFileAttributesW(win::Wide(Base() + "\\read.txt").c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
    Sleep(50);
  EXPECT_EQ(note_test::ReadBytes(Base() + "\\read.txt"), kText + "\r\n");
}

}  // namespace
