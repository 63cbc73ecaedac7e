#include "look/skin_geometry.h"

#include <algorithm>
#include <chrono>
#include <random>

const uint32_t SkinPalette[16] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

uint32_t SkinColorAt(int32_t index, uint32_t msSinceMidnight) {
  const uint32_t low = static_cast<uint32_t>(index) & 0xFFu;
  if (low < 16) return SkinPalette[low];
  // minstd_rand's sequence is fixed by the standard, so a time gives the same colour on every
  // platform; its seed must not be 0.
  std::minstd_rand generator(msSinceMidnight + 1);
  return SkinPalette[1 + generator() % 14];
}

uint32_t SkinColor(int32_t index) {
  // The seed only has to change from one draw to the next; the time of day in UTC does that.
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  return SkinColorAt(index, static_cast<uint32_t>(ms % 86'400'000));
}

int32_t ResolveSkinCoord(int32_t value, int32_t extent) {
  if (value < -20000) return extent;
  if (value < 0) return extent + value;
  return value;
}

TSkinRect MakeSkinRect(int32_t left, int32_t top, int32_t right, int32_t down) {
  TSkinRect rect;
  rect.Top = top;
  rect.Left = left;
  rect.Down = down;
  rect.Right = right;
  return rect;
}

TSkinRect ResolveSkinRect(const TSkinRect& rect, int32_t width, int32_t height) {
  return MakeSkinRect(ResolveSkinCoord(rect.Left, width), ResolveSkinCoord(rect.Top, height),
                      ResolveSkinCoord(rect.Right, width), ResolveSkinCoord(rect.Down, height));
}

bool PointInSkinRect(const TSkinRect& rect, int32_t x, int32_t y) {
  return rect.Left < x && x < rect.Right && rect.Top < y && y < rect.Down;
}

namespace {
// Edges given in the wrong order (or beyond a small window) would give a negative size, which
// mirrors a stretched picture; such an element simply takes no room.
int32_t Span(int32_t from, int32_t to) { return std::max(0, to - from); }
}  // namespace

PixelRect PlaceSkinImage(const TSkinImage& image, int32_t bitmapWidth, int32_t bitmapHeight,
                         int32_t width, int32_t height) {
  PixelRect place;
  place.Left = ResolveSkinCoord(image.Left, width);
  place.Top = ResolveSkinCoord(image.Top, height);
  if (image.Stretch) {
    place.Width = Span(place.Left, ResolveSkinCoord(image.StretchX, width));
    place.Height = Span(place.Top, ResolveSkinCoord(image.StretchY, height));
  } else {
    place.Width = std::max(0, bitmapWidth);
    place.Height = std::max(0, bitmapHeight);
  }
  return place;
}

PixelRect PlaceTextBox(const TSkinOptions& options, int32_t width, int32_t height) {
  const TSkinTextBox& box = options.TextBox;
  PixelRect place;
  place.Left = ResolveSkinCoord(box.Left, width);
  place.Top = ResolveSkinCoord(box.Top, height);
  place.Width = Span(place.Left, ResolveSkinCoord(box.Right, width));
  place.Height = Span(place.Top, ResolveSkinCoord(box.Down, height));
  return place;
}

int32_t CaptionWidth(const TSkinCaption& caption, int32_t width) {
  const int32_t right = caption.Right != 0 ? ResolveSkinCoord(caption.Right, width) : width;
  return Span(caption.Left, right);
}

std::string SkinFolderName(std::string_view skinName) {
  std::string lower(skinName);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  const auto cut = lower.find(".ini");
  return std::string(skinName.substr(0, cut == std::string::npos ? skinName.size() : cut));
}
