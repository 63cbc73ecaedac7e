#pragma once
// Writes small 24-bit BMP files for tests that need real skin pictures on disk.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace test_bmp {

using PixelAt = std::function<COLORREF(int x, int y)>;

// A 24-bit BMP file; pixel (0, 0) is the top-left one.
inline std::string BmpFile(int width, int height, const PixelAt& pixel) {
  const int stride = (width * 3 + 3) & ~3;
  const auto imageSize = static_cast<uint32_t>(stride * height);
  std::string file;
  auto put16 = [&](uint16_t v) { file.append(reinterpret_cast<const char*>(&v), 2); };
  auto put32 = [&](uint32_t v) { file.append(reinterpret_cast<const char*>(&v), 4); };
  file += "BM";
  put32(54 + imageSize);
  put32(0);
  put32(54);
  put32(40);
  put32(static_cast<uint32_t>(width));
  put32(static_cast<uint32_t>(height));
  put16(1);
  put16(24);
  put32(0);
  put32(imageSize);
  put32(2835);
  put32(2835);
  put32(0);
  put32(0);
  for (int y = height - 1; y >= 0; --y) {  // bottom row first
    std::string row;
    for (int x = 0; x < width; ++x) {
      const COLORREF c = pixel(x, y);
      row += static_cast<char>(GetBValue(c));
      row += static_cast<char>(GetGValue(c));
      row += static_cast<char>(GetRValue(c));
    }
    row.resize(static_cast<size_t>(stride), '\0');
    file += row;
  }
  return file;
}

}  // namespace test_bmp
