#include "app/note_list_operations.h"

#include <vector>

#include "app/note_placement.h"
#include "notes/note_window.h"

void SetAllVisible(TQuorLista& notes, bool visible) {
  for (int i = 0; i < notes.Count(); ++i) notes.Note(i).SetShown(visible);
}

void SetAllOnTop(TQuorLista& notes, bool on) {
  for (int i = 0; i < notes.Count(); ++i) notes.Note(i).SetOnTop(on);
}

void CascadeNotes(TQuorLista& notes, int screenWidth) {
  std::vector<int> widths;
  for (int i = 0; i < notes.Count(); ++i) widths.push_back(notes.Note(i).Width());
  const std::vector<ScreenPoint> places = CascadePositions(widths, screenWidth);
  for (int i = 0; i < notes.Count() && i < static_cast<int>(places.size()); ++i)
    notes.Note(i).MoveTo(places[static_cast<size_t>(i)].X, places[static_cast<size_t>(i)].Y);
}

void CloseAllNotes(TQuorLista& notes) {
  for (int n = notes.Count(); n > 0 && notes.Count() > 0; --n) notes.Delete(0);
}

void SuspendNotes(TQuorLista& notes) {
  for (int i = 0; i < notes.Count(); ++i) {
    TTFoglio& note = notes.Note(i);
    note.SuspendedShown = IsWindowVisible(note.hwnd()) != FALSE;
    ShowWindow(note.hwnd(), SW_HIDE);  // directly: Shown, the stored visibility, stays
  }
}

void ResumeNotes(TQuorLista& notes) {
  for (int i = 0; i < notes.Count(); ++i) {
    TTFoglio& note = notes.Note(i);
    note.SetShown(note.SuspendedShown);
  }
}

void EndNoteEditing(TQuorLista& notes) {
  for (int i = 0; i < notes.Count(); ++i) {
    TTFoglio& note = notes.Note(i);
    if (!note.Closed() && note.TextBoxVisible()) note.SetEditing(false);
  }
}
