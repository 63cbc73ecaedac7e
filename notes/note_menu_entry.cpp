#include "notes/note_menu_entry.h"

#include <stdexcept>
#include <utility>
#include <vector>

#include "win/unicode.h"

namespace {

// "&" marks a mnemonic in a menu caption; a path shows it literally only when doubled.
std::string MenuText(const std::string& caption) {
  std::string text;
  text.reserve(caption.size());
  for (char c : caption) {
    if (c == '&') text += '&';
    text += c;
  }
  return text;
}

UINT FreeNoteCommandId(HMENU menu) {
  std::vector<bool> taken(kNoteMenuLastId - kNoteMenuFirstId + 1, false);
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    const UINT id = GetMenuItemID(menu, i);
    if (id >= kNoteMenuFirstId && id <= kNoteMenuLastId) taken[id - kNoteMenuFirstId] = true;
  }
  for (UINT i = 0; i < taken.size(); ++i) {
    if (!taken[i]) return kNoteMenuFirstId + i;
  }
  throw std::runtime_error("The note menu is full");
}

}  // namespace

NoteMenuEntry::NoteMenuEntry(std::string caption) : caption_(std::move(caption)) {}

NoteMenuEntry::~NoteMenuEntry() { Remove(); }

void NoteMenuEntry::InsertInto(HMENU menu, UINT position) {
  Remove();
  const UINT id = FreeNoteCommandId(menu);
  std::wstring text = win::Wide(MenuText(caption_));
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
  item.fType = MFT_STRING;
  item.wID = id;
  item.dwTypeData = text.data();
  if (!InsertMenuItemW(menu, position, TRUE, &item)) {
    throw std::runtime_error("Cannot insert the note into the note menu");
  }
  menu_ = menu;
  id_ = id;
}

void NoteMenuEntry::Remove() {
  if (menu_ == nullptr) return;
  RemoveMenu(menu_, id_, MF_BYCOMMAND);
  menu_ = nullptr;
  id_ = 0;
}

void NoteMenuEntry::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (menu_ == nullptr) return;
  std::wstring text = win::Wide(MenuText(caption_));
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STRING;
  item.dwTypeData = text.data();
  SetMenuItemInfoW(menu_, id_, FALSE, &item);
}
