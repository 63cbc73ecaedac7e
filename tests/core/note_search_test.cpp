#include "notes/note_search.h"

#include <gtest/gtest.h>

#include "notes/case_fold.h"

namespace {

TEST(CaseFold, FoldsTheCommonScriptsOneCharacterForOne) {
  const std::pair<char32_t, char32_t> rows[] = {
      {U'A', U'a'}, {U'z', U'z'}, {U'É', U'é'}, {U'Ÿ', U'ÿ'}, {U'Ā', U'ā'}, {U'ā', U'ā'}, {U'Ł', U'ł'}, {U'ſ', U's'},
      {U'Ǆ', U'ǆ'}, {U'ǅ', U'ǆ'}, {U'Σ', U'σ'}, {U'ς', U'σ'}, {U'Ά', U'ά'}, {U'Ж', U'ж'}, {U'Ё', U'ё'}, {U'Ґ', U'ґ'},
      {U'Ա', U'ա'}, {U'Ⴀ', U'ⴀ'}, {U'Ẁ', U'ẁ'}, {U'ẞ', U'ß'}, {U'K', U'k'}, {U'Ａ', U'ａ'}, {U'µ', U'μ'}, {U'İ', U'İ'},
      {U'א', U'א'}, {U'中', U'中'}, {U'😀', U'😀'}};
  for (const auto& [from, to] : rows) EXPECT_EQ(FoldCase(from), to) << static_cast<unsigned>(from);
}

TEST(NoteSearch, FindsTheFirstMatchOfEachNoteWhateverItsCase) {
  const std::vector<SearchableNote> notes = {
      {1, "Shopping", "milk\r\nbread\r\nCall BOB at 555"},
      {2, "Empty", ""},
      {3, "Russian", "Позвонить\r\nборису в пятницу"},
      {4, "Greek", "ΟΔΥΣΣΕΑΣ"},
      {5, "Mixed", "😀 Ünïcode ÜNÏCODE\nsecond"},
      {6, "Code page", "caf\xE9 au lait"},  // a byte of an 8-bit code page, no UTF-8
  };
  const std::pair<const char*, std::vector<NoteMatch>> rows[] = {
      {"bob", {{1, "Shopping", "Call BOB at 555", 2, 18, 3, 18, 21}}},
      {"БОРИСУ", {{3, "Russian", "борису в пятницу", 1, 20, 12, 11, 17}}},
      {"οδυσσεας", {{4, "Greek", "ΟΔΥΣΣΕΑΣ", 0, 0, 16, 0, 8}}},
      {"ünïcode", {{5, "Mixed", "😀 Ünïcode ÜNÏCODE", 0, 5, 9, 3, 10}}},
      {"caf\xE9", {{6, "Code page", "caf\xE9 au lait", 0, 0, 4, 0, 4}}},
      {"CAF\xC9", {}},  // 8-bit bytes match only themselves
      {"a", {{1, "Shopping", "bread", 1, 9, 1, 9, 10}, {6, "Code page", "caf\xE9 au lait", 0, 1, 1, 1, 2}}},
      {"  ", {}},
      {"", {}},
  };
  for (const auto& [query, expected] : rows) EXPECT_EQ(FindInNotes(notes, query), expected) << query;
}

}  // namespace
