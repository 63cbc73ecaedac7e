#pragma once
// Menus are written as tables of rows; the popup menu and its accelerator table are built from
// the same rows, so a caption, a command or a shortcut is one line.
#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "win/handles.h"

namespace win {

struct MenuRow {
  const char* caption;             // "-" is a separator
  UINT id = 0;                     // command id; 0 for a separator or a submenu
  const char* shortcut = nullptr;  // "Ctrl+I", "Ctrl+Shift+S", "Del", "F2": shown and accelerated
  std::span<const MenuRow> submenu = {};
  UINT bitmapId = 0;               // small picture from the program's resources, 0 for none
};

class PopupMenu {
 public:
  explicit PopupMenu(std::span<const MenuRow> rows);
  HMENU handle() const { return menu_.get(); }
  // The submenu reached from the top level by the caption of its row.
  HMENU submenu(const char* caption) const;
  void check(UINT id, bool checked) const;
  // Opens the menu at a screen point on behalf of `owner` and returns the chosen command, 0 if
  // none; the owner is brought to the foreground first so a click elsewhere closes the menu.
  UINT track(HWND owner, POINT at) const;
  std::vector<ACCEL> accelerators() const;

 private:
  UniqueMenu menu_;
  std::vector<UniqueBitmap> pictures_;
  std::vector<std::pair<std::string, HMENU>> submenus_;
  std::vector<ACCEL> accelerators_;
  HMENU build(std::span<const MenuRow> rows);
};

// Parses "Ctrl+Shift+X", "Ctrl+I", "Del", "F2" into an accelerator entry; throws on an unknown key.
ACCEL ParseShortcut(const char* shortcut, UINT id);

}  // namespace win
