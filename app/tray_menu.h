#pragma once
// The tray menu's fixed names. Its rows (captions exactly as the user sees them, the trailing
// blanks of "Show all " and "Close all " included, and the command each runs) are
// TKliMain::TrayMenuRows(), in app/tray_menu_win.cpp.
#include <windows.h>

// The submenu that lists the open notes above its fixed entries.
inline constexpr const char* kNoteSubmenu = "K-lI";
// The submenu of the notes closed lately, filled each time the menu opens.
inline constexpr const char* kClosedSubmenu = "Recently closed";
inline constexpr UINT kClosedMenuFirstId = 50000;

// Ids of the tray menu's own commands; the notes' entries use ids of their own
// (notes/note_menu_entry.h).
inline constexpr UINT kTrayFirstCommandId = 1001;
