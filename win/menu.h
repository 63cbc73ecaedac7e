#pragma once
// Commands as rows: one table per window gives its popup menu, its accelerators and the
// dispatch of its commands, so a command lives in one place (its row: caption, shortcut,
// handler, check mark, submenu). Command ids are handed out in row order from a first id.
#include <windows.h>

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "win/handles.h"
#include "win/shortcut.h"

namespace win {

template <class Owner>
struct CommandRow {
  const char* caption;  // "-": a separator
  const char* shortcut = nullptr;  // shown after a tab and accelerated
  void (Owner::*run)() = nullptr;
  bool (Owner::*checked)() const = nullptr;  // the check mark follows this, when set
  std::span<const CommandRow> submenu = {};
  int picture = 0;      // small bitmap from the program's resources (win/menu_picture.h)
  bool hidden = false;  // in no menu: only its shortcut (and what it opens) works
};

// The Win32 side of a command table: the menu handles, pictures and accelerators.
class MenuResource {
 public:
  HMENU Handle() const { return menu_.get(); }
  // The submenu reached from the top level by the caption of its row.
  HMENU Submenu(const char* caption) const;
  HACCEL Accelerators() const { return acceleratorTable_.get(); }
  // Opens the menu at a screen point for `owner` and returns the chosen id, 0 for none. The
  // owner is brought to the foreground first, so a click elsewhere closes the menu.
  UINT Track(HWND owner, POINT at) const;
  bool IsChecked(UINT id) const;

 protected:
  MenuResource();
  HMENU NewSubmenu(HMENU parent, const std::string& caption);
  void AddItem(HMENU menu, const char* caption, const char* shortcut, UINT id, int picture);
  static void AddSeparator(HMENU menu);
  void AddAccelerator(const char* shortcut, UINT id);
  // Makes the accelerator table of the shortcuts added; called once, after the last row.
  void MakeAccelerators();
  void Check(UINT id, bool checked) const;

 private:
  UniqueMenu menu_;
  std::vector<UniqueBitmap> pictures_;
  std::vector<std::pair<std::string, HMENU>> submenus_;
  std::vector<ACCEL> accelerators_;
  UniqueAccel acceleratorTable_;
};

template <class Owner>
class CommandMenu : public MenuResource {
 public:
  CommandMenu(std::span<const CommandRow<Owner>> rows, UINT firstId) : nextId_(firstId) {
    Build(Handle(), rows, false);
    MakeAccelerators();
  }

  // Runs the command of `id` on `owner`; false when `id` is none of this table's.
  bool Run(Owner& owner, UINT id) const {
    for (const auto& [rowId, row] : commands_) {
      if (rowId == id && row->run != nullptr) {
        (owner.*(row->run))();
        return true;
      }
    }
    return false;
  }
  // Sets every check mark from its row's predicate.
  void UpdateChecks(const Owner& owner) const {
    for (const auto& [rowId, row] : commands_)
      if (row->checked != nullptr) Check(rowId, (owner.*(row->checked))());
  }
  // Updates the check marks, opens the menu and runs the command chosen.
  void TrackAndRun(Owner& owner, HWND window, POINT at) const {
    UpdateChecks(owner);
    if (const UINT chosen = Track(window, at)) Run(owner, chosen);
  }
  // The id of the first row that runs `run`; 0 when none does.
  UINT IdOf(void (Owner::*run)()) const {
    for (const auto& [rowId, row] : commands_)
      if (row->run == run) return rowId;
    return 0;
  }
  bool Owns(UINT id) const {
    for (const auto& command : commands_)
      if (command.first == id) return true;
    return false;
  }

 private:
  void Build(HMENU menu, std::span<const CommandRow<Owner>> rows, bool hidden) {
    for (const CommandRow<Owner>& row : rows) {
      const bool rowHidden = hidden || row.hidden;
      if (std::string_view(row.caption) == "-") {
        if (!rowHidden) AddSeparator(menu);
        continue;
      }
      if (!row.submenu.empty()) {
        Build(rowHidden ? nullptr : NewSubmenu(menu, row.caption), row.submenu, rowHidden);
        continue;
      }
      const UINT id = nextId_++;
      commands_.emplace_back(id, &row);
      if (!rowHidden) AddItem(menu, row.caption, row.shortcut, id, row.picture);
      if (row.shortcut != nullptr) AddAccelerator(row.shortcut, id);
    }
  }

  UINT nextId_;
  std::vector<std::pair<UINT, const CommandRow<Owner>*>> commands_;
};

}  // namespace win
