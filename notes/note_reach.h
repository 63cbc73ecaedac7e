#pragma once
// Keeps every note within the user's reach: a note whose grip (the part it is dragged by) lies on
// no monitor's work area comes into the nearest one, and a note goes back to the place the user
// gave it once that place can be reached again (a monitor plugged back in, a resolution back).
// Monitors, boxes and places come in as plain values, so the rule runs anywhere.

#include <optional>
#include <span>
#include <vector>

#include "look/skin_options.h"
#include "notes/note_geometry.h"

// A monitor's work area in screen pixels (the screen less the task bar); right and bottom
// exclusive. Monitors left of or above the primary one have negative coordinates.
struct ScreenArea {
  int Left, Top, Right, Bottom;
  friend bool operator==(const ScreenArea&, const ScreenArea&) = default;
};

// How much of the grip, in each direction, must lie on one work area for the user to take hold
// of it; a grip smaller than that must lie there whole.
inline constexpr int kGripReach = 12;

// True when the grip of a note at `box` lies on one of `workAreas` by kGripReach pixels each
// way. The grip is the skin's move area resolved against the box; a skin without one (a note
// that no mouse moves) counts its whole box.
bool GripWithinReach(std::span<const ScreenArea> workAreas, const WindowBox& box, const TSkinRect& moveArea);

// Where a note at `current` belongs: the user's own place when its grip can be reached there;
// else where it is when that can be reached; else inside the work area nearest to it, moved as
// little as can be and keeping its size where the area is large enough. With no work area at
// all the note stays where it is.
WindowBox ReachablePlace(std::span<const ScreenArea> workAreas, const WindowBox& current,
                         const std::optional<WindowBox>& userPlace, const TSkinRect& moveArea);

// The work areas of the monitors attached now (Win32: EnumDisplayMonitors), the primary first.
std::vector<ScreenArea> MonitorWorkAreas();
