#pragma once
// A device-independent bitmap whose pixels the program reads or writes itself: any printer
// driver takes it, and its bits are at hand without GetDIBits.
#include <windows.h>

#include <utility>

#include "win/handles.h"

namespace win {

class DibSection {
 public:
  // Rows run from the top down unless `bottomUp`. Check with operator bool: a bitmap this large
  // may not be made.
  DibSection(int width, int height, WORD bitsPerPixel = 32, bool bottomUp = false) {
    info_.bmiHeader.biSize = sizeof info_.bmiHeader;
    info_.bmiHeader.biWidth = width;
    info_.bmiHeader.biHeight = bottomUp ? height : -height;
    info_.bmiHeader.biPlanes = 1;
    info_.bmiHeader.biBitCount = bitsPerPixel;
    info_.bmiHeader.biCompression = BI_RGB;
    bitmap_.reset(CreateDIBSection(nullptr, &info_, DIB_RGB_COLORS, &bits_, nullptr, 0));
  }

  explicit operator bool() const { return static_cast<bool>(bitmap_); }
  HBITMAP get() const { return bitmap_.get(); }
  void* Bits() const { return bits_; }
  const BITMAPINFO& Info() const { return info_; }
  // The bitmap, for whoever keeps it longer than this object.
  UniqueBitmap Take() {
    bits_ = nullptr;
    return std::move(bitmap_);
  }
  // Bytes from one row to the next: rows are padded to whole 32-bit words.
  int Stride() const { return (info_.bmiHeader.biWidth * info_.bmiHeader.biBitCount / 8 + 3) & ~3; }

 private:
  BITMAPINFO info_{};
  void* bits_ = nullptr;
  UniqueBitmap bitmap_;
};

}  // namespace win
