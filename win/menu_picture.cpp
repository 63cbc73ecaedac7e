#include "win/menu_picture.h"

#include <cstdint>

#include "win/dib_section.h"

win::UniqueBitmap FlattenMenuPicture(HBITMAP picture, COLORREF background) {
  DIBSECTION source{};
  if (GetObjectA(picture, sizeof source, &source) != sizeof source || source.dsBm.bmBitsPixel != 32 ||
      !source.dsBm.bmBits)
    return {};
  const int width = source.dsBm.bmWidth, height = source.dsBm.bmHeight;

  // In the source's row order.
  win::DibSection flat(width, height, 24, source.dsBmih.biHeight > 0);
  if (!flat) return {};

  GdiFlush();
  const auto* in = static_cast<const uint8_t*>(source.dsBm.bmBits);
  auto* out = static_cast<uint8_t*>(flat.Bits());
  const int inStride = source.dsBm.bmWidthBytes, outStride = flat.Stride();
  const uint8_t back[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = in + y * inStride + x * 4;
      uint8_t* q = out + y * outStride + x * 3;
      const int transparency = 255 - p[3];
      for (int c = 0; c < 3; ++c) {
        const int value = p[c] + (back[c] * transparency + 127) / 255;
        q[c] = static_cast<uint8_t>(value > 255 ? 255 : value);
      }
    }
  }
  return flat.Take();
}

win::UniqueBitmap LoadMenuPicture(HINSTANCE instance, int id) {
  const win::UniqueBitmap picture(static_cast<HBITMAP>(
      LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!picture) return {};
  return FlattenMenuPicture(picture.get(), GetSysColor(COLOR_MENU));
}
