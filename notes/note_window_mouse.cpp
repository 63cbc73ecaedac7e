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

bool Contains(const PixelRect& r, int x, int y) {
  return x >= r.Left && x < r.Left + r.Width && y >= r.Top && y < r.Top + r.Height;
}

}  // namespace

TTFoglio::Part TTFoglio::PartAt(int x, int y) const {
  if (captionShown_ && x >= captionRect_.left && x < captionRect_.right && y >= captionRect_.top &&
      y < captionRect_.bottom) {
    return Part::Caption;
  }
  constexpr std::pair<Part, SkinElement> kPictureParts[] = {
      {Part::AlarmButton, SkinElement::Alarm}, {Part::DeleteButton, SkinElement::Delete},
      {Part::MinButton, SkinElement::Min},     {Part::MenuButton, SkinElement::Menu},
      {Part::Title, SkinElement::Title},       {Part::Background, SkinElement::Background}};
  for (const auto& [part, element] : kPictureParts) {
    const Picture& picture = PictureOf(element);
    if (picture.visible && picture.bitmap && Contains(picture.rect, x, y)) return part;
  }
  return Part::Window;
}

POINT TTFoglio::PartOrigin(Part part) const {
  switch (part) {
    case Part::Caption:
      return {captionRect_.left, captionRect_.top};
    case Part::AlarmButton:
      return {PictureOf(SkinElement::Alarm).rect.Left, PictureOf(SkinElement::Alarm).rect.Top};
    case Part::DeleteButton:
      return {PictureOf(SkinElement::Delete).rect.Left, PictureOf(SkinElement::Delete).rect.Top};
    case Part::MinButton:
      return {PictureOf(SkinElement::Min).rect.Left, PictureOf(SkinElement::Min).rect.Top};
    case Part::MenuButton:
      return {PictureOf(SkinElement::Menu).rect.Left, PictureOf(SkinElement::Menu).rect.Top};
    case Part::Title:
      return {PictureOf(SkinElement::Title).rect.Left, PictureOf(SkinElement::Title).rect.Top};
    case Part::Background:
      return {PictureOf(SkinElement::Background).rect.Left, PictureOf(SkinElement::Background).rect.Top};
    case Part::Window:
      break;
  }
  return {0, 0};
}

void TTFoglio::MousePress(Part part, int x, int y) {
  pressed_ = true;
  pressedPart_ = part;
  SetCapture(hwnd());
  // The picture buttons answer a click (on release), not a press.
  if (part == Part::AlarmButton || part == Part::DeleteButton || part == Part::MinButton ||
      part == Part::MenuButton) {
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

void TTFoglio::PictureClicked(Part part) {
  switch (part) {
    case Part::MinButton:
      SetShown(false);
      break;
    case Part::DeleteButton:
      CloseNote();
      break;
    default:
      break;
  }
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
  const auto own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return CallWindowProcW(own, hwnd, msg, wp, lp);
}
