#include "notes/note_geometry.h"

#include <gtest/gtest.h>

#include "look/skin_geometry.h"

namespace {

constexpr int W = 150, H = 100;
// A title strip along the top: the move area is 0 < x < W and 0 < y < 20.
const TSkinRect kStrip = MakeSkinRect(0, 0, -30000, 20);
const TSkinRect kNoMoveArea{};

ResizeCursor Hover(int x, int y, NoteEdges& edges, bool resizeable = true,
                   const TSkinRect& moveArea = kNoMoveArea, int width = W, int height = H) {
  return UpdateEdges(edges, moveArea, resizeable, x, y, width, height);
}

struct HoverCase {
  int x, y;
  EdgeH h;
  EdgeV v;
  ResizeCursor cursor;
};

TEST(NoteHover, EdgeBandAndCorners) {
  const HoverCase cases[] = {
      {149, 50, EdgeH::Right, EdgeV::None, ResizeCursor::WestEast},
      {148, 50, EdgeH::Right, EdgeV::None, ResizeCursor::WestEast},
      {0, 50, EdgeH::Left, EdgeV::None, ResizeCursor::WestEast},
      {2, 50, EdgeH::Left, EdgeV::None, ResizeCursor::WestEast},
      {75, 0, EdgeH::None, EdgeV::Top, ResizeCursor::NorthSouth},
      {75, 98, EdgeH::None, EdgeV::Bottom, ResizeCursor::NorthSouth},
      // Side edges within 10 pixels of a corner take the diagonal.
      {1, 9, EdgeH::Left, EdgeV::Top, ResizeCursor::NorthWestSouthEast},
      {1, 91, EdgeH::Left, EdgeV::Bottom, ResizeCursor::NorthEastSouthWest},
      {149, 9, EdgeH::Right, EdgeV::Top, ResizeCursor::NorthEastSouthWest},
      {149, 91, EdgeH::Right, EdgeV::Bottom, ResizeCursor::NorthWestSouthEast},
      {9, 1, EdgeH::Left, EdgeV::Top, ResizeCursor::NorthWestSouthEast},
      {141, 1, EdgeH::Right, EdgeV::Top, ResizeCursor::NorthEastSouthWest},
      {9, 99, EdgeH::Left, EdgeV::Bottom, ResizeCursor::NorthEastSouthWest},
      {141, 99, EdgeH::Right, EdgeV::Bottom, ResizeCursor::NorthWestSouthEast},
      // Just beyond the 10-pixel reach the side stays a side.
      {1, 10, EdgeH::Left, EdgeV::None, ResizeCursor::WestEast},
      {1, 90, EdgeH::Left, EdgeV::None, ResizeCursor::WestEast},
      {10, 1, EdgeH::None, EdgeV::Top, ResizeCursor::NorthSouth},
      {140, 99, EdgeH::None, EdgeV::Bottom, ResizeCursor::NorthSouth},
      // On the band's inner line (x = 3 or W - 3) the point is in the band but on no edge.
      {3, 50, EdgeH::None, EdgeV::None, ResizeCursor::Arrow},
      {147, 50, EdgeH::None, EdgeV::None, ResizeCursor::Arrow},
  };
  for (const HoverCase& c : cases) {
    NoteEdges edges{EdgeH::Left, EdgeV::Bottom};
    EXPECT_EQ(Hover(c.x, c.y, edges), c.cursor) << c.x << "," << c.y;
    EXPECT_EQ(edges.H, c.h) << c.x << "," << c.y;
    EXPECT_EQ(edges.V, c.v) << c.x << "," << c.y;
  }

  // In a window under 20 pixels high both corner tests hit; the bottom one is tested last.
  NoteEdges edges;
  EXPECT_EQ(Hover(1, 6, edges, true, kNoMoveArea, W, 15), ResizeCursor::NorthEastSouthWest);
  EXPECT_EQ(edges.V, EdgeV::Bottom);
  EXPECT_EQ(Hover(6, 1, edges, true, kNoMoveArea, 15, H), ResizeCursor::NorthEastSouthWest);
  EXPECT_EQ(edges.H, EdgeH::Right);
}

TEST(NoteHover, MoveAreaAndInnerRectKeepEdges) {
  const NoteEdges before{EdgeH::Right, EdgeV::Top};
  NoteEdges edges = before;
  EXPECT_EQ(Hover(75, 50, edges), ResizeCursor::Arrow);  // inner rect
  EXPECT_EQ(edges.H, before.H);
  EXPECT_EQ(edges.V, before.V);

  // The strip reaches into the edge band along the top: there the move area wins.
  EXPECT_EQ(Hover(75, 1, edges, true, kStrip), ResizeCursor::Arrow);
  EXPECT_EQ(edges.H, before.H);
  EXPECT_EQ(edges.V, before.V);
  // Its own edges are outside it: y = 0 is the band again.
  EXPECT_EQ(Hover(75, 0, edges, true, kStrip), ResizeCursor::NorthSouth);

  // A skin that is not Resizeable still tracks edges but never shows a resize cursor.
  edges = {};
  EXPECT_EQ(Hover(149, 91, edges, false), ResizeCursor::Arrow);
  EXPECT_EQ(edges.H, EdgeH::Right);
  EXPECT_EQ(edges.V, EdgeV::Bottom);
}

TEST(NoteHover, CursorTable) {
  using C = ResizeCursor;
  const EdgeH hs[] = {EdgeH::Left, EdgeH::Right, EdgeH::None};
  const EdgeV vs[] = {EdgeV::None, EdgeV::Top, EdgeV::Bottom};
  const C table[3][3] = {
      {C::WestEast, C::NorthWestSouthEast, C::NorthEastSouthWest},
      {C::WestEast, C::NorthEastSouthWest, C::NorthWestSouthEast},
      {C::Arrow, C::NorthSouth, C::NorthSouth},
  };
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      EXPECT_EQ(CursorForEdges({hs[i], vs[j]}, true), table[i][j]) << i << "," << j;
      EXPECT_EQ(CursorForEdges({hs[i], vs[j]}, false), C::Arrow) << i << "," << j;
    }
  }
}

TEST(NotePress, MoveResizeOrNothing) {
  EXPECT_EQ(ClassifyPress(kStrip, true, 75, 10, W, H), PressAction::Move);
  EXPECT_EQ(ClassifyPress(kStrip, true, 75, 19, W, H), PressAction::Move);
  EXPECT_EQ(ClassifyPress(kStrip, false, 75, 10, W, H), PressAction::Move);
  // The move area's edges are not part of it.
  EXPECT_EQ(ClassifyPress(kStrip, true, 75, 20, W, H), PressAction::Nothing);
  EXPECT_EQ(ClassifyPress(kStrip, true, 0, 10, W, H), PressAction::Resize);
  EXPECT_EQ(ClassifyPress(kStrip, true, 150, 10, W, H), PressAction::Resize);
  EXPECT_EQ(ClassifyPress(kStrip, true, 75, 0, W, H), PressAction::Resize);

  // Negative values count back from the right and bottom edges.
  const TSkinRect inset = MakeSkinRect(10, 5, -10, -50);
  EXPECT_EQ(ClassifyPress(inset, true, 139, 49, W, H), PressAction::Move);
  EXPECT_EQ(ClassifyPress(inset, true, 140, 49, W, H), PressAction::Nothing);
  EXPECT_EQ(ClassifyPress(inset, true, 139, 50, W, H), PressAction::Nothing);

  // The 3-pixel band starts resizing only for a Resizeable skin.
  EXPECT_EQ(ClassifyPress(kNoMoveArea, true, 3, 50, W, H), PressAction::Resize);
  EXPECT_EQ(ClassifyPress(kNoMoveArea, true, 4, 50, W, H), PressAction::Nothing);
  EXPECT_EQ(ClassifyPress(kNoMoveArea, true, 146, 96, W, H), PressAction::Nothing);
  EXPECT_EQ(ClassifyPress(kNoMoveArea, true, 147, 96, W, H), PressAction::Resize);
  EXPECT_EQ(ClassifyPress(kNoMoveArea, true, 75, 97, W, H), PressAction::Resize);
  EXPECT_EQ(ClassifyPress(kNoMoveArea, false, 0, 0, W, H), PressAction::Nothing);
  // An empty move area never moves the window.
  for (int x = -1; x <= W; x += 7) EXPECT_NE(ClassifyPress(kNoMoveArea, true, x, 1, W, H), PressAction::Move);
}

TEST(NoteResize, TargetFollowsTheDraggedEdges) {
  const WindowBox box{100, 200, 150, 100};
  EXPECT_EQ(ResizeTarget({EdgeH::Right, EdgeV::None}, box, 7, 9), (WindowBox{100, 200, 157, 100}));
  EXPECT_EQ(ResizeTarget({EdgeH::Left, EdgeV::None}, box, 7, 9), (WindowBox{107, 200, 143, 100}));
  EXPECT_EQ(ResizeTarget({EdgeH::None, EdgeV::Bottom}, box, 7, 9), (WindowBox{100, 200, 150, 109}));
  EXPECT_EQ(ResizeTarget({EdgeH::None, EdgeV::Top}, box, 7, 9), (WindowBox{100, 209, 150, 91}));
  EXPECT_EQ(ResizeTarget({EdgeH::Left, EdgeV::Top}, box, -5, -6), (WindowBox{95, 194, 155, 106}));
  EXPECT_EQ(ResizeTarget({EdgeH::Right, EdgeV::Bottom}, box, -5, -6), (WindowBox{100, 200, 145, 94}));
  EXPECT_EQ(ResizeTarget({}, box, 7, 9), box);
}

TEST(NoteResize, StepKeepsMinimumsAndScreenCorner) {
  EXPECT_EQ(ResizeStepBox({10, 10, 51, 31}), (WindowBox{10, 10, 51, 31}));
  // A step to 50 wide or 30 high (or less) is skipped whole, position included.
  EXPECT_EQ(ResizeStepBox({10, 10, 50, 100}), std::nullopt);
  EXPECT_EQ(ResizeStepBox({10, 10, 150, 30}), std::nullopt);
  EXPECT_EQ(ResizeStepBox({-40, -40, 20, 20}), std::nullopt);

  // A note at left 0 resized from its right edge ends at left 1.
  const WindowBox atEdge{0, 40, 150, 100};
  EXPECT_EQ(ResizeStepBox(ResizeTarget({EdgeH::Right, EdgeV::None}, atEdge, 10, 0)),
            (WindowBox{1, 40, 160, 100}));
  // Dragging the top-left corner past the screen corner stops at (1, 1).
  EXPECT_EQ(ResizeStepBox(ResizeTarget({EdgeH::Left, EdgeV::Top}, {5, 5, 150, 100}, -20, -20)),
            (WindowBox{1, 1, 170, 120}));
}

TEST(NoteMouse, DragMovesTheWindowBySize) {
  NoteMouseState mouse;
  EXPECT_FALSE(mouse.Press(kStrip, true, 20, 10, W, H).Cursor.has_value());
  EXPECT_TRUE(mouse.Dragging());
  const WindowBox window{100, 200, W, H};
  const NoteMouseEffect moved = mouse.Move(kStrip, true, 25, 7, window);
  EXPECT_EQ(moved.Box, (WindowBox{105, 197, W, H}));
  EXPECT_FALSE(moved.Relayout);
  // The window followed, so the mouse is back at the press point relative to it.
  EXPECT_EQ(mouse.Move(kStrip, true, 20, 10, {105, 197, W, H}).Box, (WindowBox{105, 197, W, H}));

  EXPECT_EQ(mouse.Release().Cursor, ResizeCursor::Arrow);
  EXPECT_FALSE(mouse.Dragging());
  // After the release a move only hovers.
  const NoteMouseEffect hover = mouse.Move(kStrip, true, 149, 50, window);
  EXPECT_FALSE(hover.Box.has_value());
  EXPECT_EQ(hover.Cursor, ResizeCursor::WestEast);
}

TEST(NoteMouse, ResizeStepsOnEverySecondMove) {
  NoteMouseState mouse;
  EXPECT_EQ(mouse.Press(kStrip, true, 149, 50, W, H).Cursor, ResizeCursor::WestEast);
  EXPECT_TRUE(mouse.Resizing());
  EXPECT_EQ(mouse.Edges().H, EdgeH::Right);

  WindowBox window{100, 200, W, H};
  NoteMouseEffect step = mouse.Move(kStrip, true, 152, 50, window);
  EXPECT_EQ(step.Box, (WindowBox{100, 200, 153, H}));
  EXPECT_TRUE(step.Relayout);
  EXPECT_EQ(step.Cursor, ResizeCursor::WestEast);
  window = *step.Box;

  // The next move only re-anchors ...
  step = mouse.Move(kStrip, true, 170, 60, window);
  EXPECT_FALSE(step.Box.has_value());
  EXPECT_FALSE(step.Relayout);
  EXPECT_EQ(step.Cursor, ResizeCursor::WestEast);
  // ... and the one after is measured from there.
  step = mouse.Move(kStrip, true, 175, 90, window);
  EXPECT_EQ(step.Box, (WindowBox{100, 200, 158, H}));

  mouse.Release();
  EXPECT_FALSE(mouse.Resizing());
  EXPECT_FALSE(mouse.Move(kStrip, true, 200, 50, window).Box.has_value());
}

TEST(NoteMouse, SkippedStepReanchors) {
  NoteMouseState mouse;
  WindowBox window{100, 200, 60, H};
  mouse.Press(kNoMoveArea, true, 1, 50, window.Width, window.Height);  // left edge
  EXPECT_EQ(mouse.Edges().H, EdgeH::Left);

  // Dragging the left edge 10 pixels inwards would leave 50 pixels: skipped whole.
  NoteMouseEffect step = mouse.Move(kNoMoveArea, true, 11, 50, window);
  EXPECT_FALSE(step.Box.has_value());
  EXPECT_TRUE(step.Relayout);
  EXPECT_FALSE(mouse.Move(kNoMoveArea, true, 11, 50, window).Box.has_value());
  // The next step counts from x = 11, not from the press at 1 (which would leave 41 pixels).
  EXPECT_EQ(mouse.Move(kNoMoveArea, true, 20, 50, window).Box, (WindowBox{109, 200, 51, H}));

  // A press away from the edges and outside the move area starts nothing.
  NoteMouseState idle;
  EXPECT_FALSE(idle.Press(kStrip, true, 75, 50, W, H).Cursor.has_value());
  EXPECT_FALSE(idle.Dragging());
  EXPECT_FALSE(idle.Resizing());
}

}  // namespace
