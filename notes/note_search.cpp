#include "notes/note_search.h"

#include <algorithm>

#include "notes/case_fold.h"

namespace {

// Where the match found at `foldedStart` of the folded text lies in the note's own bytes, and
// in the UTF-16 units of an edit box. Run only for the notes that hold the query.
NoteMatch MatchAt(const SearchableNote& note, size_t foldedStart, size_t foldedLength) {
  const std::string_view text = note.Text;
  size_t at = 0, folded = 0, units = 0, start = 0, selectStart = 0;
  const size_t foldedEnd = foldedStart + foldedLength;
  while (at < text.size() && folded < foldedEnd) {
    if (folded == foldedStart) {
      start = at;
      selectStart = units;
    }
    char32_t c;
    at += DecodeUtf8(text, at, c);
    folded += FoldedLength(c);
    units += c > 0xFFFF ? 2 : 1;
  }
  const size_t lineBreak = start == 0 ? std::string_view::npos : text.rfind('\n', start - 1);
  const size_t from = lineBreak == std::string_view::npos ? 0 : lineBreak + 1;
  const size_t to = std::min(text.find('\n', start), text.size());
  const size_t lineEnd = to > from && text[to - 1] == '\r' ? to - 1 : to;
  return {note.Id,
          note.Name,
          std::string(text.substr(from, lineEnd - from)),
          static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(from), '\n')),
          start,
          at - start,
          selectStart,
          units};
}

}  // namespace

std::vector<NoteMatch> FindInNotes(std::span<const SearchableNote> notes, std::string_view query) {
  std::vector<NoteMatch> matches;
  if (query.find_first_not_of(" \t") == std::string_view::npos) return matches;
  std::string wanted, text;
  FoldUtf8(query, wanted);
  for (const SearchableNote& note : notes) {
    text.clear();
    FoldUtf8(note.Text, text);
    if (const size_t found = text.find(wanted); found != std::string::npos)
      matches.push_back(MatchAt(note, found, wanted.size()));
  }
  return matches;
}
