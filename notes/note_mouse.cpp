#include "notes/note_mouse.h"

#include <windowsx.h>

namespace {

LPCSTR CursorName(ResizeCursor cursor) {
  switch (cursor) {
    case ResizeCursor::WestEast: return IDC_SIZEWE;
    case ResizeCursor::NorthSouth: return IDC_SIZENS;
    case ResizeCursor::NorthWestSouthEast: return IDC_SIZENWSE;
    case ResizeCursor::NorthEastSouthWest: return IDC_SIZENESW;
    case ResizeCursor::Arrow: break;
  }
  return IDC_ARROW;
}

// The picture buttons answer a click (on release), not a press.
bool IsButton(NotePart part) {
  return part == NotePart::AlarmButton || part == NotePart::DeleteButton || part == NotePart::MinButton ||
         part == NotePart::MenuButton;
}

}  // namespace

std::optional<NoteMouse::Outcome> NoteMouse::Handle(UINT msg, WPARAM wp, LPARAM lp, const TSkinOptions& look) {
  const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const NotePart part = surface_.PartAt(x, y);
      const POINT origin = surface_.PartOrigin(part);
      return Press(part, x - origin.x, y - origin.y, look);
    }
    case WM_MOUSEMOVE: {
      const POINT origin = surface_.PartOrigin(pressed_ ? pressedPart_ : surface_.PartAt(x, y));
      return Move(x - origin.x, y - origin.y, look);
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const bool wasPressed = pressed_;
      const NotePart part = pressedPart_;
      Outcome outcome = Release();
      if (wasPressed && surface_.PartAt(x, y) == part) {
        if (msg == WM_LBUTTONUP) outcome.Clicked = part;
        if (msg == WM_RBUTTONUP) outcome.ContextMenu = part;
      }
      return outcome;
    }
    case WM_CAPTURECHANGED:
      // Another window took the mouse (a menu, a message box): the press is over.
      if (reinterpret_cast<HWND>(lp) != window_ && pressed_) {
        pressed_ = false;
        state_.Release();
      }
      return Outcome{};
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) != window_ || LOWORD(lp) != HTCLIENT) return std::nullopt;
      SetCursor(LoadCursorA(nullptr, CursorName(cursor_)));
      return Outcome{.Result = TRUE};
    default:
      return std::nullopt;
  }
}

NoteMouse::Outcome NoteMouse::Press(NotePart part, int x, int y, const TSkinOptions& look) {
  pressed_ = true;
  pressedPart_ = part;
  SetCapture(window_);
  if (IsButton(part)) return {};
  const WindowBox box = BoundsOf(window_);
  Outcome outcome = Apply(state_.Press(look.MoveArea, look.Resizeable, x, y, box.Width, box.Height));
  outcome.StartEditing = true;
  return outcome;
}

NoteMouse::Outcome NoteMouse::Move(int x, int y, const TSkinOptions& look) {
  // Moves that the window's own change of place or size causes are no moves of the user's.
  if (changingBox_) return {};
  return Apply(state_.Move(look.MoveArea, look.Resizeable, x, y, BoundsOf(window_)));
}

NoteMouse::Outcome NoteMouse::Release() {
  const bool hadCapture = GetCapture() == window_;
  pressed_ = false;
  Outcome outcome = Apply(state_.Release());
  if (hadCapture) ReleaseCapture();
  return outcome;
}

NoteMouse::Outcome NoteMouse::Apply(const NoteMouseEffect& effect) {
  if (effect.Cursor) ShowCursorOf(*effect.Cursor);
  if (effect.Box) {
    changingBox_ = true;
    MoveWindow(window_, effect.Box->Left, effect.Box->Top, effect.Box->Width, effect.Box->Height, TRUE);
    changingBox_ = false;
  }
  return {.Relayout = effect.Relayout};
}

void NoteMouse::TextBoxMove(int x, int y, const TSkinOptions& look) {
  if (state_.Dragging() || state_.Resizing()) return;
  const NoteMouseEffect effect = state_.Move(look.MoveArea, look.Resizeable, x, y, BoundsOf(window_));
  if (effect.Cursor) cursor_ = *effect.Cursor;
}

WindowBox BoundsOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void NoteMouse::ShowCursorOf(ResizeCursor cursor) {
  cursor_ = cursor;
  POINT at{};
  GetCursorPos(&at);
  if (WindowFromPoint(at) == window_) SetCursor(LoadCursorA(nullptr, CursorName(cursor)));
}
