// The note list and the operations over all notes, with real note windows under Wine and a
// controller stand-in that answers the notes from the list.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/note_list.h"
#include "tests/win/list_host.h"
#include "look/skin.h"
#include "notes/note_file.h"
#include "notes/note_host.h"
#include "notes/note_window.h"
#include "storage/file_io.h"
#include "tests/win/app_test_support.h"
#include "win/printer.h"

namespace {

namespace fs = std::filesystem;

class NoteListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    folder_ = fs::temp_directory_path() /
              ("qkli-list-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter));
    fs::create_directories(folder_);
    skin_ = std::make_unique<TQuorSkin>("default", app_test::WindowsPath(QKLI_PROGRAM_DIR));
    notes_ = std::make_unique<TQuorLista>(host_);
    host_.notes = notes_.get();
  }
  void TearDown() override {
    notes_.reset();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  std::string Folder() const { return folder_.string(); }
  // A new note stored in this test's folder.
  TTFoglio& Add() { return notes_->AddFromFile(*skin_, "", Folder()); }
  // A note file in the folder, as a previous run left it.
  std::string WriteNoteFile(const std::string& name, int left, bool shown) {
    NoteData data;
    data.Lines = {"note " + name};
    data.Left = left;
    data.Top = 40;
    data.Shown = shown;
    data.StoreName = name;
    SaveNoteFile((folder_ / name).string(), data);
    return name;
  }
  std::vector<HWND> Windows() const {
    std::vector<HWND> windows;
    for (int i = 0; i < notes_->Count(); ++i) windows.push_back(notes_->Note(i).hwnd());
    return windows;
  }
  static bool Visible(const TTFoglio& note) { return IsWindowVisible(note.hwnd()) != FALSE; }

  fs::path folder_;
  std::unique_ptr<TQuorSkin> skin_;
  std::unique_ptr<TQuorSkin> otherSkin_;  // goes after the notes that use it
  ListHost host_;
  std::unique_ptr<TQuorLista> notes_;
};

}  // namespace

TEST_F(NoteListTest, AddsHiddenNotesInOrderAndTracksTheCurrentOne) {
  EXPECT_EQ(notes_->Count(), 0);
  EXPECT_EQ(notes_->AddNew(*skin_, false, false), 0);
  EXPECT_EQ(notes_->CurrentIndex(), 0);
  EXPECT_EQ(&notes_->Current(), &notes_->Note(0));
  EXPECT_FALSE(Visible(notes_->Current()));
  // A new note of the program lives in the program's notes folder; out of it again.
  notes_->Delete(0);

  TTFoglio& first = Add();
  TTFoglio& second = notes_->AddFromFile(*skin_, WriteNoteFile("7.kli", 300, true), Folder());
  EXPECT_EQ(notes_->Count(), 2);
  EXPECT_EQ(notes_->CurrentIndex(), 1);
  EXPECT_EQ(&notes_->Note(0), &first);
  EXPECT_EQ(&notes_->Current(), &second);
  // Hidden by the list, yet the visibility the file stored is kept for the start-up setting.
  EXPECT_FALSE(Visible(second));
  EXPECT_TRUE(second.Shown());
  EXPECT_EQ(second.Bounds().Left, 300);
}

// Counts the note windows of this thread that are told they are being shown (their edit boxes,
// made visible inside a hidden note, do not count).
class ShowWatch {
 public:
  ShowWatch() { hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &Watch, nullptr, GetCurrentThreadId()); }
  ~ShowWatch() { UnhookWindowsHookEx(hook_); }
  ShowWatch(const ShowWatch&) = delete;
  ShowWatch& operator=(const ShowWatch&) = delete;
  static int Shows() { return shows_; }

 private:
  static LRESULT CALLBACK Watch(int code, WPARAM wp, LPARAM lp) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
    char name[16] = {};
    if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam &&
        GetClassNameA(call->hwnd, name, sizeof name) && std::string(name) == "TTFoglio")
      ++shows_;
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static inline int shows_ = 0;
  HHOOK hook_;
};

TEST_F(NoteListTest, RestoredNoteIsShownOnlyWhenTheControllerShowsIt) {
  const std::string name = WriteNoteFile("3.kli", 250, true);
  const int before = ShowWatch::Shows();
  {
    const ShowWatch watch;
    TTFoglio& note = notes_->AddFromFile(*skin_, name, Folder());
    // Read whole and placed, yet never on the screen: showing it here and hiding it again
    // would cost two trips to the display server per note at every start.
    EXPECT_EQ(ShowWatch::Shows(), before);
    EXPECT_TRUE(note.Shown());
    EXPECT_EQ(note.Bounds().Left, 250);
    EXPECT_EQ(note.TextBox().Text(), "note 3.kli");
    note.SetShown(note.Shown());
    EXPECT_EQ(ShowWatch::Shows(), before + 1);
    EXPECT_TRUE(Visible(note));
    EXPECT_EQ(GetFocus(), note.TextBox().hwnd());
  }
}

TEST_F(NoteListTest, DeleteRemovesTheNoteAndItsStoreFileAndShiftsTheRest) {
  TTFoglio& a = notes_->AddFromFile(*skin_, WriteNoteFile("1.kli", 10, true), Folder());
  TTFoglio& b = Add();
  TTFoglio& c = Add();
  notes_->Delete(0);
  EXPECT_EQ(notes_->Count(), 2);
  EXPECT_EQ(notes_->CurrentIndex(), 0);
  EXPECT_EQ(&notes_->Note(0), &b);
  EXPECT_EQ(&notes_->Note(1), &c);
  EXPECT_FALSE(FileExists(Folder() + "\\1.kli"));
  (void)a;

  // Deleting the last one leaves the current index one past the end.
  notes_->Delete(1);
  EXPECT_EQ(notes_->CurrentIndex(), 1);
  EXPECT_EQ(notes_->Count(), 1);
  EXPECT_THROW(notes_->Current(), EQuorListError);
}

TEST_F(NoteListTest, IndexesOutsideTheListRaiseTheListErrorAndChangeNothing) {
  Add();
  Add();
  const std::vector<HWND> before = Windows();
  for (int bad : {-1, 2}) {
    try {
      notes_->Delete(bad);
      FAIL() << "Delete(" << bad << ") raised nothing";
    } catch (const EQuorListError& e) {
      EXPECT_STREQ(e.what(), "TQuorList.delete(index):tFoglio:Out of index");
    }
    try {
      notes_->Note(bad);
      FAIL() << "Note(" << bad << ") raised nothing";
    } catch (const EQuorListError& e) {
      EXPECT_STREQ(e.what(), "TQuorList.form(index):tFoglio: out of index");
    }
  }
  EXPECT_EQ(Windows(), before);
  EXPECT_EQ(notes_->CurrentIndex(), 1);
}

TEST_F(NoteListTest, ShowAllNeverShowsAClosedNote) {
  Add();
  TTFoglio& closed = Add();
  Add();
  closed.CloseNote();  // the note's own delete: it stays in the list, closed
  notes_->SetAllVisible(true);
  EXPECT_TRUE(Visible(notes_->Note(0)));
  EXPECT_FALSE(Visible(closed));
  EXPECT_TRUE(Visible(notes_->Note(2)));
  notes_->SetAllVisible(false);
  for (HWND window : Windows()) EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_FALSE(notes_->Note(0).Shown());
}

TEST_F(NoteListTest, SuspendAndResumeKeepEachNotesOwnVisibility) {
  TTFoglio& shown = Add();
  TTFoglio& hidden = Add();
  shown.SetShown(true);
  notes_->Suspend();
  EXPECT_FALSE(Visible(shown));
  EXPECT_FALSE(Visible(hidden));
  EXPECT_TRUE(shown.Shown());  // the stored visibility is not touched
  notes_->Resume();
  EXPECT_TRUE(Visible(shown));
  EXPECT_FALSE(Visible(hidden));
  EXPECT_EQ(GetFocus(), shown.TextBox().hwnd());
}

TEST_F(NoteListTest, OnTopForAllAndTheCascade) {
  for (int i = 0; i < 10; ++i) {
    TTFoglio& note = Add();
    SetWindowPos(note.hwnd(), nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  notes_->SetAllOnTop(true);
  for (HWND window : Windows()) EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  notes_->SetAllOnTop(false);
  for (HWND window : Windows()) EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

  notes_->Cascade(640);
  const int expected[10][2] = {{10, 10},   {60, 25},   {110, 40},  {160, 55},  {210, 70},
                               {260, 85},  {310, 100}, {360, 115}, {410, 130}, {10, 165}};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(notes_->Note(i).Bounds().Left, expected[i][0]) << i;
    EXPECT_EQ(notes_->Note(i).Bounds().Top, expected[i][1]) << i;
    EXPECT_EQ(notes_->Note(i).Bounds().Width, 200);
    EXPECT_FALSE(Visible(notes_->Note(i)));  // visibility does not change
  }
}

TEST_F(NoteListTest, EndOfEditingSwitchesEveryOpenNoteButNoClosedOneToItsDisplay) {
  // A skin that shows inactive notes read-only.
  otherSkin_ = std::make_unique<TQuorSkin>("glass", app_test::WindowsPath(QKLI_PROGRAM_DIR));
  ASSERT_TRUE(otherSkin_->Options().Activable);
  TTFoglio& closed = notes_->AddFromFile(*otherSkin_, "", Folder());
  closed.CloseNote();  // the note's own delete: it stays in the list, closed
  TTFoglio& first = notes_->AddFromFile(*otherSkin_, "", Folder());
  TTFoglio& second = notes_->AddFromFile(*otherSkin_, "", Folder());
  ASSERT_TRUE(closed.TextBox().Visible());
  ASSERT_TRUE(first.TextBox().Visible());
  ASSERT_TRUE(second.TextBox().Visible());
  notes_->EndEditing();
  EXPECT_FALSE(first.TextBox().Visible());
  EXPECT_FALSE(second.TextBox().Visible());
  EXPECT_TRUE(closed.TextBox().Visible());
}

TEST_F(NoteListTest, CloseAllRemovesEveryNoteAndItsStoreFile) {
  notes_->CloseAll();  // nothing to do
  EXPECT_EQ(notes_->Count(), 0);
  for (const char* name : {"1.kli", "2.kli", "3.kli"}) notes_->AddFromFile(*skin_, WriteNoteFile(name, 5, true), Folder());
  notes_->CloseAll();
  EXPECT_EQ(notes_->Count(), 0);
  EXPECT_TRUE(fs::is_empty(folder_));
}

TEST_F(NoteListTest, DestructionSavesOpenNotesAndNotClosedOnes) {
  TTFoglio& kept = notes_->AddFromFile(*skin_, WriteNoteFile("1.kli", 5, true), Folder());
  TTFoglio& closed = notes_->AddFromFile(*skin_, WriteNoteFile("2.kli", 5, true), Folder());
  kept.MoveTo(123, 45);
  closed.CloseNote();
  notes_.reset();
  EXPECT_FALSE(FileExists(Folder() + "\\2.kli"));
  NoteData saved;
  int items = 0;
  LoadNoteFile(Folder() + "\\1.kli", saved, items);
  EXPECT_EQ(saved.Left, 123);
  EXPECT_EQ(saved.Top, 45);
  EXPECT_EQ(saved.Lines, std::vector<std::string>{"note 1.kli"});
}

TEST_F(NoteListTest, StoreNamesInUseCompareAsFileNames) {
  TTFoglio& a = notes_->AddFromFile(*skin_, WriteNoteFile("42.kli", 5, true), Folder());
  TTFoglio& b = Add();
  EXPECT_TRUE(notes_->UsesStoreName("\\42.kli", &b));   // a new note's form of the same file
  EXPECT_TRUE(notes_->UsesStoreName("42.KLI", nullptr));
  EXPECT_FALSE(notes_->UsesStoreName("42.kli", &a));    // the asking note itself does not count
  EXPECT_FALSE(notes_->UsesStoreName("43.kli", nullptr));
  a.CloseNote();                                        // a closed note has no store file any more
  EXPECT_FALSE(notes_->UsesStoreName("42.kli", nullptr));
}
