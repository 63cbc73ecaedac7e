#pragma once
// What the leak tests count: every kind of the counting build and the committed memory, before
// and after a long run; printed, and compared.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <array>
#include <cstdio>

#include "tests/leaks/resource_counter.h"

namespace leak_test {

using resource_counter::Kind;

struct Census {
  std::array<size_t, static_cast<size_t>(Kind::Count)> alive{};
  size_t committedBytes = 0;
};

inline Census Count() {
  Census census;
  for (size_t k = 0; k < census.alive.size(); ++k) census.alive[k] = resource_counter::Alive(static_cast<Kind>(k));
  // The commit charge: Wine leaves PrivateUsage at 0.
  PROCESS_MEMORY_COUNTERS memory{};
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  census.committedBytes = memory.PagefileUsage;
  return census;
}

// Every count as it was and memory grown by less than `slackBytes` (the heap keeps some of
// what it was given back).
inline void ExpectFlat(const char* what, const Census& before, const Census& after, size_t slackBytes) {
  std::printf("%s:\n", what);
  for (size_t k = 0; k < before.alive.size(); ++k) {
    const char* name = resource_counter::NameOf(static_cast<Kind>(k));
    if (before.alive[k] != 0 || after.alive[k] != 0) std::printf("  %-16s %6zu -> %6zu\n", name, before.alive[k], after.alive[k]);
    EXPECT_EQ(after.alive[k], before.alive[k]) << what << ": " << name;
  }
  std::printf("  %-16s %6zu KB -> %6zu KB\n", "committed memory", before.committedBytes / 1024,
              after.committedBytes / 1024);
  EXPECT_LT(after.committedBytes, before.committedBytes + slackBytes) << what;
}

// Runs `round` a few times first (what stays for the whole run is made then), then `times`
// times between two censuses.
template <typename Round>
void ExpectNoLeak(const char* what, int times, size_t slackBytes, Round&& round) {
  for (int i = 0; i < 3; ++i) round(i);
  const Census before = Count();
  for (int i = 0; i < times; ++i) round(i);
  ExpectFlat(what, before, Count(), slackBytes);
}

}  // namespace leak_test
