#include "app/note_placement.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace {

// Hands out the given values in turn and counts the draws.
struct Draws {
  std::vector<uint32_t> values;
  size_t next = 0;
  uint32_t operator()() { return values.at(next++); }
};

TEST(Cascade, RowsOfNotesRunDownTheScreen) {
  const std::vector<ScreenPoint> expected = {{10, 10},   {60, 25},   {110, 40},  {160, 55},
                                             {210, 70},  {260, 85},  {310, 100}, {360, 115},
                                             {410, 130}, {10, 165}};
  EXPECT_EQ(CascadePositions(std::vector<int>(10, 200), 640), expected);
  EXPECT_TRUE(CascadePositions({}, 640).empty());

  // A note ending exactly 10 pixels before the screen edge still fits; one more pixel does not.
  EXPECT_EQ(CascadePositions({100, 580}, 650), (std::vector<ScreenPoint>{{10, 10}, {60, 25}}));
  EXPECT_EQ(CascadePositions({100, 581}, 650), (std::vector<ScreenPoint>{{10, 10}, {10, 45}}));
  // Widths differ per note: each note is checked with its own.
  EXPECT_EQ(CascadePositions({600, 100, 600}, 640),
            (std::vector<ScreenPoint>{{10, 10}, {60, 25}, {10, 60}}));
  // A note wider than the screen still gets a place at the left.
  EXPECT_EQ(CascadePositions({2000}, 640), (std::vector<ScreenPoint>{{10, 30}}));
}

TEST(Cascade, PositionsAreWords) {
  // Every wide note starts a new row: y = 10 + 35 * i, taken modulo 65536.
  const std::vector<ScreenPoint> positions = CascadePositions(std::vector<int>(1875, 600), 640);
  EXPECT_EQ(positions[0], (ScreenPoint{10, 10}));
  EXPECT_EQ(positions[1872], (ScreenPoint{10, 65530}));
  EXPECT_EQ(positions[1873], (ScreenPoint{10, 29}));
  EXPECT_EQ(positions[1874], (ScreenPoint{10, 64}));
}

TEST(RandomPlacement, StaysInsideTheScreenMargin) {
  // 1024 x 768 screen, 150 x 100 note: 0 <= x < 844 and 0 <= y < 638, x drawn first.
  Draws low{{0, 0}};
  EXPECT_EQ(RandomNotePlacement(1024, 768, 150, 100, std::ref(low)), (ScreenPoint{0, 0}));
  Draws high{{0xFFFFFFFFu, 0xFFFFFFFFu}};
  EXPECT_EQ(RandomNotePlacement(1024, 768, 150, 100, std::ref(high)), (ScreenPoint{843, 637}));
  Draws half{{0x80000000u, 0x40000000u}};
  EXPECT_EQ(RandomNotePlacement(1024, 768, 150, 100, std::ref(half)), (ScreenPoint{422, 159}));
}

TEST(RandomPlacement, NoteLargerThanTheScreenGoesToZero) {
  Draws high{{0xFFFFFFFFu, 0xFFFFFFFFu}};
  EXPECT_EQ(RandomNotePlacement(1024, 768, 1000, 100, std::ref(high)), (ScreenPoint{0, 637}));
  high.next = 0;
  EXPECT_EQ(RandomNotePlacement(1024, 768, 150, 738, std::ref(high)), (ScreenPoint{843, 0}));
  high.next = 0;
  EXPECT_EQ(RandomNotePlacement(100, 100, 2000, 3000, std::ref(high)), (ScreenPoint{0, 0}));
  high.next = 0;
  // One free pixel leaves exactly one place.
  EXPECT_EQ(RandomNotePlacement(181, 131, 150, 100, std::ref(high)), (ScreenPoint{0, 0}));
}

}  // namespace
