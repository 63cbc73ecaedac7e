#include "notes/note_reach.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "look/skin_geometry.h"

namespace {

ScreenArea GripOf(const WindowBox& box, const TSkinRect& moveArea) {
  const TSkinRect grip = ResolveSkinRect(moveArea, box.Width, box.Height);
  if (grip.Right <= grip.Left || grip.Down <= grip.Top)
    return {box.Left, box.Top, box.Left + box.Width, box.Top + box.Height};
  // Clipped to the window: a move area may reach past a window sized smaller than its skin.
  return {box.Left + std::max(grip.Left, 0), box.Top + std::max(grip.Top, 0),
          box.Left + std::min(grip.Right, box.Width), box.Top + std::min(grip.Down, box.Height)};
}

bool OnArea(const ScreenArea& grip, const ScreenArea& area) {
  const int width = std::min(grip.Right, area.Right) - std::max(grip.Left, area.Left);
  const int height = std::min(grip.Bottom, area.Bottom) - std::max(grip.Top, area.Top);
  return width >= std::min(kGripReach, grip.Right - grip.Left) && width > 0 &&
         height >= std::min(kGripReach, grip.Bottom - grip.Top) && height > 0;
}

// How far the box lies from the area (0 when they meet), squared; among areas it meets, the
// larger overlap counts as nearer.
int64_t DistanceOf(const WindowBox& box, const ScreenArea& area) {
  const int64_t right = int64_t{box.Left} + box.Width, bottom = int64_t{box.Top} + box.Height;
  const int64_t dx = std::max<int64_t>({area.Left - right, box.Left - int64_t{area.Right}, 0});
  const int64_t dy = std::max<int64_t>({area.Top - bottom, box.Top - int64_t{area.Bottom}, 0});
  if (dx > 0 || dy > 0) return dx * dx + dy * dy;
  const int64_t overlapW = std::min<int64_t>(right, area.Right) - std::max(box.Left, area.Left);
  const int64_t overlapH = std::min<int64_t>(bottom, area.Bottom) - std::max(box.Top, area.Top);
  return -std::max<int64_t>(overlapW, 0) * std::max<int64_t>(overlapH, 0);
}

int Into(int start, int length, int areaStart, int areaEnd) {
  return std::clamp(start, areaStart, std::max(areaStart, areaEnd - length));
}

}  // namespace

bool GripWithinReach(std::span<const ScreenArea> workAreas, const WindowBox& box, const TSkinRect& moveArea) {
  const ScreenArea grip = GripOf(box, moveArea);
  return std::any_of(workAreas.begin(), workAreas.end(), [&](const ScreenArea& area) { return OnArea(grip, area); });
}

WindowBox ReachablePlace(std::span<const ScreenArea> workAreas, const WindowBox& current,
                         const std::optional<WindowBox>& userPlace, const TSkinRect& moveArea) {
  if (userPlace && GripWithinReach(workAreas, *userPlace, moveArea)) return *userPlace;
  if (workAreas.empty() || GripWithinReach(workAreas, current, moveArea)) return current;
  const ScreenArea* nearest = &workAreas.front();
  int64_t best = std::numeric_limits<int64_t>::max();
  for (const ScreenArea& area : workAreas) {
    if (const int64_t distance = DistanceOf(current, area); distance < best) {
      best = distance;
      nearest = &area;
    }
  }
  const ScreenArea& area = *nearest;
  const int width = std::min(current.Width, area.Right - area.Left);
  const int height = std::min(current.Height, area.Bottom - area.Top);
  return {Into(current.Left, width, area.Left, area.Right), Into(current.Top, height, area.Top, area.Bottom), width,
          height};
}
