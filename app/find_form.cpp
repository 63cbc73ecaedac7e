#include "app/find_form.h"

#include <string>

namespace {

constexpr const char* kNothingFound = "No note holds this text.";
constexpr int kNameColumn = 80;  // dialog units: where the matching line starts in the list

std::string Summary(size_t found) {
  return found == 1 ? "1 note holds this text." : std::to_string(found) + " notes hold this text.";
}

}  // namespace

std::span<const win::ControlRow<TFindForm>> TFindForm::Rows() {
  using Row = win::ControlRow<TFindForm>;
  constexpr DWORD kListStyle = LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  static constexpr Row kRows[] = {
      {win::kLabel, "Find:", 0, 8, 12, 36, 13},
      {win::kEdit, "", kQuery, 48, 8, 264, 21, ES_AUTOHSCROLL, 0, &TFindForm::Search},
      {win::kListBox, "", kResults, 8, 36, 304, 146, kListStyle},
      {win::kLabel, "", kSummary, 8, 195, 140, 13, SS_NOPREFIX},
      {win::kButton, "Show", kShow, 156, 190, 75, 25, BS_DEFPUSHBUTTON, 0, &TFindForm::ShowClick},
      {win::kButton, "Close", kClose, 237, 190, 75, 25, 0, 0, &TFindForm::CloseClick},
  };
  return kRows;
}

TFindForm::TFindForm(HWND owner, NotesSource notes, MatchChosen chosen)
    : Form({.className = "TFindForm",
            .caption = "Find",
            .clientWidth = 320,
            .clientHeight = 223,
            .owner = owner,
            .exStyle = WS_EX_TOOLWINDOW}),
      notes_(std::move(notes)),
      chosen_(std::move(chosen)) {
  AddControls<TFindForm>(Rows());
  int tabStop = kNameColumn;
  SendMessageA(Item(kResults), LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
}

void TFindForm::Open() {
  ShowModeless();
  SetForegroundWindow(hwnd());
  SetFocus(Item(kQuery));
  SendMessageA(Item(kQuery), EM_SETSEL, 0, -1);
  Search();
}

void TFindForm::Search() {
  const std::string query = Text(kQuery);
  const std::vector<SearchableNote> notes = notes_();
  matches_ = FindInNotes(notes, query);
  SendMessageA(Item(kResults), WM_SETREDRAW, FALSE, 0);
  ClearItems(kResults);
  for (const NoteMatch& match : matches_) AddItem(kResults, match.Name + "\t" + match.Line);
  SendMessageA(Item(kResults), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Item(kResults), nullptr, TRUE);
  if (!matches_.empty()) Select(kResults, 0);
  SetText(kSummary, query.empty() ? std::string() : matches_.empty() ? kNothingFound : Summary(matches_.size()));
}

void TFindForm::ShowClick() {
  const int chosen = Selection(kResults);
  if (chosen < 0 || static_cast<size_t>(chosen) >= matches_.size()) return;
  chosen_(matches_[static_cast<size_t>(chosen)]);
}

LRESULT TFindForm::handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && LOWORD(wp) == kResults && HIWORD(wp) == LBN_DBLCLK) {
    ShowClick();
    return 0;
  }
  return Form::handle(msg, wp, lp);
}
