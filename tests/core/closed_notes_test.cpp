#include "app/closed_notes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const QDateTime kNow = EncodeDateTime(2026, 5, 10, 8, 30, 0);

TEST(ClosedNotes, NamesCarryTheClosingTimeAndTheStoreName) {
  const QDateTime closedAt = kNow + 0.25 / 86400;  // 250 ms after
  const std::string name = ClosedNoteName(closedAt, "\\123.kli");
  EXPECT_EQ(name, "20260510-083000250-123.kli");
  EXPECT_NEAR(ClosedAtOf(name).value_or(0), closedAt, 0.0005 / 86400);
  EXPECT_EQ(StoreNameOf(name), "\\123.kli");
  for (const char* foreign : {"123.kli", "20260510-083000250-1.txt", "20261310-083000250-1.kli", "2026051x-0-1.kli"})
    EXPECT_FALSE(ClosedAtOf(foreign).has_value()) << foreign;
}

TEST(ClosedNotes, KeepThirtyDaysAndAHundredAndOfferTheLastTen) {
  std::vector<std::string> names;  // newest first: 0 to 23.8 days old, then 30.01 and 29.99
  for (int i = 0; i < 120; ++i) names.push_back(ClosedNoteName(kNow - i * 0.2, "\\" + std::to_string(i) + ".kli"));
  names.push_back(ClosedNoteName(kNow - 30.01, "\\500.kli"));
  names.push_back(ClosedNoteName(kNow - 29.99, "\\501.kli"));
  names.push_back("notes of mine.kli");
  const ClosedNotesPlan plan = PlanClosedNotes(names, kNow);

  EXPECT_EQ(plan.Menu, std::vector<std::string>(names.begin(), names.begin() + 10));
  std::vector<std::string> removed{names[120]};  // past 30 days, then all past the hundred newest
  removed.insert(removed.end(), names.begin() + 100, names.begin() + 120);
  removed.push_back(names[121]);
  EXPECT_EQ(plan.Remove, removed);
}

TEST(ClosedNotes, TheCaptionIsTheFirstLineWithText) {
  const std::pair<std::vector<std::string>, std::string> rows[] = {
      {{"", "  ", " Call Ann & Bob  ", "second"}, "Call Ann && Bob"},
      {{}, "(empty)"},
      {{std::string(50, 'x')}, std::string(40, 'x') + "..."},
      // 39 ASCII bytes then a 2-byte letter: the cut goes before the letter, not through it.
      {{std::string(39, 'a') + "\xC3\xA9tre"}, std::string(39, 'a') + "..."},
  };
  for (const auto& [lines, caption] : rows) EXPECT_EQ(ClosedNoteCaption(lines), caption);
}

}  // namespace
