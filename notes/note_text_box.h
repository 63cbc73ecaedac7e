#pragma once
// The note's text: a real multi-line EDIT child of the note window, with the note's font and
// colours. It is the one place where text enters or leaves the edit box. It passes its mouse
// moves and its context menu on to the note window, which handles them with its own. Win32.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "look/skin_geometry.h"
#include "storage/font_value.h"
#include "win/handles.h"

// A colour as the note file holds it (system colours have the high bit set) on the screen.
COLORREF NoteColorRef(int32_t color);

class NoteTextBox {
 public:
  // The largest text the edit box takes, in characters.
  static constexpr int kCapacity = 1 << 20;
  // The most bytes a text file of such a text takes: no encoding of the text files needs more
  // than three bytes a character (UTF-8), and a byte-order mark.
  static constexpr uint64_t kCapacityInFileBytes = 3ULL * kCapacity + 3;
  // What the edit box sends its note for each of its mouse moves (the client position in lParam).
  static constexpr UINT kMouseMoveMessage = WM_APP + 2;

  // Made where it sits in the note: a note restored is laid out once.
  NoteTextBox(HWND note, const PixelRect& box);
  NoteTextBox(const NoteTextBox&) = delete;
  NoteTextBox& operator=(const NoteTextBox&) = delete;

  HWND hwnd() const { return edit_; }

  // The whole text, CR LF line ends.
  std::string Text() const;
  // Throws "Text exceeds memo capacity." for a text the box cannot take. The box reports no
  // change of a text set this way: the caller tells whoever counts changes.
  void SetText(const std::string& text);
  // The lines as the box shows them, wrapped at its width.
  std::vector<std::string> DisplayedLines() const;

  // Selects characters `start` to `end` (UTF-16 units, as the box counts) and shows them.
  void Select(size_t start, size_t end) const;
  // The box's own visibility: a hidden note's box still counts as showing.
  bool Visible() const;
  void Show(bool visible);
  void Place(const PixelRect& box);
  void SetBorder(bool line);

  void SetFont(const FontValue& font);
  HFONT Font() const { return font_.get(); }
  // The colour the text is drawn in, and the background the box shows (the note's own or the
  // blink's).
  void SetTextColor(int32_t color) { textColor_ = NoteColorRef(color); }
  COLORREF TextColor() const { return textColor_; }
  void ShowBackColor(int32_t color);
  int32_t ShownBackColor() const { return shownBackColor_; }
  COLORREF BackColor() const { return backColor_; }
  // WM_CTLCOLOREDIT: the colours into `dc`, the background brush back.
  LRESULT Colors(HDC dc) const;
  // Where the text label stands in for the box: from the box's top-left corner to the note's
  // bottom-right one, in the note's client pixels.
  RECT LabelRect() const;
  // Draws the box's text into `dc` where the box lies in the note's client area.
  void PrintInto(HDC dc) const;

  // The edit box's own commands, asked of it by message so that its undo buffer and the
  // clipboard work as in every other edit box.
  void Undo() const;
  void Cut() const;
  void Copy() const;
  void Paste() const;
  void Clear() const;
  void SelectAll() const;

  // The font a FontValue stands for; notes are laid out at 96 dpi and never rescaled.
  static LOGFONTW LogFontOf(const FontValue& font);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HWND edit_ = nullptr;  // a child: it goes with the note window
  PixelRect box_;
  win::UniqueFont font_;
  LOGFONTW logFont_{};
  COLORREF textColor_ = 0;
  int32_t shownBackColor_ = 0;
  COLORREF backColor_ = 0;
  win::UniqueBrush backBrush_;
};
