// How a note looks: the skin applied to the window and its parts, the pieces placed for its
// size, the frame laid out, and the font and colours the note file keeps.
#include "notes/note_window.h"

namespace {

FontValue FontOfSkin(const tQuorFont& font) {
  return {.name = font.Name, .size = font.Size, .bold = font.Bold, .italic = font.Italic,
          .underline = font.Underline, .strikeOut = false, .color = static_cast<int32_t>(SkinColor(font.Color))};
}

}  // namespace

void TTFoglio::ApplyNoteSkin() {
  const TSkinOptions& look = skin_.Options();
  const WindowBox box = Bounds();
  surface_.ApplySkin(skin_, box.Width, box.Height);
  SetTextFont(FontOfSkin(look.TextBox.Font));
  SetTextBackColor(static_cast<int32_t>(SkinColor(look.TextBox.BackColor)));
  textBox_.SetBorder(look.TextBox.Line);
  PlacePieces();
  SetWindowColor(static_cast<int32_t>(SkinColor(look.BackColor)));
  if (look.TextBox.BackColor >= 254) SetTextBackColor(data_.BackColor);
  LayoutFrame();
}

void TTFoglio::PlacePieces() {
  const WindowBox box = Bounds();
  surface_.PlacePictures(box.Width, box.Height);
  textBox_.Place(PlaceTextBox(skin_.Options(), box.Width, box.Height));
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void TTFoglio::LayoutFrame() {
  const TSkinOptions& look = skin_.Options();
  const LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
  constexpr LONG_PTR kToolFrame = WS_CAPTION | WS_THICKFRAME;
  LONG_PTR wanted = style;
  if (look.WindowTitle.Old) {
    wanted |= kToolFrame;
    win::SetTitle(hwnd(), look.WindowTitle.Standard ? look.WindowTitle.Title : data_.FileName);
  } else {
    wanted &= ~kToolFrame;
  }
  if (wanted != style) {
    SetWindowLongPtrA(hwnd(), GWL_STYLE, wanted);
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  surface_.LayoutFrame(look, Bounds().Width, alarm_.Active());
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void TTFoglio::SetTextFont(const FontValue& font) {
  data_.Font = font;
  textBox_.SetFont(font);
  NoteChanged();
}

void TTFoglio::SetTextBackColor(int32_t color) {
  // A colour the user picks while the note blinks is the one that stays.
  if (alarm_.Blinking()) alarm_.SetBlinking(false);
  data_.TextColor = color;
  textBox_.ShowBackColor(color);
  NoteChanged();
}

void TTFoglio::SetWindowColor(int32_t color) {
  data_.BackColor = color;
  surface_.SetWindowColor(NoteColorRef(color));
  InvalidateRect(hwnd(), nullptr, FALSE);
  NoteChanged();
}
