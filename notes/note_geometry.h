#pragma once
// Mouse arithmetic of the note window: which edge the mouse is over, which cursor that shows,
// what a press starts, and where a resize step takes the window. Coordinates are those the
// mouse event reports; width and height are the window's current size.

#include <cstdint>
#include <optional>

#include "look/skin_options.h"

enum class EdgeH : uint8_t { None = 0, Left = 3, Right = 4 };
enum class EdgeV : uint8_t { None = 0, Top = 1, Bottom = 2 };
enum class ResizeCursor { Arrow, WestEast, NorthSouth, NorthWestSouthEast, NorthEastSouthWest };

struct NoteEdges {
  EdgeH H = EdgeH::None;
  EdgeV V = EdgeV::None;
};

// Hover (neither moving nor resizing). Inside the move area or away from the 3-pixel edge band
// the cursor is the arrow and `edges` keep their values; in the band `edges` are recomputed
// (a side edge within 10 pixels of a corner takes the diagonal) and their cursor returned.
ResizeCursor UpdateEdges(NoteEdges& edges, const TSkinRect& moveArea, bool resizeable,
                         int x, int y, int width, int height);

// The cursor for the edges. A skin that is not Resizeable never changes the cursor from the
// arrow, so the arrow is returned for it.
ResizeCursor CursorForEdges(const NoteEdges& edges, bool resizeable);

// What a mouse press starts: a move inside the move area, a resize in the 3-pixel edge band
// of a Resizeable skin (the caller then runs UpdateEdges for the press point), else nothing.
enum class PressAction { Move, Resize, Nothing };
PressAction ClassifyPress(const TSkinRect& moveArea, bool resizeable, int x, int y, int width,
                          int height);

struct WindowBox {
  int Left, Top, Width, Height;
  friend bool operator==(const WindowBox&, const WindowBox&) = default;
};

// The box a resize move asks for: the dragged edges follow the mouse by (dx, dy).
WindowBox ResizeTarget(const NoteEdges& edges, const WindowBox& current, int dx, int dy);

// The box a resize step gives the window: left and top below 1 become 1; std::nullopt (the
// step is skipped whole, position included) when the height would be 30 or less or the width
// 50 or less.
std::optional<WindowBox> ResizeStepBox(WindowBox target);

// What the window does after a mouse event; empty fields leave that part alone.
struct NoteMouseEffect {
  std::optional<WindowBox> Box;        // move and size the window there, repainting
  std::optional<ResizeCursor> Cursor;  // show this cursor
  bool Relayout = false;               // a resize step ran: lay the frame out again
};

// Moving and resizing by mouse between a press and its release. Coordinates are those the
// event reports; `window` is the window's current place and size.
class NoteMouseState {
 public:
  // A press with any button (the caller switches the note to editing first).
  NoteMouseEffect Press(const TSkinRect& moveArea, bool resizeable, int x, int y, int width,
                        int height);
  // A move: drags, takes a resize step on every second move (the moves between only re-anchor,
  // which also swallows the move that the window's own change causes), or hovers.
  NoteMouseEffect Move(const TSkinRect& moveArea, bool resizeable, int x, int y,
                       const WindowBox& window);
  // The release ends moving and resizing; the cursor goes back to the arrow.
  NoteMouseEffect Release();

  bool Dragging() const { return dragging_; }
  bool Resizing() const { return resizing_; }
  const NoteEdges& Edges() const { return edges_; }

 private:
  bool dragging_ = false, resizing_ = false, resizeToggle_ = false;
  int originX_ = 0, originY_ = 0;  // where the press that started the move was
  int anchorX_ = 0, anchorY_ = 0;  // where the next resize step is measured from
  NoteEdges edges_;
};
