#include "app/note_placement.h"

namespace {

constexpr int kCascadeStart = 10;
constexpr int kCascadeStepX = 50, kCascadeStepY = 15;
constexpr int kCascadeNewRow = 20;
constexpr int kRandomMargin = 30;

// A uniform integer in 0..range-1, or 0 when the range is empty.
int DrawBelow(int range, const std::function<uint32_t()>& random) {
  if (range <= 0) return 0;
  return static_cast<int>((static_cast<uint64_t>(random()) * static_cast<uint64_t>(range)) >> 32);
}

}  // namespace

std::vector<ScreenPoint> CascadePositions(const std::vector<int>& noteWidths, int screenWidth) {
  std::vector<ScreenPoint> positions;
  positions.reserve(noteWidths.size());
  // Positions are words: a list long enough to pass 65535 wraps around, as the stored
  // positions do.
  uint16_t x = kCascadeStart, y = kCascadeStart;
  for (int width : noteWidths) {
    if (static_cast<long long>(x) + width + 10 > screenWidth) {
      x = kCascadeStart;
      y = static_cast<uint16_t>(y + kCascadeNewRow);
    }
    positions.push_back({x, y});
    x = static_cast<uint16_t>(x + kCascadeStepX);
    y = static_cast<uint16_t>(y + kCascadeStepY);
  }
  return positions;
}

ScreenPoint RandomNotePlacement(int screenW, int screenH, int noteW, int noteH,
                                const std::function<uint32_t()>& random) {
  // A note too big for the screen would otherwise ask for a number below zero.
  const int x = DrawBelow(screenW - noteW - kRandomMargin, random);
  const int y = DrawBelow(screenH - noteH - kRandomMargin, random);
  return {x, y};
}
