#include "notes/note_reach.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "look/skin_geometry.h"

namespace {

TEST(NoteReach, NotesComeWithinReachAndGoBackToTheUsersPlace) {
  const TSkinRect titleStrip = MakeSkinRect(0, 0, -30000, 20);  // the default skin's grip
  const ScreenArea primary{0, 0, 1024, 728};                     // 1024 x 768 less a task bar
  const ScreenArea right{1024, 0, 2304, 984}, left{-1280, 0, 0, 1024};  // second monitors
  const std::optional<WindowBox> none;
  const struct Row {
    const char* what;
    std::vector<ScreenArea> areas;
    WindowBox current;
    std::optional<WindowBox> userPlace;
    WindowBox expected;
  } rows[] = {
      {"on the screen: stays", {primary}, {100, 100, 150, 100}, none, {100, 100, 150, 100}},
      {"off to the right", {primary}, {5000, 5000, 150, 100}, none, {874, 628, 150, 100}},
      {"left of the screen", {primary}, {-3000, 200, 150, 100}, none, {0, 200, 150, 100}},
      {"above: grip off, body on", {primary}, {300, -15, 150, 100}, none, {300, 0, 150, 100}},
      {"partly on, grip within reach: stays", {primary}, {1000, 700, 150, 100}, none, {1000, 700, 150, 100}},
      {"grip by less than the reach: moves", {primary}, {1014, 100, 150, 100}, none, {874, 100, 150, 100}},
      {"larger than the area: shrinks to it", {primary}, {-50, 3000, 1500, 900}, none, {0, 0, 1024, 728}},
      {"two monitors: on the second stays", {primary, right}, {1500, 900, 150, 100}, none, {1500, 900, 150, 100}},
      {"two monitors: into the nearest", {primary, right}, {3000, 500, 150, 100}, none, {2154, 500, 150, 100}},
      {"second monitor gone", {primary}, {1500, 900, 150, 100}, {{1500, 900, 150, 100}}, {874, 628, 150, 100}},
      {"layout returning", {primary, right}, {874, 628, 150, 100}, {{1500, 900, 150, 100}}, {1500, 900, 150, 100}},
      {"user's place still away", {primary}, {20, 30, 150, 100}, {{-500, 30, 150, 100}}, {20, 30, 150, 100}},
      {"monitor on the left back", {left, primary}, {0, 30, 150, 100}, {{-500, 30, 150, 100}}, {-500, 30, 150, 100}},
      {"no monitor: unchanged", {}, {5000, 5000, 150, 100}, none, {5000, 5000, 150, 100}},
  };
  for (const Row& row : rows)
    EXPECT_EQ(ReachablePlace(row.areas, row.current, row.userPlace, titleStrip), row.expected) << row.what;
  // A skin without a grip: the note counts whole.
  EXPECT_EQ(ReachablePlace(rows[0].areas, {500, -80, 150, 100}, none, TSkinRect{}), (WindowBox{500, -80, 150, 100}));
}

}  // namespace
