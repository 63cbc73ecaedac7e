// The start of the running instance: which note files of the notes folder come back and in
// what order, and the files named on its command line.
#include <algorithm>
#include <filesystem>

#include "app/window_messages.h"
#include "notes/note_data.h"
#include "notes/note_file.h"
#include "tests/e2e/e2e_support.h"

namespace e2e {
namespace {

using StartUp = QkliTest;

NoteData NoteTitled(const std::string& title) {
  NoteData data;
  data.Lines = {title};
  data.FileName = title;
  data.Width = 200;
  data.Height = 120;
  data.Shown = true;
  return data;
}

// The notes' titles in list order: the cascade places the notes from the first on, each 50
// pixels right of the one before (on a screen wide enough for one row).
std::vector<std::string> TitlesInListOrder(const std::vector<NoteWindow>& notes) {
  std::vector<NoteWindow> byPlace = notes;
  std::sort(byPlace.begin(), byPlace.end(),
            [](const NoteWindow& a, const NoteWindow& b) { return a.rect.left < b.rect.left; });
  std::vector<std::string> titles;
  for (const NoteWindow& note : byPlace) titles.push_back(note.title);
  return titles;
}

TEST_F(StartUp, NoteFilesComeBackInNameOrderWithoutRegardToCase) {
  for (const char* name : {"b.kli", "C.KLI", "A.kli"}) SaveNoteFile(Cache() + "\\" + name, NoteTitled(name));
  // Not note files of the folder, though their names come close.
  SaveNoteFile(Cache() + "\\d.klix", NoteTitled("d.klix"));
  SaveNoteFile(Cache() + "\\e.kli.damaged", NoteTitled("e.kli.damaged"));
  std::filesystem::create_directory(folder_ / "cache" / "f.kli");

  Start();
  ASSERT_EQ(Send(UM_COMMAND, 11, 11), 1);
  EXPECT_EQ(TitlesInListOrder(Notes()), (std::vector<std::string>{"A.kli", "b.kli", "C.KLI"}));
  Stop();
}

TEST_F(StartUp, CommandLineFilesOpenAfterTheRestoredNotesInArgumentOrder) {
  SaveNoteFile(Cache() + "\\1.kli", NoteTitled("restored"));
  const std::string first = (scratch_ / "first.kli").string();
  SaveNoteFile(first, NoteTitled("unused title"));
  const std::string second = (scratch_ / "second.txt").string();
  WriteBytes(second, "second\r\n");
  const std::string missing = (scratch_ / "missing.kli").string();

  // The missing file last: under Wine the focus that comes back when its error box closes
  // arrives late and would raise the note before it above the one after it.
  Start({first, second, missing});
  EXPECT_EQ(ErrorBoxes(1)[0], "File not found :" + missing);
  const std::vector<NoteWindow> notes = Notes();
  ASSERT_EQ(notes.size(), 3u);
  for (const NoteWindow& note : notes) EXPECT_TRUE(note.visible) << note.title;
  // Each opened file's note was brought to the front in turn: the second above the first.
  const auto at = [&](const std::string& title) {
    return std::find_if(notes.begin(), notes.end(), [&](const NoteWindow& n) { return n.title == title; });
  };
  ASSERT_NE(at(first), notes.end());
  ASSERT_NE(at(second), notes.end());
  EXPECT_LT(at(second), at(first));

  ASSERT_EQ(Send(UM_COMMAND, 11, 11), 1);
  EXPECT_EQ(TitlesInListOrder(Notes()), (std::vector<std::string>{"restored", first, second}));
  Stop();
  EXPECT_EQ(CacheFiles().size(), 3u);
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

TEST_F(StartUp, ManyDamagedNoteFilesAreReportedInOneBoxOnceTheNotesShow) {
  for (const char* name : {"a.kli", "b.kli", "c.kli"}) SaveNoteFile(Cache() + "\\" + name, NoteTitled(name));
  const std::string damaged = ReadBytes(Cache() + "\\a.kli").substr(0, 20);
  for (int i = 0; i < 160; ++i) WriteBytes(Cache() + "\\d" + std::to_string(i) + ".kli", damaged);

  Start();
  HWND report = nullptr;
  for (int wait = 0; wait < 200 && report == nullptr; ++wait) {
    const auto found = app_test::WindowsOfProcess(ProcessId(), "TDamagedNotesReport");
    // Found once its texts are in: the window exists a moment before its controls.
    if (!found.empty() && GetWindowTextLengthA(GetDlgItem(found.front(), 101)) > 0) report = found.front();
    else Sleep(50);
  }
  ASSERT_NE(report, nullptr);
  char summary[256] = {};
  GetWindowTextA(GetDlgItem(report, 101), summary, sizeof summary);
  EXPECT_TRUE(std::string(summary).starts_with("160 note files could not be read.")) << summary;
  HWND list = GetDlgItem(report, 102);
  EXPECT_EQ(SendMessageA(list, EM_GETLINECOUNT, 0, 0), 161);  // a line each, the last one empty
  // Every valid note is on the screen, and so is every damaged one with what could be read.
  const auto notes = Notes();
  EXPECT_EQ(notes.size(), 163u);
  EXPECT_EQ(std::count_if(notes.begin(), notes.end(), [](const NoteWindow& n) { return n.visible; }), 3);
  const std::vector<std::string> files = CacheFiles();
  EXPECT_EQ(std::count_if(files.begin(), files.end(), [](const std::string& f) { return f.ends_with(".damaged"); }),
            160);
  SendMessageA(report, WM_COMMAND, IDOK, 0);
  Stop();
}

}  // namespace
}  // namespace e2e
