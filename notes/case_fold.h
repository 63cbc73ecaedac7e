#pragma once
// Case folding for finding text whatever its case, in the common scripts: Latin (with its
// extensions), Greek, Cyrillic, Armenian, Georgian, Glagolitic and the full-width letters fold
// as Unicode's simple case folding folds them (one character to one character; "ß" stays
// "ß", "ς" becomes "σ"). Scripts without case pass unchanged.
#include <cstddef>
#include <string>
#include <string_view>

char32_t FoldCase(char32_t c);

// One character of UTF-8 at `at` (< text.size()) into `c`; returns its length in bytes. A byte
// that is no part of valid UTF-8 (text in an 8-bit code page) comes back alone, as a stand-in
// character that no valid text holds, so that it matches only that byte.
size_t DecodeUtf8(std::string_view text, size_t at, char32_t& c);

// Appends `text` folded, in UTF-8 (a stand-in as three bytes), to `into`.
void FoldUtf8(std::string_view text, std::string& into);
// How many bytes the character `c` takes once folded and appended.
size_t FoldedLength(char32_t c);
