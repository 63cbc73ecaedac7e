// Moving and resizing a note with the mouse, driven by the mouse messages a user's hand
// would send. Positions are client positions of the note window.
#include "note_window_test_support.h"

namespace note_test {
namespace {

struct Box {
  int left, top, width, height;
  friend bool operator==(const Box&, const Box&) = default;
};

std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "(" << b.left << "," << b.top << " " << b.width << "x" << b.height << ")";
}

Box BoxOf(const TTFoglio& note) { return {note.Bounds().Left, note.Bounds().Top, note.Bounds().Width, note.Bounds().Height}; }

void Press(HWND hwnd, int x, int y) { SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
void MoveTo(HWND hwnd, int x, int y) { SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)); }
void Release(HWND hwnd, int x, int y) { SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }

class NoteMouseTest : public NoteWindowTest {
 protected:
  TTFoglio& PlacedNote(int left = 100, int top = 100) {
    TTFoglio& note = NewNote(TestSkin());
    note.MoveTo(left, top);
    return note;
  }
};

TEST_F(NoteMouseTest, TitleStripMovesTheNote) {
  TTFoglio& note = PlacedNote();
  const HWND hwnd = note.hwnd();
  Press(hwnd, 50, 10);
  MoveTo(hwnd, 60, 15);
  EXPECT_EQ(BoxOf(note), (Box{110, 105, 200, 120}));
  // Positions come relative to the moved window: the grabbed point stays under the mouse.
  MoveTo(hwnd, 70, 15);
  EXPECT_EQ(BoxOf(note), (Box{130, 110, 200, 120}));
  Release(hwnd, 70, 15);
  MoveTo(hwnd, 90, 15);
  EXPECT_EQ(BoxOf(note), (Box{130, 110, 200, 120}));
}

TEST_F(NoteMouseTest, PressesOutsideTheMoveAreaAndTheEdgeBandDoNothing) {
  TTFoglio& note = PlacedNote();
  const HWND hwnd = note.hwnd();
  const Box start = BoxOf(note);
  // On the lower edge of the move area (strictly inside only), on the background.
  for (const POINT at : {POINT{50, 20}, POINT{100, 90}, POINT{4, 100}}) {
    Press(hwnd, at.x, at.y);
    MoveTo(hwnd, at.x + 20, at.y + 20);
    MoveTo(hwnd, at.x + 40, at.y + 40);
    Release(hwnd, at.x + 40, at.y + 40);
    EXPECT_EQ(BoxOf(note), start) << at.x << "," << at.y;
  }
}

TEST_F(NoteMouseTest, PositionsAreRelativeToThePartUnderTheMouse) {
  TTFoglio& note = PlacedNote();
  const HWND hwnd = note.hwnd();
  // The caption label sits at (30, 70): a press 10, 5 into it lies in the move area's terms
  // (0..200 x 0..20), so it moves the note although it is far below the title strip.
  Press(hwnd, 40, 75);
  MoveTo(hwnd, 50, 80);
  Release(hwnd, 50, 80);
  EXPECT_EQ(BoxOf(note), (Box{110, 105, 200, 120}));
}

TEST_F(NoteMouseTest, EdgeBandResizesOnEveryOtherMove) {
  TTFoglio& note = PlacedNote();
  const HWND hwnd = note.hwnd();
  Press(hwnd, 198, 60);
  MoveTo(hwnd, 218, 60);
  EXPECT_EQ(BoxOf(note), (Box{100, 100, 220, 120}));
  MoveTo(hwnd, 230, 60);  // only takes a new anchor
  EXPECT_EQ(BoxOf(note), (Box{100, 100, 220, 120}));
  MoveTo(hwnd, 240, 60);
  EXPECT_EQ(BoxOf(note), (Box{100, 100, 230, 120}));
  Release(hwnd, 240, 60);
  MoveTo(hwnd, 260, 60);
  EXPECT_EQ(BoxOf(note), (Box{100, 100, 230, 120}));

  // Left edge: the left side follows the mouse, the right side stays.
  Press(hwnd, 1, 60);
  MoveTo(hwnd, -9, 60);
  EXPECT_EQ(BoxOf(note), (Box{90, 100, 240, 120}));
  Release(hwnd, -9, 60);

  // Bottom and top edges.
  Press(hwnd, 100, 118);
  MoveTo(hwnd, 100, 128);
  EXPECT_EQ(BoxOf(note), (Box{90, 100, 240, 130}));
  Release(hwnd, 100, 128);
  // The top row is outside the title strip's move area (strictly inside only).
  Press(hwnd, 100, 0);
  MoveTo(hwnd, 100, -5);
  EXPECT_EQ(BoxOf(note), (Box{90, 95, 240, 135}));
  Release(hwnd, 100, -5);
}

TEST_F(NoteMouseTest, SideEdgesNearACornerResizeDiagonally) {
  TTFoglio& note = PlacedNote();
  const HWND hwnd = note.hwnd();
  // Right edge 5 pixels above the bottom: right and bottom.
  Press(hwnd, 198, 115);
  MoveTo(hwnd, 208, 125);
  Release(hwnd, 208, 125);
  EXPECT_EQ(BoxOf(note), (Box{100, 100, 210, 130}));
  // Left edge 8 pixels above the bottom: left and bottom.
  Press(hwnd, 1, 122);
  MoveTo(hwnd, -9, 132);
  Release(hwnd, -9, 132);
  EXPECT_EQ(BoxOf(note), (Box{90, 100, 220, 140}));
  // Bottom edge 4 pixels from the right: bottom and right.
  Press(hwnd, 216, 138);
  MoveTo(hwnd, 226, 148);
  Release(hwnd, 226, 148);
  EXPECT_EQ(BoxOf(note), (Box{90, 100, 230, 150}));
  // Right edge 30 pixels from either corner: right only.
  Press(hwnd, 229, 30);
  MoveTo(hwnd, 239, 40);
  Release(hwnd, 239, 40);
  EXPECT_EQ(BoxOf(note), (Box{90, 100, 240, 150}));
}

TEST_F(NoteMouseTest, StepsBelowTheMinimumSizeAreSkippedWhole) {
  TTFoglio& note = PlacedNote();
  const HWND hwnd = note.hwnd();
  // Narrowing to 50 pixels is skipped; the next step is measured from where the mouse is then.
  Press(hwnd, 1, 60);
  MoveTo(hwnd, 151, 60);
  EXPECT_EQ(BoxOf(note), (Box{100, 100, 200, 120}));
  MoveTo(hwnd, 151, 60);  // re-anchors at 151
  MoveTo(hwnd, 101, 60);
  EXPECT_EQ(BoxOf(note), (Box{50, 100, 250, 120}));
  Release(hwnd, 101, 60);
  // 51 x 31 is allowed, 30 pixels high is not.
  Press(hwnd, 248, 60);
  MoveTo(hwnd, 49, 60);
  EXPECT_EQ(BoxOf(note), (Box{50, 100, 51, 120}));
  Release(hwnd, 49, 60);
  Press(hwnd, 25, 118);
  MoveTo(hwnd, 25, 28);
  EXPECT_EQ(BoxOf(note), (Box{50, 100, 51, 120}));
  MoveTo(hwnd, 25, 28);
  MoveTo(hwnd, 25, 29);
  EXPECT_EQ(BoxOf(note), (Box{50, 100, 51, 121}));
  Release(hwnd, 25, 29);
}

TEST_F(NoteMouseTest, ResizingFromTheLeftOfTheScreenKeepsTheNoteOnIt) {
  TTFoglio& note = PlacedNote(0, 100);
  const HWND hwnd = note.hwnd();
  Press(hwnd, 198, 60);
  MoveTo(hwnd, 208, 60);
  Release(hwnd, 208, 60);
  EXPECT_EQ(BoxOf(note), (Box{1, 100, 210, 120}));
}

TEST_F(NoteMouseTest, SkinThatIsNotResizeableOnlyMoves) {
  TTFoglio& note = NewNote(WriteSkin("fixed", TestSkinWith("Window", "Resizeable=0\r\n")));
  note.MoveTo(100, 100);
  const HWND hwnd = note.hwnd();
  Press(hwnd, 198, 60);
  MoveTo(hwnd, 218, 60);
  Release(hwnd, 218, 60);
  EXPECT_EQ(BoxOf(note), (Box{100, 100, 200, 120}));
  Press(hwnd, 50, 10);
  MoveTo(hwnd, 60, 10);
  Release(hwnd, 60, 10);
  EXPECT_EQ(BoxOf(note), (Box{110, 100, 200, 120}));
}

TEST_F(NoteMouseTest, MovesOverTheEditBoxSetTheCursorTheNoteShowsAtItsEdges) {
  TTFoglio& note = PlacedNote();
  const HWND hwnd = note.hwnd();
  const auto cursorOverNote = [&] {
    SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  // The edit box's own positions, measured against the note's edge band.
  SendMessageA(note.TextBox().hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(0, 30));
  EXPECT_EQ(cursorOverNote(), LoadCursorA(nullptr, IDC_SIZEWE));
  SendMessageA(note.TextBox().hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 30));
  EXPECT_EQ(cursorOverNote(), LoadCursorA(nullptr, IDC_ARROW));
  // The edit box still does its own work behind the note's look at the move, and takes its
  // messages as the Unicode window it was made (typed characters are not narrowed on the way).
  EXPECT_TRUE(IsWindowUnicode(note.TextBox().hwnd()));
  note.SetText("still an edit box");
  EXPECT_EQ(note.TextBox().Text(), "still an edit box");
}

TEST_F(NoteMouseTest, ButtonsOnTheTitleStripClickInsteadOfMoving) {
  TTFoglio& note = PlacedNote();
  const HWND hwnd = note.hwnd();
  note.SetShown(true);
  // A press on the minimise button released elsewhere is no click and no move.
  Press(hwnd, 168, 10);
  MoveTo(hwnd, 120, 10);
  Release(hwnd, 120, 10);
  EXPECT_EQ(BoxOf(note), (Box{100, 100, 200, 120}));
  EXPECT_TRUE(IsWindowVisible(hwnd));
  Press(hwnd, 168, 10);
  Release(hwnd, 168, 10);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_FALSE(note.Closed());

  note.SetShown(true);
  Press(hwnd, 188, 10);
  Release(hwnd, 188, 10);
  EXPECT_TRUE(note.Closed());
  EXPECT_FALSE(IsWindowVisible(hwnd));
}

}  // namespace
}  // namespace note_test
