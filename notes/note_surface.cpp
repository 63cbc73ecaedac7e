#include "notes/note_surface.h"

#include <utility>

#include "win/unicode.h"

namespace {

// Paint order, bottom to top; also the order the skin is applied in.
constexpr SkinElement kPaintOrder[] = {SkinElement::Background, SkinElement::Title, SkinElement::Menu,
                                       SkinElement::Min,        SkinElement::Delete, SkinElement::Alarm};

// Hit-test order of the pictures, topmost first.
constexpr std::pair<NotePart, SkinElement> kPictureParts[] = {
    {NotePart::AlarmButton, SkinElement::Alarm}, {NotePart::DeleteButton, SkinElement::Delete},
    {NotePart::MinButton, SkinElement::Min},     {NotePart::MenuButton, SkinElement::Menu},
    {NotePart::Title, SkinElement::Title},       {NotePart::Background, SkinElement::Background}};

bool SameFont(const tQuorFont& a, const tQuorFont& b) {
  return a.Name == b.Name && a.Size == b.Size && a.Underline == b.Underline && a.Bold == b.Bold &&
         a.Italic == b.Italic && a.Color == b.Color;
}

bool Contains(const PixelRect& r, int x, int y) {
  return x >= r.Left && x < r.Left + r.Width && y >= r.Top && y < r.Top + r.Height;
}

}  // namespace

void NoteSurface::ApplySkin(const TQuorSkin& skin, int width, int height) {
  for (SkinElement element : kPaintOrder) {
    Picture& picture = PictureOf(element);
    picture.element = element;
    picture.bitmap = skin.Bitmap(element);
    picture.image = skin.Options().Image(element);
    picture.visible = picture.image.Present && picture.bitmap != nullptr;
    PlacePicture(picture, width, height);
  }
}

void NoteSurface::PlacePictures(int width, int height) {
  for (SkinElement element : kPaintOrder) PlacePicture(PictureOf(element), width, height);
}

void NoteSurface::PlacePicture(Picture& picture, int width, int height) const {
  const int bitmapWidth = picture.bitmap ? picture.bitmap->Width() : 0;
  const int bitmapHeight = picture.bitmap ? picture.bitmap->Height() : 0;
  picture.rect = PlaceSkinImage(picture.image, bitmapWidth, bitmapHeight, width, height);
}

void NoteSurface::LayoutFrame(const TSkinOptions& look, int width, bool alarmOn) {
  captionShown_ = look.Caption.Active;
  if (captionShown_) {
    if (!captionFont_ || !SameFont(captionFontSpec_, look.Caption.Font)) {
      captionFont_ = std::make_unique<SkinFont>(look.Caption.Font);
      captionFontSpec_ = look.Caption.Font;
    }
    const win::WindowDc screen;
    TEXTMETRICA metrics{};
    {
      const win::SelectedObject font(screen.get(), captionFont_->Handle());
      GetTextMetricsA(screen.get(), &metrics);
    }
    captionRect_ = {look.Caption.Left, look.Caption.Top, look.Caption.Left + CaptionWidth(look.Caption, width),
                    look.Caption.Top + metrics.tmHeight};
  } else {
    captionFont_.reset();
  }
  bevelShown_ = look.BevelVisible;
  bevelTop_ = look.BevelTop;
  Picture& alarm = PictureOf(SkinElement::Alarm);
  alarm.visible = alarmOn && alarm.image.Present && alarm.bitmap != nullptr;
}

void NoteSurface::ShowTextLabel(std::string text) {
  textLabelText_ = std::move(text);
  textLabelShown_ = true;
}

void NoteSurface::HideTextLabel() { textLabelShown_ = false; }

bool NoteSurface::PictureVisible(SkinElement element) const {
  const Picture& picture = PictureOf(element);
  return picture.visible && picture.bitmap != nullptr;
}

NotePart NoteSurface::PartAt(int x, int y) const {
  if (captionShown_ && x >= captionRect_.left && x < captionRect_.right && y >= captionRect_.top &&
      y < captionRect_.bottom) {
    return NotePart::Caption;
  }
  for (const auto& [part, element] : kPictureParts) {
    if (PictureVisible(element) && Contains(PictureOf(element).rect, x, y)) return part;
  }
  return NotePart::Window;
}

POINT NoteSurface::PartOrigin(NotePart part) const {
  if (part == NotePart::Caption) return {captionRect_.left, captionRect_.top};
  for (const auto& [picturePart, element] : kPictureParts) {
    if (picturePart == part) return {PictureOf(element).rect.Left, PictureOf(element).rect.Top};
  }
  return {0, 0};
}

void NoteSurface::PaintWindow(HWND window, const NoteTextBox& textBox) const {
  const win::PaintDc paint(window);
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return;
  const win::UniqueMemoryDc memory(CreateCompatibleDC(paint.get()));
  const win::UniqueBitmap picture(CreateCompatibleBitmap(paint.get(), width, height));
  if (!memory || !picture) return;
  const win::SelectedObject selected(memory.get(), picture.get());
  Paint(memory.get(), width, height, textBox);
  BitBlt(paint.get(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

void NoteSurface::Paint(HDC dc, int width, int height, const NoteTextBox& textBox) const {
  const RECT all{0, 0, width, height};
  const win::UniqueBrush back(CreateSolidBrush(windowColor_));
  FillRect(dc, &all, back.get());

  for (SkinElement element : kPaintOrder) {
    const Picture& picture = PictureOf(element);
    if (PictureVisible(element)) {
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
    DrawTextW(dc, win::Wide(captionText_).c_str(), -1, &r,
              DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS | DT_LEFT | DT_TOP);
  }

  if (textLabelShown_) {
    const win::SelectedObject font(dc, textBox.Font());
    SetTextColor(dc, textBox.TextColor());
    RECT r = textBox.LabelRect();
    DrawTextW(dc, win::Wide(textLabelText_).c_str(), -1, &r,
              DT_NOPREFIX | DT_NOCLIP | DT_EXPANDTABS | DT_LEFT | DT_TOP);
  }
}
