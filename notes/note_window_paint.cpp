// How a note looks: the skin applied to the window, the pieces placed for its size, and the
// surface painted into a memory bitmap and copied to the screen in one blit, so that
// resizing a stretched skin never shows a half-drawn window.
#include "notes/note_window.h"

#include <utility>

namespace {

// Paint order, bottom to top; also the order the skin is applied in.
constexpr SkinElement kPaintOrder[] = {SkinElement::Background, SkinElement::Title, SkinElement::Menu,
                                       SkinElement::Min,        SkinElement::Delete, SkinElement::Alarm};

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

bool SameFont(const tQuorFont& a, const tQuorFont& b) {
  return a.Name == b.Name && a.Size == b.Size && a.Underline == b.Underline && a.Bold == b.Bold &&
         a.Italic == b.Italic && a.Color == b.Color;
}

RECT WindowBounds(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

}  // namespace

COLORREF TTFoglio::ToColorRef(int32_t color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

TTFoglio::Picture& TTFoglio::PictureOf(SkinElement element) {
  return pictures_[static_cast<size_t>(element)];
}

const TTFoglio::Picture& TTFoglio::PictureOf(SkinElement element) const {
  return pictures_[static_cast<size_t>(element)];
}

void TTFoglio::ApplyNoteSkin() {
  const TSkinOptions& look = skin_.Options();
  for (SkinElement element : kPaintOrder) {
    Picture& picture = PictureOf(element);
    picture.element = element;
    ApplyPicture(picture);
  }
  SetTextFont(FontOfSkin(look.TextBox.Font));
  SetTextBackColor(static_cast<int32_t>(SkinColor(look.TextBox.BackColor)));
  SetTextBoxBorder(look.TextBox.Line);
  PlacePieces();
  SetWindowColor(static_cast<int32_t>(SkinColor(look.BackColor)));
  if (look.TextBox.BackColor >= 254) SetTextBackColor(data_.BackColor);
  LayoutFrame();
}

void TTFoglio::ApplyPicture(Picture& picture) {
  picture.bitmap = skin_.Bitmap(picture.element);
  picture.image = skin_.Options().Image(picture.element);
  picture.visible = picture.image.Present && picture.bitmap != nullptr;
  PlacePicture(picture);
}

void TTFoglio::PlacePicture(Picture& picture) const {
  const RECT bounds = WindowBounds(hwnd());
  const int bitmapWidth = picture.bitmap ? picture.bitmap->Width() : 0;
  const int bitmapHeight = picture.bitmap ? picture.bitmap->Height() : 0;
  picture.rect = PlaceSkinImage(picture.image, bitmapWidth, bitmapHeight, bounds.right - bounds.left,
                                bounds.bottom - bounds.top);
}

void TTFoglio::PlacePieces() {
  if (text_ == nullptr) return;  // sized while it is being created, before its pieces exist
  for (SkinElement element : kPaintOrder) PlacePicture(PictureOf(element));
  const RECT bounds = WindowBounds(hwnd());
  const PixelRect box = PlaceTextBox(skin_.Options(), bounds.right - bounds.left, bounds.bottom - bounds.top);
  SetWindowPos(text_, nullptr, box.Left, box.Top, box.Width, box.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void TTFoglio::LayoutFrame() {
  const TSkinOptions& look = skin_.Options();
  const RECT bounds = WindowBounds(hwnd());
  const int width = bounds.right - bounds.left;

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

  captionShown_ = look.Caption.Active;
  if (captionShown_) {
    if (!captionFont_ || !SameFont(captionFontSpec_, look.Caption.Font)) {
      captionFont_ = std::make_unique<SkinFont>(look.Caption.Font);
      captionFontSpec_ = look.Caption.Font;
    }
    HDC screen = GetDC(nullptr);
    TEXTMETRICA metrics{};
    {
      const win::SelectedObject font(screen, captionFont_->Handle());
      GetTextMetricsA(screen, &metrics);
    }
    ReleaseDC(nullptr, screen);
    captionRect_ = {look.Caption.Left, look.Caption.Top, look.Caption.Left + CaptionWidth(look.Caption, width),
                    look.Caption.Top + metrics.tmHeight};
  } else {
    captionFont_.reset();
  }

  bevelShown_ = look.BevelVisible;
  bevelTop_ = look.BevelTop;
  PictureOf(SkinElement::Alarm).visible = data_.Alarm.Active && PictureOf(SkinElement::Alarm).bitmap != nullptr;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void TTFoglio::SetTextFont(const FontValue& font) {
  data_.Font = font;
  LOGFONTA log{};
  // Notes are laid out at 96 dpi and never rescaled.
  log.lfHeight = -MulDiv(font.size, 96, 72);
  log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  log.lfItalic = font.italic;
  log.lfUnderline = font.underline;
  log.lfStrikeOut = font.strikeOut;
  log.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(log.lfFaceName, font.name.c_str(), LF_FACESIZE);
  win::UniqueFont made(CreateFontIndirectA(&log));
  // The edit box lets go of the old font before it is released.
  SendMessageA(text_, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
  textFont_ = std::move(made);
}

void TTFoglio::SetTextBackColor(int32_t color) {
  data_.TextColor = color;
  textBackColor_ = ToColorRef(color);
  textBackBrush_.reset(CreateSolidBrush(textBackColor_));
  InvalidateRect(text_, nullptr, TRUE);
}

void TTFoglio::SetWindowColor(int32_t color) {
  data_.BackColor = color;
  windowColor_ = ToColorRef(color);
  InvalidateRect(hwnd(), nullptr, FALSE);
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

void TTFoglio::Paint() {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd(), &ps);
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int width = client.right, height = client.bottom;
  if (width > 0 && height > 0) {
    win::UniqueMemoryDc memory(CreateCompatibleDC(dc));
    win::UniqueBitmap surface(CreateCompatibleBitmap(dc, width, height));
    if (memory && surface) {
      const win::SelectedObject selected(memory.get(), surface.get());
      PaintSurface(memory.get(), width, height);
      BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
    }
  }
  EndPaint(hwnd(), &ps);
}

void TTFoglio::PaintSurface(HDC dc, int width, int height) const {
  const RECT all{0, 0, width, height};
  const win::UniqueBrush back(CreateSolidBrush(windowColor_));
  FillRect(dc, &all, back.get());

  for (SkinElement element : kPaintOrder) {
    const Picture& picture = PictureOf(element);
    if (picture.visible && picture.bitmap) {
      DrawSkinBitmap(dc, *picture.bitmap, picture.rect, picture.image.Stretch, picture.image.Transparent);
    }
  }

  if (bevelShown_) {
    // A lowered line along the top edge of the separator: shadow over highlight.
    const win::UniquePen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    const win::UniquePen light(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
    {
      const win::SelectedObject pen(dc, shadow.get());
      MoveToEx(dc, 0, bevelTop_, nullptr);
      LineTo(dc, width, bevelTop_);
    }
    const win::SelectedObject pen(dc, light.get());
    MoveToEx(dc, 0, bevelTop_ + 1, nullptr);
    LineTo(dc, width, bevelTop_ + 1);
  }

  SetBkMode(dc, TRANSPARENT);
  if (captionShown_ && captionFont_) {
    const win::SelectedObject font(dc, captionFont_->Handle());
    SetTextColor(dc, RGB(0, 0, 0));
    RECT r = captionRect_;
    DrawTextA(dc, captionText_.c_str(), static_cast<int>(captionText_.size()), &r,
              DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS | DT_LEFT | DT_TOP);
  }

  if (textLabelShown_) {
    const win::SelectedObject font(dc, textFont_.get());
    SetTextColor(dc, ToColorRef(data_.Font.color));
    RECT r = TextLabelRect();
    DrawTextA(dc, textLabelText_.c_str(), static_cast<int>(textLabelText_.size()), &r,
              DT_NOPREFIX | DT_NOCLIP | DT_EXPANDTABS | DT_LEFT | DT_TOP);
  }
}
