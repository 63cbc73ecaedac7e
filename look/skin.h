#pragma once
// The skin object of the program: the values of "skin.ini" and its six bitmaps, loaded once and
// shared by every note window. Win32 only.

#include <windows.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <string>

#include "look/skin_geometry.h"
#include "look/skin_options.h"
#include "look/sound_events.h"
#include "win/handles.h"

class EQuorSkinError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An immutable bitmap shared by reference: the skin and every note window hold shared_ptrs,
// nobody copies pixels. Its transparent colour is the colour of its lower-left pixel.
class SkinBitmap {
 public:
  // Loads a BMP file as a DIB section; EQuorSkinError when the file is not a readable BMP.
  static std::shared_ptr<const SkinBitmap> LoadFromFile(const std::string& path);
  // Takes ownership of `bitmap` (which must be valid).
  explicit SkinBitmap(HBITMAP bitmap);

  HBITMAP Handle() const { return handle_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  COLORREF TransparentColor() const { return transparent_; }

 private:
  win::UniqueBitmap handle_;
  int width_ = 0, height_ = 0;
  COLORREF transparent_ = 0;
};

// Draws `bitmap` into `dest` on `dc`: stretched to dest when `stretch`, else at its own size at
// dest's top-left; with `transparent` the bitmap's transparent colour is left out.
void DrawSkinBitmap(HDC dc, const SkinBitmap& bitmap, const PixelRect& dest, bool stretch,
                    bool transparent);

// A GDI font made from a skin font: face, size in points at 96 dpi, underline/bold/italic, and
// its text colour SkinColor(font.Color) (drawn once, when the font is made).
class SkinFont {
 public:
  explicit SkinFont(const tQuorFont& font);

  HFONT Handle() const { return handle_.get(); }
  COLORREF Color() const { return color_; }

 private:
  win::UniqueFont handle_;
  COLORREF color_;
};

// Fills a LOGFONTA the way SkinFont makes its font (for callers that keep their own font).
LOGFONTA SkinLogFont(const tQuorFont& font);

class TQuorSkin {
 public:
  // `baseFolder` empty: the folder of the program file. Raises EQuorSkinError when "skin.ini"
  // or a bitmap it names is missing or unreadable.
  explicit TQuorSkin(std::string skinName, std::string baseFolder = {});
  // Loads another skin into this object. On failure it raises EQuorSkinError and keeps the skin
  // it had (name, paths, values and pictures), so notes can go on using it.
  void ReloadSkin(std::string skinName, std::string baseFolder = {});

  const std::string& Name() const { return state_.name; }
  const std::string& SkinFolder() const { return state_.folder; }
  const std::string& SkinIniPath() const { return state_.iniPath; }
  const TSkinOptions& Options() const { return state_.options; }
  // Null when the skin names no file for the element.
  std::shared_ptr<const SkinBitmap> Bitmap(SkinElement element) const;
  // The sounds the notes and the controller play. Read from the registry once, when the skin is
  // made; a reload keeps them.
  tQuorEvent& Events() { return events_; }

 private:
  struct State {
    std::string name, folder, iniPath;
    TSkinOptions options;
    std::array<std::shared_ptr<const SkinBitmap>, 6> bitmaps;
  };
  static State Load(std::string skinName, std::string baseFolder);
  State state_;
  // After the state: a skin that fails to load registers no sounds.
  tQuorEvent events_{false};
};
