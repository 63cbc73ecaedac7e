// Find in all notes over 1 000 long notes of mixed scripts: a query a few notes hold, one none
// holds (every note read to its end), and two in other scripts. The Find form's list follows each
// key typed, so a search must stay well under 50 ms. Prints figures only.
//   note_search_bench [--quick]     (--quick: a few rounds, to check that it still runs)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "notes/note_search.h"

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  const int rounds = quick ? 2 : 20;
  constexpr const char* kWords[] = {"call", "meeting", "Tuesday", "milk", "invoice", "Ünïcode", "garage", "позвонить",
                                    "встреча", "συνάντηση", "ΟΔΟΣ", "report", "ticket", "København", "straße", "Ärger"};
  std::mt19937 random(20260510);
  std::vector<SearchableNote> notes;
  size_t bytes = 0;
  for (int i = 0; i < 1000; ++i) {  // 20 to 59 lines of 6 to 12 words: long notes
    std::string text;
    for (int line = 20 + static_cast<int>(random() % 40); line > 0; --line)
      for (int word = 6 + static_cast<int>(random() % 7); word > 0; --word)
        text += std::string(kWords[random() % std::size(kWords)]) + (word > 1 ? " " : "\r\n");
    if (i % 250 == 17) text += "phone of the plumber: 555 0199\r\n";
    bytes += text.size();
    notes.push_back({i, "note " + std::to_string(i), std::move(text)});
  }
  std::printf("Find in all notes: %zu notes, %.1f MB of text, best of %d runs\n", notes.size(), bytes / 1e6, rounds);
  for (const char* query : {"PLUMBER", "nowhere at all", "ВСТРЕЧА", "KØBENHAVN"}) {
    double best = 1e300;
    size_t found = 0;
    for (int i = 0; i < rounds; ++i) {
      const auto start = std::chrono::steady_clock::now();
      found = FindInNotes(notes, query).size();
      best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::printf("  %-16s %5zu notes found  %7.2f ms  (target under 50 ms)\n", query, found, best);
  }
  return 0;
}
