#pragma once
// "Find": a small modeless form that finds text in all notes, hidden ones too. The list follows
// every key the user types; choosing an entry (double click, Enter, "Show") hands the note and
// where the text lies to whoever opened the form, which shows the note and selects the match.
// Win32.
#include <windows.h>

#include <functional>
#include <span>
#include <vector>

#include "notes/note_search.h"
#include "win/form.h"

class TFindForm final : public win::Form {
 public:
  enum : int { kQuery = 101, kResults, kSummary, kShow = IDOK, kClose = IDCANCEL };

  // The notes as they are at the moment of each search.
  using NotesSource = std::function<std::vector<SearchableNote>()>;
  using MatchChosen = std::function<void(const NoteMatch&)>;

  TFindForm(HWND owner, NotesSource notes, MatchChosen chosen);

  // Shows the form (again) in front with the query selected, so typing replaces it, and searches
  // again: the notes may have changed since.
  void Open();
  // Searches again with the query as it stands.
  void Search();
  const std::vector<NoteMatch>& Matches() const { return matches_; }

 protected:
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static std::span<const win::ControlRow<TFindForm>> Rows();
  void ShowClick();
  void CloseClick() { Close(win::ModalResult::Cancel); }

  NotesSource notes_;
  MatchChosen chosen_;
  std::vector<NoteMatch> matches_;
};
