// How long finding a text in all notes takes: 1 000 notes of mixed scripts, a query that a few
// of them hold, one that none holds (every note read to its end) and one in another script.
// The user types into the Find form and the list follows every key, so a search must stay well
// under 50 ms. Prints figures only.
//   note_search_bench [--quick]     (--quick: a few rounds, to check that it still runs)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "notes/note_search.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kWords[] = {"call", "meeting", "Tuesday", "milk", "invoice", "Ünïcode", "garage",
                                  "позвонить", "встреча", "συνάντηση", "ΟΔΟΣ", "report", "ticket", "dentist",
                                  "password", "birthday", "København", "straße", "Ärger", "remember"};

// About 40 lines of 6 to 12 words: a long note, as the longest ones people keep.
std::vector<SearchableNote> MakeNotes(int count) {
  std::mt19937 random(20260510);
  std::vector<SearchableNote> notes;
  for (int i = 0; i < count; ++i) {
    std::string text;
    const int lines = 20 + static_cast<int>(random() % 40);
    for (int line = 0; line < lines; ++line) {
      const int words = 6 + static_cast<int>(random() % 7);
      for (int w = 0; w < words; ++w) {
        text += kWords[random() % std::size(kWords)];
        text += w + 1 < words ? " " : "\r\n";
      }
    }
    if (i % 250 == 17) text += "phone of the plumber: 555 0199\r\n";
    notes.push_back({i, "note " + std::to_string(i), std::move(text)});
  }
  return notes;
}

double BestMilliseconds(int rounds, const std::vector<SearchableNote>& notes, const char* query, size_t& found) {
  double best = 1e300;
  for (int i = 0; i < rounds; ++i) {
    const auto start = Clock::now();
    found = FindInNotes(notes, query).size();
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  const int rounds = quick ? 2 : 20;
  const std::vector<SearchableNote> notes = MakeNotes(1000);
  size_t bytes = 0;
  for (const SearchableNote& note : notes) bytes += note.Text.size();
  std::printf("Find in all notes: %zu notes, %.1f MB of text, best of %d runs\n", notes.size(), bytes / 1e6, rounds);
  for (const char* query : {"PLUMBER", "nowhere at all", "ВСТРЕЧА", "KØBENHAVN"}) {
    size_t found = 0;
    const double ms = BestMilliseconds(rounds, notes, query, found);
    std::printf("  %-16s %5zu notes found  %7.2f ms  (target under 50 ms)\n", query, found, ms);
  }
  return 0;
}
