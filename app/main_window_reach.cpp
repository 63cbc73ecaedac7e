// Notes the user can always reach: keys that work from anywhere, Find in all notes, the notes
// closed lately brought back, and one report of the note files put aside at start-up.
#include <utility>

#include "app/damaged_notes_report.h"
#include "app/find_form.h"
#include "app/main_window.h"
#include "app/tray_menu.h"
#include "notes/note_window.h"
#include "storage/date_time.h"
#include "storage/file_io.h"
#include "win/error_box.h"
#include "win/unicode.h"

namespace {

constexpr UINT kKeysRetryMs = 1000;

}  // namespace

void TKliMain::ApplyKeys(int attemptsLeft) {
  keysTimer_.Stop();
  keyAttemptsLeft_ = attemptsLeft;
  const std::string refused =
      keys_->Apply({settings_.NewNoteKey, settings_.ShowHideKey, settings_.FindKey}, attemptsLeft == 0);
  if (refused.empty()) return;
  if (attemptsLeft > 0) {
    keysTimer_.Start(hwnd(), kKeysTimerId, kKeysRetryMs);
  } else {
    win::ShowErrorBox(refused);
  }
}

void TKliMain::KeysTimer() { ApplyKeys(keyAttemptsLeft_ - 1); }

void TKliMain::HotKeyPressed(WPARAM id) {
  const std::optional<HotKeyAction> action = keys_->ActionOf(id);
  if (!action || !trayAttached_ || suspended_ > 0 || closing_) return;
  switch (*action) {
    case HotKeyAction::NewNote: NewNote(); break;
    case HotKeyAction::ShowHideAll: SetAllVisible(!allShown_); break;
    case HotKeyAction::Find: FindNotes(); break;
  }
}

void TKliMain::FindNotes() {
  if (!find_) {
    find_ = std::make_unique<TFindForm>(
        hwnd(),
        [this] {
          std::vector<SearchableNote> searchable;
          for (int i = 0; notes_ && i < notes_->Count(); ++i) {
            const TTFoglio& note = notes_->Note(i);
            if (!note.Closed()) searchable.push_back({i, FileNamePart(note.Data().FileName), note.TextBox().Text()});
          }
          return searchable;
        },
        [this](const NoteMatch& match) { ShowFoundNote(match); });
  }
  find_->Open();
}

void TKliMain::ShowFoundNote(const NoteMatch& match) {
  if (!notes_ || match.Id >= notes_->Count()) return;
  TTFoglio& note = notes_->Note(match.Id);
  if (note.Closed()) return;
  note.setOnFront();
  SetForegroundWindow(note.hwnd());
  note.SetEditing(true);
  note.TextBox().Select(match.SelectStart, match.SelectEnd);
}

void TKliMain::FillRecentlyClosed() {
  const HMENU menu = menu_.Submenu(kClosedSubmenu);
  while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
  closedMenu_ = closedNotes_.Tidy(NowDateTime());
  UINT id = kClosedMenuFirstId;
  for (const ClosedNoteEntry& entry : closedMenu_) AppendMenuW(menu, MF_STRING, id++, win::Wide(entry.Caption).c_str());
  if (closedMenu_.empty()) AppendMenuA(menu, MF_STRING | MF_GRAYED, 0, "(none)");
}

void TKliMain::BringBackClosedNote(UINT menuId) {
  const size_t index = menuId - kClosedMenuFirstId;
  if (!notes_ || index >= closedMenu_.size()) return;
  const std::string storeName = closedNotes_.TakeBack(closedMenu_[index].Name, notesFolder_, [this] { return random_(); });
  TTFoglio& note = notes_->AddFromFile(Skin(), storeName.substr(storeName.find_first_not_of('\\')), notesFolder_);
  InsertMenuEntry(note);
  note.setOnFront();
}

void TKliMain::KeepClosedNote(const std::string& storePath) { closedNotes_.Keep(storePath, NowDateTime()); }

void TKliMain::StoreDamaged(const std::string& asidePath, const std::string& message) {
  if (!starting_) return win::ShowErrorBox(message);
  damaged_.emplace_back(asidePath, message);
}

void TKliMain::ReportDamagedNotes() {
  const auto damaged = std::exchange(damaged_, {});
  // One file keeps the message of its own error.
  if (damaged.size() == 1) return win::ShowErrorBox(damaged.front().second);
  if (damaged.size() < 2) return;
  std::vector<std::string> files;
  for (const auto& [file, message] : damaged) files.push_back(file + "   (" + message + ")");
  TDamagedNotesReport report(hwnd(), files);
  report.ShowModal();
}
