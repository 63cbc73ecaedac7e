// Saving while the user works: the notes tell what changed, the scheduler says when to write
// which note, the controller owns the one timer and does the writing.
#include "app/main_window.h"
#include "notes/note_window.h"
#include "win/error_box.h"

namespace {

SaveMoment Now() { return static_cast<SaveMoment>(GetTickCount64()); }

SaveNoteId IdOf(const TTFoglio& note) { return reinterpret_cast<SaveNoteId>(&note); }

}  // namespace

void TKliMain::NoteChanged(TTFoglio& note) { CarryOut(saves_.Changed(IdOf(note), Now())); }

void TKliMain::NoteHidden(TTFoglio& note) { CarryOut(saves_.Hidden(IdOf(note), Now())); }

void TKliMain::NoteGone(TTFoglio& note) { CarryOut(saves_.Forget(IdOf(note), Now())); }

void TKliMain::SaveUnsavedNotes() { CarryOut(saves_.SaveAllNow(Now())); }

void TKliMain::CarryOut(const SaveEffects& effects) {
  if (effects.Timer == SaveTimerChange::Arm) {
    if (hwnd() != nullptr) saveTimer_.Start(hwnd(), kSaveTimerId, static_cast<UINT>(effects.DelayMs));
  } else if (effects.Timer == SaveTimerChange::Disarm) {
    saveTimer_.Stop();
  }
  for (const SaveNoteId id : effects.Write) {
    TTFoglio* note = nullptr;
    for (int i = 0; notes_ && i < notes_->Count(); ++i)
      if (IdOf(notes_->Note(i)) == id) note = &notes_->Note(i);
    std::string failure;
    try {
      if (note != nullptr) note->SaveStoreIfChanged();
    } catch (const std::exception& e) {
      failure = e.what();
    } catch (...) {
      failure = "Unknown error";
    }
    // Reported before the error box runs its loop: until then the note counts as being written.
    CarryOut(failure.empty() ? saves_.Written(id, Now()) : saves_.WriteFailed(id, Now()));
    if (!failure.empty()) win::ShowErrorBox(failure);
  }
}
