#pragma once
// The folder of closed notes: a note the user closes keeps its store file there for a while, so
// that a note closed by mistake can come back exactly as it was. The rules are portable: what
// the folder holds and the time come in, what to remove and what the menu offers go out.
// closed_notes_win.cpp moves the files.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/date_time.h"

inline constexpr int kClosedNotesKeptDays = 30;
inline constexpr int kClosedNotesKept = 100;
inline constexpr int kClosedNotesInMenu = 10;

// programFolder + "\closed", beside the notes folder: the notes folder holds open notes only.
std::string ClosedNotesFolderOf(const std::string& programFolder);

// The name a store file takes in the folder: when it was closed, to the millisecond, then its
// store name ("\123.kli" closed on 10 May 2026 at 08:30:00.250: "20260510-083000250-123.kli"),
// so the folder itself tells the order and the age of its notes.
std::string ClosedNoteName(QDateTime closedAt, std::string_view storeName);
// When a note of that name was closed; nullopt for a name the folder did not give (a file the
// user put there is neither offered nor removed).
std::optional<QDateTime> ClosedAtOf(std::string_view name);
// The store name to take back: "20260510-083000250-123.kli" gives "\123.kli".
std::string StoreNameOf(std::string_view closedName);

struct ClosedNotesPlan {
  std::vector<std::string> Remove;  // older than the days kept, or beyond the number kept
  std::vector<std::string> Menu;    // the newest first, at most kClosedNotesInMenu
};
// What to do with the folder holding `names` at `now`: notes closed more than
// kClosedNotesKeptDays ago go, then all but the kClosedNotesKept newest.
ClosedNotesPlan PlanClosedNotes(const std::vector<std::string>& names, QDateTime now);

// The menu's caption for a note: its first line that holds more than blanks, cut to a length a
// menu shows (at a character, not inside one), "&" doubled so that it shows as itself.
std::string ClosedNoteCaption(const std::vector<std::string>& lines);
