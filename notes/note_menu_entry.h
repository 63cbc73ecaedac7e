#pragma once
// A note's entry in the controller's note menu (the "K-lI" submenu of the tray menu). The
// note owns it; the entry leaves its menu when it is removed or destroyed.
//
// The command id is chosen when the entry is inserted: the lowest id of
// [kNoteMenuFirstId, kNoteMenuLastId] that no item of that menu carries, so the ids of the
// entries of one menu are unique without any process-wide counter. The controller, given a
// command id in that range, finds the note whose ListItem().Id() matches and brings it to the
// front.
#include <windows.h>

#include <string>

inline constexpr UINT kNoteMenuFirstId = 40000;
inline constexpr UINT kNoteMenuLastId = 49999;

class NoteMenuEntry {
 public:
  explicit NoteMenuEntry(std::string caption = {});
  NoteMenuEntry(const NoteMenuEntry&) = delete;
  NoteMenuEntry& operator=(const NoteMenuEntry&) = delete;
  ~NoteMenuEntry();

  // Inserts the entry before the item at `position` (0 = top) of `menu`; an entry already in
  // a menu leaves it first. Throws std::runtime_error when the menu is full or refuses it.
  void InsertInto(HMENU menu, UINT position);
  // Takes the entry out of its menu; Id() is 0 afterwards.
  void Remove();
  // The caption is shown as given ("&" in a path is not a mnemonic).
  void SetCaption(const std::string& caption);
  const std::string& Caption() const { return caption_; }
  UINT Id() const { return id_; }
  bool Inserted() const { return menu_ != nullptr; }

 private:
  std::string caption_;
  HMENU menu_ = nullptr;
  UINT id_ = 0;
};
