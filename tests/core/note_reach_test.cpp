#include "notes/note_reach.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "look/skin_geometry.h"

namespace {

// The default skin's grip: a 20-pixel strip along the top, the window's whole width.
const TSkinRect kTitleStrip = MakeSkinRect(0, 0, -30000, 20);
const ScreenArea kPrimary{0, 0, 1024, 728};     // a 1024 x 768 screen less a 40-pixel task bar
const ScreenArea kRightOf{1024, 0, 2304, 984};  // a second monitor to its right
const ScreenArea kLeftOf{-1280, 0, 0, 1024};

struct Row {
  const char* what;
  std::vector<ScreenArea> areas;
  WindowBox current;
  std::optional<WindowBox> userPlace;
  WindowBox expected;
};

class NoteReach : public testing::TestWithParam<Row> {};

TEST_P(NoteReach, PlacesTheNote) {
  const Row& row = GetParam();
  EXPECT_EQ(ReachablePlace(row.areas, row.current, row.userPlace, kTitleStrip), row.expected) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NoteReach,
    testing::Values(
        Row{"on the screen: stays", {kPrimary}, {100, 100, 150, 100}, std::nullopt, {100, 100, 150, 100}},
        Row{"off to the right", {kPrimary}, {5000, 5000, 150, 100}, std::nullopt, {874, 628, 150, 100}},
        Row{"left of the screen", {kPrimary}, {-3000, 200, 150, 100}, std::nullopt, {0, 200, 150, 100}},
        Row{"above: grip off, body on", {kPrimary}, {300, -15, 150, 100}, std::nullopt, {300, 0, 150, 100}},
        Row{"partly on, grip within reach: stays", {kPrimary}, {1000, 700, 150, 100}, std::nullopt,
            {1000, 700, 150, 100}},
        Row{"grip by less than the reach: moves", {kPrimary}, {1014, 100, 150, 100}, std::nullopt,
            {874, 100, 150, 100}},
        Row{"under the task bar", {kPrimary}, {500, 720, 150, 100}, std::nullopt, {500, 628, 150, 100}},
        Row{"larger than the area: shrinks to it", {kPrimary}, {-50, 3000, 1500, 900}, std::nullopt,
            {0, 0, 1024, 728}},
        Row{"two monitors: on the second stays", {kPrimary, kRightOf}, {1500, 900, 150, 100}, std::nullopt,
            {1500, 900, 150, 100}},
        Row{"two monitors: into the nearest", {kPrimary, kRightOf}, {3000, 500, 150, 100}, std::nullopt,
            {2154, 500, 150, 100}},
        Row{"second monitor gone: onto the primary", {kPrimary}, {1500, 900, 150, 100}, {{1500, 900, 150, 100}},
            {874, 628, 150, 100}},
        Row{"layout returning: back to the user's place", {kPrimary, kRightOf}, {874, 628, 150, 100},
            {{1500, 900, 150, 100}}, {1500, 900, 150, 100}},
        Row{"user's place out of reach, note within: stays", {kPrimary}, {20, 30, 150, 100},
            {{-500, 30, 150, 100}}, {20, 30, 150, 100}},
        Row{"monitor left of the primary back", {kLeftOf, kPrimary}, {0, 30, 150, 100}, {{-500, 30, 150, 100}},
            {-500, 30, 150, 100}},
        Row{"no monitor: unchanged", {}, {5000, 5000, 150, 100}, std::nullopt, {5000, 5000, 150, 100}}));

TEST(NoteGrip, ASkinWithoutAGripCountsTheWholeNote) {
  const std::vector<ScreenArea> areas{kPrimary};
  EXPECT_TRUE(GripWithinReach(areas, {500, -80, 150, 100}, TSkinRect{}));
  EXPECT_FALSE(GripWithinReach(areas, {500, -80, 150, 100}, kTitleStrip));
  // A grip smaller than the reach counts when it lies on the area whole.
  EXPECT_TRUE(GripWithinReach(areas, {0, 0, 150, 100}, MakeSkinRect(2, 2, 8, 8)));
  EXPECT_FALSE(GripWithinReach(areas, {-4, 0, 150, 100}, MakeSkinRect(2, 2, 8, 8)));
}

}  // namespace
