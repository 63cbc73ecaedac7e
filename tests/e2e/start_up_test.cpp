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
