// What qkli leaves in its notes folder: store files written while the user works, at exit and
// at the end of the session, restored at the next start, and the folder kept in order.
#include <filesystem>

#include "app/window_messages.h"
#include "notes/note_data.h"
#include "notes/note_file.h"
#include "tests/e2e/e2e_support.h"
#include "win/unicode.h"

namespace e2e {
namespace {

using NotesOnDisk = QkliTest;

NoteData LoadWhole(const std::string& path) {
  NoteData data;
  int items = 0;
  LoadNoteFile(path, data, items);
  EXPECT_EQ(items, 21) << path;
  return data;
}

// The file holds exactly the 31 values of `data`: written again from what it loaded, the bytes
// are the same (items 22 to 31 included).
void ExpectExactly(const std::string& path, const NoteData& data, const std::string& scratch) {
  const std::string again = scratch + "\\again.kli";
  SaveNoteFile(again, data);
  EXPECT_EQ(ReadBytes(path), ReadBytes(again)) << path;
}

TEST_F(NotesOnDisk, NewNotesAreWrittenAtExitWithEveryValue) {
  Start();
  ASSERT_EQ(Send(UM_COMMAND, 4, 4), 1);
  const auto notes = Notes();
  ASSERT_EQ(notes.size(), 1u);
  const RECT place = notes[0].rect;
  Stop();

  const auto files = CacheFiles();
  ASSERT_EQ(files.size(), 1u);
  const std::string path = Cache() + "\\" + files[0];
  const NoteData saved = LoadWhole(path);
  EXPECT_EQ(saved.StoreName, "\\" + files[0]);  // a new note's name keeps its separator
  EXPECT_TRUE(saved.FileName.ends_with("\\noname.kli")) << saved.FileName;
  EXPECT_EQ(saved.Left, place.left);
  EXPECT_EQ(saved.Top, place.top);
  EXPECT_EQ(saved.Width, place.right - place.left);
  EXPECT_EQ(saved.Height, place.bottom - place.top);
  EXPECT_TRUE(saved.Shown);
  EXPECT_TRUE(saved.OnTop);
  EXPECT_FALSE(saved.OwnTrayIcon);
  EXPECT_TRUE(saved.Lines.empty());
  EXPECT_TRUE(saved.Alarm.IsSet);
  EXPECT_FALSE(saved.Alarm.Active);
  ExpectExactly(path, saved, scratch_.string());
}

FILETIME LastWrite(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

TEST_F(NotesOnDisk, TypedTextIsOnDiskWithinSecondsAndAHardKillLosesNothing) {
  Start();
  ASSERT_EQ(Send(UM_COMMAND, 4, 4), 1);
  const auto notes = Notes();
  ASSERT_EQ(notes.size(), 1u);
  // Typed on the keyboard: the characters pass the program's message loop on their way in.
  const std::string typed = "日本語 😀 שלום Ελληνικά";
  std::vector<INPUT> keys;
  for (const wchar_t unit : win::Wide(typed))
    for (const DWORD up : {0ul, static_cast<DWORD>(KEYEVENTF_KEYUP)})
      keys.push_back({.type = INPUT_KEYBOARD, .ki = {0, unit, KEYEVENTF_UNICODE | up, 0, 0}});
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));

  const auto stored = [&] {
    const auto files = CacheFiles();
    NoteData data;
    int items = 0;
    if (files.size() == 1) {
      try {
        LoadNoteFile(Cache() + "\\" + files[0], data, items);
      } catch (const std::exception&) {
      }
    }
    return data.Lines == std::vector<std::string>{typed};
  };
  const DWORD posted = GetTickCount();
  while (!stored() && GetTickCount() - posted < 5000) Sleep(100);
  ASSERT_TRUE(stored()) << "the text is on disk within 5 seconds";

  TerminateProcess(process_.hProcess, 1);
  ASSERT_EQ(WaitForSingleObject(process_.hProcess, 5000), WAIT_OBJECT_0);
  Start();
  const auto restored = Notes();
  ASSERT_EQ(restored.size(), 1u);
  wchar_t text[256] = {};
  SendMessageTimeoutW(FindWindowExA(restored[0].hwnd, nullptr, "Edit", nullptr), WM_GETTEXT, 256,
                      reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
  EXPECT_EQ(win::Utf8(text), typed);

  // Left alone, the program writes nothing.
  const std::string store = Cache() + "\\" + CacheFiles().at(0);
  const FILETIME before = LastWrite(store);
  Sleep(4000);
  const FILETIME after = LastWrite(store);
  EXPECT_EQ(CompareFileTime(&before, &after), 0);
  Stop();
}

TEST_F(NotesOnDisk, ARestartRestoresEachNoteAsItWasLeft) {
  NoteData shown;
  shown.Lines = {"Buy milk", "", "call Anna"};
  shown.Font = {"Courier New", 12, true, true, false, false, 0x0000FF};
  shown.TextColor = 0xC0FFC0;
  shown.BackColor = 0x80FFFF;
  shown.Width = 240;
  shown.Height = 160;
  shown.Left = 300;
  shown.Top = 200;
  shown.FileName = "C:\\notes\\shopping.kli";
  shown.StoreName = "11.kli";
  shown.Alarm = {EncodeDateTime(2026, 12, 24, 18, 30), true, false, true};
  shown.Shown = true;
  shown.OnTop = true;
  shown.MailSubject = "list";
  shown.MailTo = "anna@example.org";
  shown.MailRecipients = {"anna@example.org"};
  NoteData hidden;
  hidden.Lines = {"hidden one"};
  hidden.Width = 200;
  hidden.Height = 120;
  hidden.Left = 40;
  hidden.Top = 50;
  hidden.FileName = "C:\\notes\\hidden.txt";
  hidden.StoreName = "\\22.kli";
  hidden.Shown = false;
  hidden.OnTop = false;
  SaveNoteFile(Cache() + "\\11.kli", shown);
  SaveNoteFile(Cache() + "\\22.kli", hidden);
  const std::string shownBytes = ReadBytes(Cache() + "\\11.kli");
  const std::string hiddenBytes = ReadBytes(Cache() + "\\22.kli");

  Start();
  auto notes = Notes();
  ASSERT_EQ(notes.size(), 2u);
  for (const NoteWindow& note : notes) {
    if (note.title == shown.FileName) {
      EXPECT_TRUE(note.visible);
      EXPECT_TRUE(note.topmost);
      EXPECT_EQ(note.rect.left, 300);
      EXPECT_EQ(note.rect.top, 200);
      EXPECT_EQ(note.rect.right - note.rect.left, 240);
      EXPECT_EQ(note.rect.bottom - note.rect.top, 160);
    } else {
      EXPECT_EQ(note.title, hidden.FileName);
      EXPECT_FALSE(note.visible);
      EXPECT_FALSE(note.topmost);
      EXPECT_EQ(note.rect.left, 40);
    }
  }
  Stop();
  // Written back unchanged: text, font, colours, size, place, names, alarm, visibility, mail.
  EXPECT_EQ(CacheFiles(), (std::vector<std::string>{"11.kli", "22.kli"}));
  EXPECT_EQ(ReadBytes(Cache() + "\\11.kli"), shownBytes);
  EXPECT_EQ(ReadBytes(Cache() + "\\22.kli"), hiddenBytes);
}

TEST_F(NotesOnDisk, TheEndOfTheSessionWritesEveryNote) {
  Start();
  Send(UM_COMMAND, 4, 4);
  Send(UM_COMMAND, 4, 4);
  EXPECT_EQ(Send(WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_EQ(CacheFiles().size(), 2u);  // on disk before the session may end
  Send(WM_ENDSESSION, TRUE, 0);
  ASSERT_EQ(WaitForSingleObject(process_.hProcess, 10000), WAIT_OBJECT_0);
  const auto files = CacheFiles();
  ASSERT_EQ(files.size(), 2u);
  for (const std::string& name : files) EXPECT_TRUE(LoadWhole(Cache() + "\\" + name).Shown);
}

TEST_F(NotesOnDisk, TheNotesFolderIsMadeWhenMissingAndCleanedOfInterruptedSaves) {
  std::filesystem::remove_all(folder_ / "cache");
  Start();
  EXPECT_TRUE(std::filesystem::is_directory(folder_ / "cache"));
  Send(UM_COMMAND, 4, 4);
  Stop();
  ASSERT_EQ(CacheFiles().size(), 1u);

  // A save that was cut off left its temporary file; the note file itself is whole.
  const std::string note = CacheFiles()[0];
  WriteBytes(Cache() + "\\" + note + ".tmp~", "half a note");
  Start();
  EXPECT_EQ(CacheFiles(), std::vector<std::string>{note});
  EXPECT_EQ(Notes().size(), 1u);
  Stop();
}

TEST_F(NotesOnDisk, ADamagedStoreFileIsKeptAsideAndNotOverwritten) {
  NoteData good;
  good.Lines = {"fine"};
  good.StoreName = "6.kli";
  SaveNoteFile(Cache() + "\\6.kli", good);
  // A note file cut off after 20 bytes, as a full disk under another program could leave it.
  const std::string damaged = ReadBytes(Cache() + "\\6.kli").substr(0, 20);
  WriteBytes(Cache() + "\\5.kli", damaged);

  Start();  // the damaged note's error box comes during the start-up
  EXPECT_EQ(ErrorBoxes(1)[0], "Read beyond end of file");
  EXPECT_EQ(ReadBytes(Cache() + "\\5.kli.damaged"), damaged);  // aside before anything could write
  Stop();
  EXPECT_EQ(ReadBytes(Cache() + "\\5.kli.damaged"), damaged);
  EXPECT_TRUE(std::filesystem::exists(folder_ / "cache" / "6.kli"));
  // The damaged note went on as an ordinary note with a store file of its own.
  EXPECT_EQ(CacheFiles().size(), 3u);
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

TEST_F(NotesOnDisk, ANoteLeftWhereNoScreenIsComesIntoReachAndKeepsTheUsersPlace) {
  struct Row {
    const char* name;
    int left, top;
  };
  const Row rows[] = {{"1.kli", 5000, 5000}, {"2.kli", -3000, 200}};
  for (const Row& row : rows) {
    NoteData placed;
    placed.Lines = {row.name};
    placed.Width = 200;
    placed.Height = 120;
    placed.Left = row.left;
    placed.Top = row.top;
    placed.StoreName = row.name;
    placed.Shown = true;
    SaveNoteFile(Cache() + "\\" + row.name, placed);
  }
  Start();
  RECT screen{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
  const auto notes = Notes();
  ASSERT_EQ(notes.size(), 2u);
  for (const NoteWindow& note : notes) {
    EXPECT_TRUE(note.visible);
    // The default skin's grip is its title strip along the top.
    EXPECT_GE(note.rect.left, screen.left);
    EXPECT_GE(note.rect.top, screen.top);
    EXPECT_LE(note.rect.right, screen.right);
    EXPECT_LE(note.rect.top + 20, screen.bottom);
  }
  // Dragged by its grip, it follows the mouse.
  const NoteWindow& dragged = notes[0];
  SendMessageA(dragged.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 5));
  SendMessageA(dragged.hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 15));
  SendMessageA(dragged.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 15));
  RECT after{};
  GetWindowRect(dragged.hwnd, &after);
  EXPECT_EQ(after.left, dragged.rect.left - 20);
  EXPECT_EQ(after.top, dragged.rect.top + 10);
  Stop();

  // The one the user did not touch keeps the place the user gave it; the dragged one has a new one.
  for (const Row& row : rows) {
    NoteData saved;
    int items = 0;
    LoadNoteFile(Cache() + "\\" + row.name, saved, items);
    const bool wasDragged = saved.Left == after.left && saved.Top == after.top;
    EXPECT_EQ(saved.UserPlaceKept, !wasDragged) << row.name;
    if (!wasDragged) {
      EXPECT_EQ(std::pair(saved.UserLeft, saved.UserTop), std::pair(row.left, row.top)) << row.name;
    }
  }
}

}  // namespace
}  // namespace e2e
