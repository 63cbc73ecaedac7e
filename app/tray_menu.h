#pragma once
// The tray menu as a table: captions exactly as the user sees them (the trailing blanks of
// "Show all " and "Close all " included) and the command each row runs.
#include <windows.h>

#include <span>

#include "win/menu.h"

enum TrayCommand : UINT {
  cmdNewKli = 1001,
  cmdShowAllKli,
  cmdOpenFile,
  cmdCascade,
  cmdHideAll,
  cmdShowAllNotes,
  cmdCloseAll,
  cmdEditHideAll,
  cmdEditShowAll,
  cmdAllOnTop,
  cmdAllNotOnTop,
  cmdMainOptions,
  cmdSkinSelector,
  cmdMailKli,
  cmdHomePage,
  cmdInformations,
  cmdAbout,
  cmdExit,
};

// The submenu that lists the open notes above its fixed entries.
inline constexpr const char* kNoteSubmenu = "K-lI";

std::span<const win::MenuRow> TrayMenuRows();
