#include "app/closed_notes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const QDateTime kNow = EncodeDateTime(2026, 5, 10, 8, 30, 0);

// The name of a note closed `daysAgo` days (fractions allowed) before kNow.
std::string ClosedDaysAgo(double daysAgo, int store = 1) {
  return ClosedNoteName(kNow - daysAgo, "\\" + std::to_string(store) + ".kli");
}

TEST(ClosedNotes, NamesCarryTheClosingTimeAndTheStoreName) {
  const QDateTime closedAt = kNow + 0.25 / 86400;  // 250 ms after
  const std::string name = ClosedNoteName(closedAt, "\\123.kli");
  EXPECT_EQ(name, "20260510-083000250-123.kli");
  ASSERT_TRUE(ClosedAtOf(name).has_value());
  EXPECT_NEAR(*ClosedAtOf(name), closedAt, 0.0005 / 86400);
  EXPECT_EQ(StoreNameOf(name), "\\123.kli");
  for (const char* foreign : {"123.kli", "20260510-083000250-123.txt", "20261310-083000250-1.kli",
                              "2026051x-083000250-1.kli", "20260510-08300025-1.kli", "20260510-083000250-"})
    EXPECT_FALSE(ClosedAtOf(foreign).has_value()) << foreign;
}

TEST(ClosedNotes, KeepThirtyDaysAndAHundredAndOfferTheLastTen) {
  std::vector<std::string> names;
  for (int i = 0; i < 120; ++i) names.push_back(ClosedDaysAgo(i * 0.2, i));  // newest first, 0 .. 23.8 days
  names.push_back(ClosedDaysAgo(30.01, 500));
  names.push_back(ClosedDaysAgo(29.99, 501));
  names.push_back("notes of mine.kli");
  const ClosedNotesPlan plan = PlanClosedNotes(names, kNow);

  ASSERT_EQ(plan.Menu.size(), 10u);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(plan.Menu[static_cast<size_t>(i)], names[static_cast<size_t>(i)]);
  std::vector<std::string> expectedRemoved{names[120]};  // the one past 30 days
  for (int i = 100; i < 120; ++i) expectedRemoved.push_back(names[static_cast<size_t>(i)]);
  expectedRemoved.push_back(names[121]);  // within 30 days but the oldest: past the hundred
  EXPECT_EQ(plan.Remove, expectedRemoved);

  EXPECT_TRUE(PlanClosedNotes({}, kNow).Menu.empty());
}

TEST(ClosedNotes, TheCaptionIsTheFirstLineWithText) {
  struct Row {
    std::vector<std::string> lines;
    std::string caption;
  } rows[] = {
      {{"", "  ", " Call Ann & Bob  ", "second"}, "Call Ann && Bob"},
      {{}, "(empty)"},
      {{std::string(50, 'x')}, std::string(40, 'x') + "..."},
      // 39 ASCII bytes then a 2-byte letter: the cut goes before the letter, not through it.
      {{std::string(39, 'a') + "\xC3\xA9" + "tre"}, std::string(39, 'a') + "..."},
  };
  for (const Row& row : rows) EXPECT_EQ(ClosedNoteCaption(row.lines), row.caption);
}

}  // namespace
