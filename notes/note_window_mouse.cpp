// Moving and resizing a note with the mouse. Positions are taken relative to the part of the
// window under the mouse (the caption label, a picture, or the bare window), as the skin's
// move area and the edge band are measured; the part that got the press keeps the moves.
#include "notes/note_window.h"

#include <windowsx.h>

namespace {

LPCSTR CursorName(ResizeCursor cursor) {
  switch (cursor) {
    case ResizeCursor::WestEast:
      return IDC_SIZEWE;
    case ResizeCursor::NorthSouth:
      return IDC_SIZENS;
    case ResizeCursor::NorthWestSouthEast:
      return IDC_SIZENWSE;
    case ResizeCursor::NorthEastSouthWest:
      return IDC_SIZENESW;
    case ResizeCursor::Arrow:
      break;
  }
  return IDC_ARROW;
}

}  // namespace

void TTFoglio::MousePress(NotePart part, int x, int y) {
  pressed_ = true;
  pressedPart_ = part;
  SetCapture(hwnd());
  // The picture buttons answer a click (on release), not a press.
  if (part == NotePart::AlarmButton || part == NotePart::DeleteButton || part == NotePart::MinButton ||
      part == NotePart::MenuButton) {
    return;
  }
  SetEditing(true);
  const TSkinOptions& look = skin_.Options();
  Apply(mouse_.Press(look.MoveArea, look.Resizeable, x, y, Width(), Height()));
}

void TTFoglio::MouseMove(int x, int y) {
  // Moves that the window's own change of place or size causes are no moves of the user's.
  if (changingBox_) return;
  const TSkinOptions& look = skin_.Options();
  Apply(mouse_.Move(look.MoveArea, look.Resizeable, x, y, CurrentBox()));
}

void TTFoglio::MouseRelease() {
  const bool hadCapture = GetCapture() == hwnd();
  pressed_ = false;
  Apply(mouse_.Release());
  if (hadCapture) ReleaseCapture();
}

void TTFoglio::Apply(const NoteMouseEffect& effect) {
  if (effect.Cursor) ShowCursorOf(*effect.Cursor);
  if (effect.Box) {
    changingBox_ = true;
    MoveWindow(hwnd(), effect.Box->Left, effect.Box->Top, effect.Box->Width, effect.Box->Height, TRUE);
    changingBox_ = false;
  }
  if (effect.Relayout) LayoutFrame();
}

WindowBox TTFoglio::CurrentBox() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void TTFoglio::ShowCursorOf(ResizeCursor cursor) {
  cursor_ = cursor;
  POINT at{};
  GetCursorPos(&at);
  if (WindowFromPoint(at) == hwnd()) SetCursor(LoadCursorA(nullptr, CursorName(cursor)));
}

bool TTFoglio::SetCursorFor(HWND over, UINT hitTest) {
  if (over != hwnd() || hitTest != HTCLIENT) return false;
  SetCursor(LoadCursorA(nullptr, CursorName(cursor_)));
  return true;
}

void TTFoglio::TextBoxMouseMove(int x, int y) {
  if (mouse_.Dragging() || mouse_.Resizing()) return;
  // The edit box keeps its own cursor; the edges still follow the mouse.
  const TSkinOptions& look = skin_.Options();
  const NoteMouseEffect effect = mouse_.Move(look.MoveArea, look.Resizeable, x, y, CurrentBox());
  if (effect.Cursor) cursor_ = *effect.Cursor;
}

LRESULT CALLBACK TTFoglio::TextBoxProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  // The note handles the move in its own window procedure, where an error is caught and shown.
  if (msg == WM_MOUSEMOVE) SendMessageA(GetParent(hwnd), kTextBoxMouseMove, wp, lp);
  // The note's text menu replaces the edit box's own.
  if (msg == WM_CONTEXTMENU) return SendMessageA(GetParent(hwnd), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lp);
  const auto own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return CallWindowProcW(own, hwnd, msg, wp, lp);
}
