// A note's files: the store file written at the end, notes restored from it, note files and
// text files opened into a note, and the faults around them (damaged store files, store names
// taken by another note, text that does not fit the note file).
#include <regex>

#include "notes/note_file.h"
#include "note_window_test_support.h"

namespace note_test {
namespace {

NoteData KnownNote() {
  NoteData note;
  note.Font.name = "Courier New";
  note.Font.size = 10;
  note.Font.bold = true;
  note.Font.color = 0x000080;
  note.TextColor = 0x80FF80;
  note.Lines = {"first line", "second"};
  note.BackColor = 0xC0C0C0;
  note.Width = 220;
  note.Height = 140;
  note.Left = 30;
  note.Top = 40;
  note.FileName = "C:\\docs\\todo.kli";
  note.StoreName = "5.kli";
  note.Alarm.When = EncodeDateTime(2026, 12, 6, 14, 26);
  note.Alarm.EveryDay = true;
  note.Alarm.Active = true;
  note.Alarm.IsSet = true;
  note.Shown = true;
  note.OnTop = true;
  note.MailSubject = "Subject";
  note.MailTo = "someone@example.com";
  note.MailRecipients = {"a@example.com", "b@example.com"};
  return note;
}

// The whole state of a note, read back through a note file of its own.
NoteData StateOf(TTFoglio& note, const std::string& scratch) {
  note.SaveNote(scratch);
  NoteData state;
  int items = 0;
  LoadNoteFile(scratch, state, items);
  return state;
}

COLORREF TextBoxBackground(TTFoglio& note) {
  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageA(note.hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(note.TextBox().hwnd()));
  const COLORREF color = GetBkColor(dc);
  DeleteDC(dc);
  return color;
}

// The file cut inside item 12, the alarm's date and time.
std::string CutInsideAlarm(const std::string& bytes, const NoteData& note) {
  const std::string date = FormatDateText(note.Alarm.When, UserLocalePictures());
  const auto at = bytes.find(date);
  EXPECT_NE(at, std::string::npos);
  return bytes.substr(0, at + 2);
}

TEST_F(NoteWindowTest, NoteWritesItsStoreFileWhenDestroyed) {
  TTFoglio& note = NewNote(TestSkin());
  note.SetText("Hello\r\nWorld\r\n");
  SetWindowPos(note.hwnd(), nullptr, 10, 20, 150, 100, SWP_NOZORDER | SWP_NOACTIVATE);
  const std::string store = note.Store().Path();
  NoteData expected;
  expected.Font = {"Arial", 9, false, false, false, false, 0};
  expected.TextColor = 0xFFFFFF;
  expected.Lines = {"Hello", "World"};
  expected.BackColor = 0x00FFFF;
  expected.Width = 150;
  expected.Height = 100;
  expected.Left = 10;
  expected.Top = 20;
  expected.FileName = note.Data().FileName;
  expected.StoreName = note.Store().Name();
  expected.Alarm = note.AlarmClock().Fields();
  const std::string reference = Base() + "\\reference.kli";
  SaveNoteFile(reference, expected);

  Destroy(note);
  const std::string bytes = ReadBytes(store);
  EXPECT_EQ(bytes, ReadBytes(reference));
  EXPECT_NE(bytes.find(std::string("\x05\x96\x00\x05\x64\x00\x05\x0A\x00\x05\x14\x00", 12)), std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 20), std::string("\x04\x00\x04\x00\x04\x00\x04\x00\x04\x00"
                                                         "\x04\x00\x04\x00\x04\x00\x04\x00\x04\x00", 20));
}

TEST_F(NoteWindowTest, RestoredNoteTakesEverythingFromItsFileAndWritesItBackUnchanged) {
  const NoteData known = KnownNote();
  SaveNoteFile(CachePath("5.kli"), known);
  const std::string original = ReadBytes(CachePath("5.kli"));

  TTFoglio& note = RestoredNote(TestSkin(), "5.kli");
  EXPECT_EQ(note.TextBox().Text(), "first line\r\nsecond");
  EXPECT_EQ(note.Bounds().Left, 30);
  EXPECT_EQ(note.Bounds().Top, 40);
  EXPECT_EQ(note.Bounds().Width, 220);
  EXPECT_EQ(note.Bounds().Height, 140);
  EXPECT_EQ(note.Data().FileName, "C:\\docs\\todo.kli");
  EXPECT_EQ(note.Store().Name(), "5.kli");
  EXPECT_TRUE(note.Shown());
  EXPECT_TRUE(IsWindowVisible(note.hwnd()));
  EXPECT_TRUE(note.OnTop());
  EXPECT_TRUE(GetWindowLongPtrA(note.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(note.AlarmClock().Fields().Active);
  EXPECT_EQ(TextBoxBackground(note), 0x80FF80u);
  LOGFONTA log{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(note.TextBox().hwnd(), WM_GETFONT, 0, 0)), sizeof log, &log);
  EXPECT_STREQ(log.lfFaceName, "Courier New");
  EXPECT_EQ(log.lfWeight, FW_BOLD);
  // The alarm sign shows while the alarm is on.
  UpdateWindow(note.hwnd());
  Pump(100);
  HDC dc = GetDC(note.hwnd());
  EXPECT_EQ(GetPixel(dc, 220 - 60 + 8, 10), RGB(0, 160, 0));
  ReleaseDC(note.hwnd(), dc);

  Destroy(note);
  EXPECT_EQ(ReadBytes(CachePath("5.kli")), original);
}

TEST_F(NoteWindowTest, RestoredNoteCanKeepItsStoredVisibilityForWhoeverShowsIt) {
  SaveNoteFile(CachePath("5.kli"), KnownNote());
  TTFoglio& note = Keep(std::make_unique<TTFoglio>(host_, false, false, Cache(), "5.kli", TestSkin(),
                                                   TTFoglio::StoredVisibility::Keep));
  EXPECT_FALSE(IsWindowVisible(note.hwnd()));
  EXPECT_TRUE(note.Shown());
  // Everything else is applied as ever.
  EXPECT_EQ(note.TextBox().Text(), "first line\r\nsecond");
  EXPECT_EQ(note.Bounds().Left, 30);
  EXPECT_EQ(note.Bounds().Width, 220);
  EXPECT_TRUE(note.OnTop());
  EXPECT_TRUE(GetWindowLongPtrA(note.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  // Only the restore keeps it: a note file opened later shows the note as the file says.
  NoteData shown = KnownNote();
  shown.OnTop = false;
  const std::string other = Base() + "\\other.kli";
  SaveNoteFile(other, shown);
  note.LoadNote(other);
  EXPECT_TRUE(IsWindowVisible(note.hwnd()));
  EXPECT_FALSE(note.OnTop());
  EXPECT_FALSE(GetWindowLongPtrA(note.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(NoteWindowTest, NoteLeftOfThePrimaryScreenComesBackWhereItWas) {
  NoteData known = KnownNote();
  known.Left = -300;
  known.Top = -50;
  SaveNoteFile(CachePath("5.kli"), known);
  const std::string original = ReadBytes(CachePath("5.kli"));
  TTFoglio& note = RestoredNote(TestSkin(), "5.kli");
  EXPECT_EQ(note.Bounds().Left, -300);
  EXPECT_EQ(note.Bounds().Top, -50);
  Destroy(note);
  EXPECT_EQ(ReadBytes(CachePath("5.kli")), original);
}

TEST_F(NoteWindowTest, TextFilesOpenWithNormalisedLineBreaksAndSaveAsTheBoxHoldsThem) {
  TTFoglio& note = NewNote(TestSkin());
  const NoteData before = StateOf(note, Base() + "\\before.kli");
  const std::string text = Base() + "\\list.txt";
  WriteBytes(text, "a\rb\nc\r\nd\r\n");
  note.OpenFileInNote(text);
  EXPECT_EQ(note.TextBox().Text(), "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(note.Data().FileName, text);
  const NoteData after = StateOf(note, Base() + "\\after.kli");
  EXPECT_EQ(after.Font.name, before.Font.name);
  EXPECT_EQ(after.TextColor, before.TextColor);
  EXPECT_EQ(after.BackColor, before.BackColor);
  EXPECT_EQ(after.StoreName, before.StoreName);
  // The plain text keeps the last line break; the note file has no empty last line.
  EXPECT_EQ(after.Lines, (std::vector<std::string>{"a", "b", "c", "d"}));
  note.SaveNote(Base() + "\\copy.txt");
  EXPECT_EQ(ReadBytes(Base() + "\\copy.txt"), "a\r\nb\r\nc\r\nd\r\n");
  // ".kli" anywhere in the path means a note file.
  note.SaveNote(Base() + "\\copy.kli.txt");
  EXPECT_EQ(ReadBytes(Base() + "\\copy.kli.txt").substr(0, 2), "\x04\x32");
}

TEST_F(NoteWindowTest, NoteFileKeepsTheLinesAsTheBoxWrapsThem) {
  TQuorSkin& skin = TestSkin();
  TTFoglio& note = NewNote(skin);
  const std::string paragraph =
      "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi omicron pi rho";
  note.SetText(paragraph);
  const NoteData state = StateOf(note, Base() + "\\wrapped.kli");
  ASSERT_GE(state.Lines.size(), 2u) << "a paragraph wider than the box is one entry per shown line";
  std::string joined;
  for (const std::string& line : state.Lines) {
    EXPECT_LE(line.size(), paragraph.size() / 2 + 10) << line;
    joined += line;
  }
  std::erase(joined, ' ');
  std::string words = paragraph;
  std::erase(words, ' ');
  EXPECT_EQ(joined, words);

  // The plain text file keeps the paragraph whole; the note file brings it back in lines.
  note.SaveNote(Base() + "\\wrapped.txt");
  EXPECT_EQ(ReadBytes(Base() + "\\wrapped.txt"), paragraph);
  TTFoglio& reopened = NewNote(skin);
  reopened.LoadNote(Base() + "\\wrapped.kli");
  EXPECT_EQ(reopened.TextBox().Text(), EditTextFromLines(state.Lines));
}

TEST_F(NoteWindowTest, TextFileTooLongForTheEditBoxIsRefusedAndTheNoteStaysAsItWas) {
  TTFoglio& note = NewNote(TestSkin());
  note.SetText("mine");
  const std::string name = note.Data().FileName;
  const std::string big = Base() + "\\big.txt";
  WriteBytes(big, std::string(NoteTextBox::kCapacity + 1, 'x'));
  try {
    note.OpenFileInNote(big);
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Text exceeds memo capacity.");
  }
  EXPECT_EQ(note.TextBox().Text(), "mine");
  EXPECT_EQ(note.Data().FileName, name);
}

TEST_F(NoteWindowTest, CutNoteFileAppliesWhatWasReadBeforeTheFailure) {
  TTFoglio& note = NewNote(TestSkin());
  const std::string ownStore = note.Store().Name();
  NoteData known = KnownNote();
  const std::string whole = Base() + "\\whole.kli";
  SaveNoteFile(whole, known);
  const std::string cut = Base() + "\\cut.kli";
  WriteBytes(cut, CutInsideAlarm(ReadBytes(whole), known));

  try {
    note.LoadNote(cut);
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Read beyond end of file");
  }
  EXPECT_EQ(note.TextBox().Text(), "first line\r\nsecond");
  EXPECT_EQ(TextBoxBackground(note), 0x80FF80u);
  EXPECT_EQ(note.Bounds().Width, 220);
  EXPECT_EQ(note.Bounds().Left, 30);
  EXPECT_EQ(note.Bounds().Top, 40);
  EXPECT_EQ(note.Data().FileName, "C:\\docs\\todo.kli");
  EXPECT_EQ(note.Store().Name(), ownStore);
  // Nothing after the failure is applied.
  EXPECT_FALSE(note.Shown());
  EXPECT_FALSE(note.OnTop());
  EXPECT_FALSE(note.AlarmClock().Fields().Active);
  const NoteData state = StateOf(note, Base() + "\\state.kli");
  EXPECT_EQ(state.BackColor, 0xC0C0C0);
  EXPECT_EQ(state.Font.name, "Courier New");
  EXPECT_TRUE(state.MailRecipients.empty());
}

TEST_F(NoteWindowTest, DamagedStoreFileIsKeptAsideAndTheNoteMovesToAStoreFileOfItsOwn) {
  const NoteData known = KnownNote();
  SaveNoteFile(Base() + "\\whole.kli", known);
  const std::string damaged = CutInsideAlarm(ReadBytes(Base() + "\\whole.kli"), known);
  WriteBytes(CachePath("7.kli"), damaged);

  TTFoglio& note = RestoredNote(TestSkin(), "7.kli");
  ASSERT_EQ(host_.damaged.size(), 1u);
  EXPECT_EQ(host_.damaged[0], std::pair(CachePath("7.kli.damaged"), std::string("Read beyond end of file")));
  EXPECT_EQ(ReadBytes(CachePath("7.kli.damaged")), damaged);
  EXPECT_TRUE(std::regex_match(note.Store().Name(), std::regex(R"(\\[0-9]{1,6}\.kli)"))) << note.Store().Name();
  EXPECT_EQ(note.TextBox().Text(), "first line\r\nsecond");

  // From here on it is an ordinary note.
  const std::string store = note.Store().Path();
  Destroy(note);
  NoteData saved;
  int items = 0;
  LoadNoteFile(store, saved, items);
  EXPECT_EQ(saved.Lines, known.Lines);
}

TEST_F(NoteWindowTest, NotesNeverShareAStoreFile) {
  // A file saved from another open note names that note's store file.
  host_.inUse = {"\\77.kli"};
  TTFoglio& opener = NewNote(TestSkin());
  const std::string own = opener.Store().Name();
  NoteData other = KnownNote();
  other.StoreName = "\\77.kli";
  const std::string otherFile = Base() + "\\other.kli";
  SaveNoteFile(otherFile, other);
  opener.OpenFileInNote(otherFile);
  EXPECT_EQ(opener.Store().Name(), own);
  EXPECT_EQ(opener.Data().FileName, otherFile);
  EXPECT_EQ(opener.TextBox().Text(), "first line\r\nsecond");
  Destroy(opener);
  EXPECT_FALSE(FileExists(CachePath("77.kli")));
  EXPECT_TRUE(FileExists(CachePath(own)));
}

TEST_F(NoteWindowTest, RestoredNoteTakesTheWholeTextKeptBesideItsFile) {
  TQuorSkin& skin = TestSkin();
  TTFoglio& note = NewNote(skin);
  std::string text;
  for (int i = 1; i <= 300; ++i) text += "line " + std::to_string(i) + "\r\n";
  note.SetText(text);
  const std::string name = note.Store().Name();
  Destroy(note);
  EXPECT_EQ(RestoredNote(skin, name.substr(1)).TextBox().Text(), text);
}

}  // namespace
}  // namespace note_test
