#include "app/note_list.h"

#include <utility>

#include "app/note_placement.h"
#include "notes/note_store.h"
#include "notes/note_window.h"

// One bulk operation: the notes that start editing in it ask to end the others' editing, and
// that happens once, at its end, for the last of them.
class TQuorLista::BulkScope {
 public:
  explicit BulkScope(TQuorLista& list) : list_(list) { ++list_.bulk_; }
  BulkScope(const BulkScope&) = delete;
  BulkScope& operator=(const BulkScope&) = delete;
  ~BulkScope() {
    if (--list_.bulk_ > 0 || !std::exchange(list_.editingAsked_, false)) return;
    list_.EndEditing(std::exchange(list_.lastEditing_, nullptr));
  }

 private:
  TQuorLista& list_;
};

TQuorLista::TQuorLista(NoteHost& host) : host_(host) {}

TQuorLista::~TQuorLista() {
  // One note at a time leaves the list before its window closes, so anything the closing
  // window sets off (activation of another note) finds a list without it.
  while (!notes_.empty()) {
    std::unique_ptr<TTFoglio> note = std::move(notes_.front());
    notes_.erase(notes_.begin());
    note.reset();
  }
}

TTFoglio& TQuorLista::Note(int index) const {
  if (index < 0 || index >= Count()) throw EQuorListError("TQuorList.form(index):tFoglio: out of index");
  return *notes_[static_cast<size_t>(index)];
}

void TQuorLista::Delete(int index) {
  if (index < 0 || index >= Count()) throw EQuorListError("TQuorList.delete(index):tFoglio:Out of index");
  current_ = index;
  // Out of the list first: CloseNote hides the window, which can activate another note, and
  // whatever runs then must not meet a half-removed entry.
  std::unique_ptr<TTFoglio> note = std::move(notes_[static_cast<size_t>(index)]);
  notes_.erase(notes_.begin() + index);
  note->CloseNote();
}

TTFoglio& TQuorLista::Append(std::unique_ptr<TTFoglio> note) {
  // Hidden directly: the visibility a restored note stored (Shown) must survive until the
  // controller applies the start-up setting.
  ShowWindow(note->hwnd(), SW_HIDE);
  notes_.push_back(std::move(note));
  current_ = Count() - 1;
  return *notes_.back();
}

int TQuorLista::AddNew(TQuorSkin& skin, bool showInTrayArea, bool insertDateTime) {
  Append(std::make_unique<TTFoglio>(host_, insertDateTime, showInTrayArea, std::string(), std::string(), skin));
  return current_;
}

TTFoglio& TQuorLista::AddFromFile(TQuorSkin& skin, const std::string& fileName, const std::string& folder) {
  return Append(
      std::make_unique<TTFoglio>(host_, false, false, folder, fileName, skin, TTFoglio::StoredVisibility::Keep));
}

bool TQuorLista::UsesStoreName(const std::string& storeName, const TTFoglio* except) const {
  const std::string key = StoreFileKey(storeName);
  for (const auto& note : notes_) {
    if (note.get() != except && !note->Closed() && StoreFileKey(note->Store().Name()) == key) return true;
  }
  return false;
}

void TQuorLista::SetAllVisible(bool visible) {
  const BulkScope bulk(*this);
  for (int i = 0; i < Count(); ++i) Note(i).SetShown(visible);
}

void TQuorLista::SetAllOnTop(bool on) {
  const BulkScope bulk(*this);
  for (int i = 0; i < Count(); ++i) Note(i).SetOnTop(on);
}

void TQuorLista::Cascade(int screenWidth) {
  const BulkScope bulk(*this);
  std::vector<int> widths;
  for (int i = 0; i < Count(); ++i) widths.push_back(Note(i).Bounds().Width);
  const std::vector<ScreenPoint> places = CascadePositions(widths, screenWidth);
  for (int i = 0; i < Count() && i < static_cast<int>(places.size()); ++i)
    Note(i).MoveTo(places[static_cast<size_t>(i)].X, places[static_cast<size_t>(i)].Y);
}

void TQuorLista::CloseAll() {
  const BulkScope bulk(*this);
  for (int n = Count(); n > 0 && Count() > 0; --n) Delete(0);
}

void TQuorLista::Suspend() {
  for (int i = 0; i < Count(); ++i) Note(i).Suspend();
}

void TQuorLista::Resume() {
  const BulkScope bulk(*this);
  for (int i = 0; i < Count(); ++i) Note(i).Resume();
}

void TQuorLista::KeepWithinReach(std::span<const ScreenArea> workAreas) {
  const BulkScope bulk(*this);
  for (int i = 0; i < Count(); ++i)
    if (IsWindowVisible(Note(i).hwnd())) Note(i).KeepWithinReach(workAreas);
}

void TQuorLista::EndEditing(const TTFoglio* editing) {
  if (bulk_ > 0) {
    editingAsked_ = true;
    lastEditing_ = editing;
    return;
  }
  for (int i = 0; i < Count(); ++i) {
    TTFoglio& note = Note(i);
    if (&note != editing && !note.Closed() && note.TextBox().Visible()) note.SetEditing(false);
  }
}
