#pragma once
// Finding text in all notes, hidden ones too: which notes hold the text, whatever its case, and
// where, so that a list can show each note with its matching line and the note can select the
// match. Texts are UTF-8 (bytes of an 8-bit code page still match themselves exactly).
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct SearchableNote {
  int Id;            // the caller's handle on the note, handed back with its match
  std::string Name;  // what the list shows for it
  std::string Text;  // the note's whole text, lines ended by CR LF or LF
};

struct NoteMatch {
  int Id;
  std::string Name;
  std::string Line;      // the line that holds the first match, without its line end
  size_t LineIndex;      // counted from 0
  size_t Start, Length;  // the match in Text, in bytes
  // The match as an edit box of UTF-16 text counts it (CR LF as two units): for EM_SETSEL.
  size_t SelectStart, SelectEnd;
  friend bool operator==(const NoteMatch&, const NoteMatch&) = default;
};

// The notes that hold `query`, in the order given, each with its first match. An empty query
// (or one of blanks only) finds nothing.
std::vector<NoteMatch> FindInNotes(std::span<const SearchableNote> notes, std::string_view query);
