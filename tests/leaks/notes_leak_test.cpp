// Long use leaves nothing behind: after a first round has made what stays for the whole run,
// making and closing many notes leaves the program's objects, handles and memory as they were.
// Counted by the counting build (tests/leaks/resource_counter.h); the figures are printed.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <array>
#include <cstdio>

#include "app/note_list.h"
#include "tests/leaks/resource_counter.h"
#include "tests/win/note_window_test_support.h"

namespace {

using resource_counter::Kind;

struct Census {
  std::array<size_t, static_cast<size_t>(Kind::Count)> alive{};
  size_t privateBytes = 0;
};

Census Count() {
  Census census;
  for (size_t k = 0; k < census.alive.size(); ++k) census.alive[k] = resource_counter::Alive(static_cast<Kind>(k));
  // The commit charge: Wine leaves PrivateUsage at 0.
  PROCESS_MEMORY_COUNTERS memory{};
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  census.privateBytes = memory.PagefileUsage;
  return census;
}

// Every count equal, memory grown by less than `slackBytes` (the heap keeps some of what it
// was given back); prints both censuses.
void ExpectFlat(const char* what, const Census& before, const Census& after, size_t slackBytes) {
  std::printf("%s:\n", what);
  for (size_t k = 0; k < before.alive.size(); ++k) {
    std::printf("  %-16s %6zu -> %6zu\n", resource_counter::NameOf(static_cast<Kind>(k)), before.alive[k],
                after.alive[k]);
    EXPECT_EQ(after.alive[k], before.alive[k]) << resource_counter::NameOf(static_cast<Kind>(k));
  }
  std::printf("  %-16s %6zu KB -> %6zu KB\n", "committed memory", before.privateBytes / 1024, after.privateBytes / 1024);
  EXPECT_LT(after.privateBytes, before.privateBytes + slackBytes);
}

class Leaks : public note_test::NoteWindowTest {};

TEST_F(Leaks, AThousandNotesMadeAndClosed) {
  TQuorSkin& skin = TestSkin();
  TQuorLista notes;
  const auto round = [&](int count) {
    for (int i = 0; i < count; ++i) {
      TTFoglio& note = notes.Note(notes.AddNew(skin, i % 2 == 0, i % 3 == 0));
      note.SetShown(true);
      note.SetText("line one\r\nline two");
      UpdateWindow(note.hwnd());
      note_test::Pump(0);
      notes.Delete(notes.Count() - 1);
    }
  };
  round(20);
  const Census before = Count();
  round(1000);
  ExpectFlat("1000 notes made and closed", before, Count(), 2 * 1024 * 1024);
}

}  // namespace
