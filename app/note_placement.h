#pragma once
// Where the controller puts notes on the screen.

#include <cstdint>
#include <functional>
#include <vector>

struct ScreenPoint {
  int X, Y;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Cascade: one position per note, in list order, for notes of the given widths on a screen
// `screenWidth` wide. Positions are 16-bit unsigned (0..65535) and run on down the screen.
std::vector<ScreenPoint> CascadePositions(const std::vector<int>& noteWidths, int screenWidth);

// A new note's random place: 0 <= X < screenW - noteW - 30 and 0 <= Y < screenH - noteH - 30,
// X drawn first. An axis on which the note (plus the 30-pixel margin) does not fit gives 0.
ScreenPoint RandomNotePlacement(int screenW, int screenH, int noteW, int noteH,
                                const std::function<uint32_t()>& random);
