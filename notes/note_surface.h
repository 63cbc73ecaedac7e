#pragma once
// What a note window shows around its edit box: the six skin pictures, the window colour, the
// caption label, the separator line and the text label that stands in for the edit box while an
// Activable note is not edited. It knows where each part lies, so the window can hit-test mouse
// events, and paints all of it into one device context. Win32.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "look/skin.h"
#include "notes/note_text_box.h"

// The parts of the surface a mouse event can land on, topmost first.
enum class NotePart { Caption, AlarmButton, DeleteButton, MinButton, MenuButton, Title, Background, Window };

class NoteSurface {
 public:
  // Takes the skin's pictures (shared, not copied) and places them for the window's size.
  void ApplySkin(const TQuorSkin& skin, int width, int height);
  void PlacePictures(int width, int height);
  // Caption label, separator line and the alarm sign, as the skin says for a window `width` wide.
  void LayoutFrame(const TSkinOptions& look, int width, bool alarmOn);

  void SetWindowColor(COLORREF color) { windowColor_ = color; }
  void SetCaptionText(std::string text) { captionText_ = std::move(text); }
  const std::string& CaptionText() const { return captionText_; }
  void ShowTextLabel(std::string text);
  void HideTextLabel();
  bool TextLabelShown() const { return textLabelShown_; }

  bool PictureVisible(SkinElement element) const;
  const PixelRect& PictureRect(SkinElement element) const { return PictureOf(element).rect; }
  NotePart PartAt(int x, int y) const;
  // The top-left corner of a part in client pixels; mouse positions are taken relative to it.
  POINT PartOrigin(NotePart part) const;

  // The text label stands where the text box does, in its font and text colour.
  void Paint(HDC dc, int width, int height, const NoteTextBox& textBox) const;
  // WM_PAINT of the note window: the surface painted into a memory bitmap and copied to the
  // screen in one blit, so that resizing a stretched skin never shows a half-drawn window.
  void PaintWindow(HWND window, const NoteTextBox& textBox) const;

 private:
  // A picture of the skin as the note holds it: the skin's bitmap by reference and the
  // element's placement as it was when the skin was applied.
  struct Picture {
    SkinElement element;
    std::shared_ptr<const SkinBitmap> bitmap;
    TSkinImage image;
    PixelRect rect;
    bool visible = false;
  };
  Picture& PictureOf(SkinElement element) { return pictures_[static_cast<size_t>(element)]; }
  const Picture& PictureOf(SkinElement element) const { return pictures_[static_cast<size_t>(element)]; }
  void PlacePicture(Picture& picture, int width, int height) const;

  std::array<Picture, 6> pictures_{};
  COLORREF windowColor_ = 0;
  std::unique_ptr<SkinFont> captionFont_;
  tQuorFont captionFontSpec_;
  std::string captionText_;
  bool captionShown_ = false;
  RECT captionRect_{};
  bool bevelShown_ = false;
  int bevelTop_ = 0;
  bool textLabelShown_ = false;
  std::string textLabelText_;
};
