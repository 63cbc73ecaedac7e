// How a note looks: the skin applied to the window, the pieces placed for its size, and the
// surface painted into a memory bitmap and copied to the screen in one blit, so that
// resizing a stretched skin never shows a half-drawn window.
#include "notes/note_window.h"

#include <utility>

namespace {

FontValue FontOfSkin(const tQuorFont& font) {
  FontValue value;
  value.name = font.Name;
  value.size = font.Size;
  value.bold = font.Bold;
  value.italic = font.Italic;
  value.underline = font.Underline;
  value.strikeOut = false;
  value.color = static_cast<int32_t>(SkinColor(font.Color));
  return value;
}

}  // namespace

COLORREF TTFoglio::ToColorRef(int32_t color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

void TTFoglio::ApplyNoteSkin() {
  const TSkinOptions& look = skin_.Options();
  surface_.ApplySkin(skin_, Width(), Height());
  SetTextFont(FontOfSkin(look.TextBox.Font));
  SetTextBackColor(static_cast<int32_t>(SkinColor(look.TextBox.BackColor)));
  SetTextBoxBorder(look.TextBox.Line);
  PlacePieces();
  SetWindowColor(static_cast<int32_t>(SkinColor(look.BackColor)));
  if (look.TextBox.BackColor >= 254) SetTextBackColor(data_.BackColor);
  LayoutFrame();
}

void TTFoglio::PlacePieces() {
  if (text_ == nullptr) return;  // sized while it is being created, before its pieces exist
  surface_.PlacePictures(Width(), Height());
  const PixelRect box = PlaceTextBox(skin_.Options(), Width(), Height());
  SetWindowPos(text_, nullptr, box.Left, box.Top, box.Width, box.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void TTFoglio::LayoutFrame() {
  const TSkinOptions& look = skin_.Options();
  const LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
  constexpr LONG_PTR kToolFrame = WS_CAPTION | WS_THICKFRAME;
  LONG_PTR wanted = style;
  if (look.WindowTitle.Old) {
    wanted |= kToolFrame;
    SetWindowTextA(hwnd(), look.WindowTitle.Standard ? look.WindowTitle.Title.c_str() : data_.FileName.c_str());
  } else {
    wanted &= ~kToolFrame;
  }
  if (wanted != style) {
    SetWindowLongPtrA(hwnd(), GWL_STYLE, wanted);
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  surface_.LayoutFrame(look, Width(), AlarmOn());
  InvalidateRect(hwnd(), nullptr, FALSE);
}

LOGFONTA TTFoglio::TextLogFont(const FontValue& font) {
  LOGFONTA log{};
  // Notes are laid out at 96 dpi and never rescaled.
  log.lfHeight = -MulDiv(font.size, 96, 72);
  log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  log.lfItalic = font.italic;
  log.lfUnderline = font.underline;
  log.lfStrikeOut = font.strikeOut;
  log.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(log.lfFaceName, font.name.c_str(), LF_FACESIZE);
  return log;
}

void TTFoglio::SetTextFont(const FontValue& font) {
  data_.Font = font;
  const LOGFONTA log = TextLogFont(font);
  win::UniqueFont made(CreateFontIndirectA(&log));
  // The edit box lets go of the old font before it is released.
  SendMessageA(text_, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
  textFont_ = std::move(made);
  NoteChanged();
}

void TTFoglio::SetTextBackColor(int32_t color) {
  // A colour the user picks while the note blinks is the one that stays.
  if (blink_.Blinking()) SetBlinking(false);
  data_.TextColor = color;
  ShowTextBackColor(color);
  NoteChanged();
}

void TTFoglio::ShowTextBackColor(int32_t color) {
  shownTextBackColor_ = color;
  textBackColor_ = ToColorRef(color);
  textBackBrush_.reset(CreateSolidBrush(textBackColor_));
  InvalidateRect(text_, nullptr, TRUE);
}

void TTFoglio::SetWindowColor(int32_t color) {
  data_.BackColor = color;
  surface_.SetWindowColor(ToColorRef(color));
  InvalidateRect(hwnd(), nullptr, FALSE);
  NoteChanged();
}

void TTFoglio::SetTextBoxBorder(bool line) {
  const LONG_PTR style = GetWindowLongPtrA(text_, GWL_STYLE);
  const LONG_PTR wanted = line ? style | WS_BORDER : style & ~static_cast<LONG_PTR>(WS_BORDER);
  if (wanted == style) return;
  SetWindowLongPtrA(text_, GWL_STYLE, wanted);
  SetWindowPos(text_, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TTFoglio::TextBoxColors(HDC dc) const {
  SetTextColor(dc, ToColorRef(data_.Font.color));
  SetBkColor(dc, textBackColor_);
  return reinterpret_cast<LRESULT>(textBackBrush_.get());
}

RECT TTFoglio::TextLabelRect() const {
  RECT box{};
  GetWindowRect(text_, &box);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&box), 2);
  RECT client{};
  GetClientRect(hwnd(), &client);
  return {box.left, box.top, client.right, client.bottom};
}

void TTFoglio::PaintClientArea(HDC dc, int width, int height) const {
  surface_.Paint(dc, width, height, textFont_.get(), ToColorRef(data_.Font.color), TextLabelRect());
}

void TTFoglio::Paint() {
  const win::PaintDc paint(hwnd());
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return;
  win::UniqueMemoryDc memory(CreateCompatibleDC(paint.get()));
  win::UniqueBitmap picture(CreateCompatibleBitmap(paint.get(), width, height));
  if (!memory || !picture) return;
  const win::SelectedObject selected(memory.get(), picture.get());
  PaintClientArea(memory.get(), width, height);
  BitBlt(paint.get(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}
