// Long use of notes leaves nothing behind: making and closing a thousand notes leaves the
// program's objects, handles and memory as they were.
#include "app/note_list.h"
#include "tests/leaks/leak_census.h"
#include "tests/win/note_window_test_support.h"

namespace {

class Leaks : public note_test::NoteWindowTest {};

TEST_F(Leaks, AThousandNotesMadeAndClosed) {
  TQuorSkin& skin = TestSkin();
  TQuorLista notes(host_);
  leak_test::ExpectNoLeak("1000 notes made and closed", 1000, 2 * 1024 * 1024, [&](int i) {
    TTFoglio& note = notes.Note(notes.AddNew(skin, i % 2 == 0, i % 3 == 0));
    note.SetShown(true);
    note.SetText("line one\r\nline two");
    UpdateWindow(note.hwnd());
    note_test::Pump(0);
    notes.Delete(notes.Count() - 1);
  });
}

}  // namespace
