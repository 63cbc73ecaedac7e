#include "notes/note_geometry.h"

#include <cstdlib>

#include "look/skin_geometry.h"

namespace {

// The band along the window's edges that starts a resize.
constexpr int kEdgeBand = 3;
// How close to a corner a side edge counts as that corner.
constexpr int kCornerReach = 10;

bool InMoveArea(const TSkinRect& moveArea, int x, int y, int width, int height) {
  return PointInSkinRect(ResolveSkinRect(moveArea, width, height), x, y);
}

bool InsideEdgeBand(int x, int y, int width, int height) {
  const TSkinRect inner = MakeSkinRect(kEdgeBand, kEdgeBand, -kEdgeBand, -kEdgeBand);
  return PointInSkinRect(ResolveSkinRect(inner, width, height), x, y);
}

}  // namespace

ResizeCursor UpdateEdges(NoteEdges& edges, const TSkinRect& moveArea, bool resizeable, int x,
                         int y, int width, int height) {
  if (InMoveArea(moveArea, x, y, width, height) || InsideEdgeBand(x, y, width, height))
    return ResizeCursor::Arrow;

  edges.H = std::abs(width - x) < kEdgeBand ? EdgeH::Right
            : x < kEdgeBand                 ? EdgeH::Left
                                            : EdgeH::None;
  edges.V = std::abs(height - y) < kEdgeBand ? EdgeV::Bottom
            : y < kEdgeBand                  ? EdgeV::Top
                                             : EdgeV::None;

  // Near a corner a side edge takes the diagonal; when both ends are near (a small window)
  // the bottom or right one wins, being tested last.
  if (edges.V == EdgeV::None && edges.H != EdgeH::None) {
    if (y < kCornerReach) edges.V = EdgeV::Top;
    if (std::abs(height - y) < kCornerReach) edges.V = EdgeV::Bottom;
  }
  if (edges.H == EdgeH::None && edges.V != EdgeV::None) {
    if (x < kCornerReach) edges.H = EdgeH::Left;
    if (std::abs(width - x) < kCornerReach) edges.H = EdgeH::Right;
  }
  return CursorForEdges(edges, resizeable);
}

ResizeCursor CursorForEdges(const NoteEdges& edges, bool resizeable) {
  if (!resizeable) return ResizeCursor::Arrow;
  switch (edges.H) {
    case EdgeH::Left:
      return edges.V == EdgeV::Top      ? ResizeCursor::NorthWestSouthEast
             : edges.V == EdgeV::Bottom ? ResizeCursor::NorthEastSouthWest
                                        : ResizeCursor::WestEast;
    case EdgeH::Right:
      return edges.V == EdgeV::Top      ? ResizeCursor::NorthEastSouthWest
             : edges.V == EdgeV::Bottom ? ResizeCursor::NorthWestSouthEast
                                        : ResizeCursor::WestEast;
    case EdgeH::None:
      break;
  }
  return edges.V == EdgeV::None ? ResizeCursor::Arrow : ResizeCursor::NorthSouth;
}

PressAction ClassifyPress(const TSkinRect& moveArea, bool resizeable, int x, int y, int width,
                          int height) {
  if (InMoveArea(moveArea, x, y, width, height)) return PressAction::Move;
  if (resizeable && !InsideEdgeBand(x, y, width, height)) return PressAction::Resize;
  return PressAction::Nothing;
}

WindowBox ResizeTarget(const NoteEdges& edges, const WindowBox& current, int dx, int dy) {
  WindowBox box = current;
  if (edges.H == EdgeH::Right) {
    box.Width += dx;
  } else if (edges.H == EdgeH::Left) {
    box.Width -= dx;
    box.Left += dx;
  }
  if (edges.V == EdgeV::Bottom) {
    box.Height += dy;
  } else if (edges.V == EdgeV::Top) {
    box.Height -= dy;
    box.Top += dy;
  }
  return box;
}

std::optional<WindowBox> ResizeStepBox(WindowBox target) {
  if (target.Left < 1) target.Left = 1;
  if (target.Top < 1) target.Top = 1;
  if (target.Height <= 30 || target.Width <= 50) return std::nullopt;
  return target;
}

NoteMouseEffect NoteMouseState::Press(const TSkinRect& moveArea, bool resizeable, int x, int y,
                                      int width, int height) {
  NoteMouseEffect effect;
  resizeToggle_ = false;
  switch (ClassifyPress(moveArea, resizeable, x, y, width, height)) {
    case PressAction::Move:
      dragging_ = true;
      resizing_ = false;
      originX_ = x;
      originY_ = y;
      break;
    case PressAction::Resize:
      dragging_ = false;
      resizing_ = true;
      anchorX_ = x;
      anchorY_ = y;
      effect.Cursor = UpdateEdges(edges_, moveArea, resizeable, x, y, width, height);
      break;
    case PressAction::Nothing:
      break;
  }
  return effect;
}

NoteMouseEffect NoteMouseState::Move(const TSkinRect& moveArea, bool resizeable, int x, int y,
                                     const WindowBox& window) {
  NoteMouseEffect effect;
  if (dragging_) {
    effect.Box = WindowBox{window.Left + x - originX_, window.Top + y - originY_, window.Width,
                           window.Height};
    return effect;
  }
  if (!resizing_) {
    effect.Cursor = UpdateEdges(edges_, moveArea, resizeable, x, y, window.Width, window.Height);
    return effect;
  }
  if (resizeable) effect.Cursor = CursorForEdges(edges_, resizeable);
  resizeToggle_ = !resizeToggle_;
  if (resizeToggle_) {
    effect.Box = ResizeStepBox(ResizeTarget(edges_, window, x - anchorX_, y - anchorY_));
    effect.Relayout = true;
  }
  // A skipped step re-anchors too: the next one is measured from where the mouse is now.
  anchorX_ = x;
  anchorY_ = y;
  return effect;
}

NoteMouseEffect NoteMouseState::Release() {
  dragging_ = false;
  resizing_ = false;
  NoteMouseEffect effect;
  effect.Cursor = ResizeCursor::Arrow;
  return effect;
}
