#include "app/note_list.h"

#include "notes/note_window.h"
#include "win/program_folder.h"

namespace {

std::string StoreKey(const std::string& storeName) {
  const auto start = storeName.find_first_not_of("\\/");
  return win::LowerCase(start == std::string::npos ? std::string() : storeName.substr(start));
}

}  // namespace

TQuorLista::TQuorLista() = default;

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
  Append(std::make_unique<TTFoglio>(insertDateTime, showInTrayArea, std::string(), std::string(), skin));
  return current_;
}

TTFoglio& TQuorLista::AddFromFile(TQuorSkin& skin, const std::string& fileName, const std::string& folder) {
  // The note keeps the visibility it stored: it is hidden here, and the controller shows it.
  return Append(std::make_unique<TTFoglio>(false, false, folder, fileName, skin, TTFoglio::StoredVisibility::Keep));
}

bool TQuorLista::UsesStoreName(const std::string& storeName, const TTFoglio* except) const {
  const std::string key = StoreKey(storeName);
  for (const auto& note : notes_) {
    if (note.get() != except && !note->Closed() && StoreKey(note->StoreName()) == key) return true;
  }
  return false;
}
