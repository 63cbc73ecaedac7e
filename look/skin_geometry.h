#pragma once
// Colours and coordinates of a skin, resolved against a note window's current size.

#include <cstdint>
#include <string>
#include <string_view>

#include "look/skin_options.h"

// 0x00BBGGRR, the layout of a Windows COLORREF.
extern const uint32_t SkinPalette[16];

// Low 8 bits of `index`: 0..15 give the palette entry, 16..255 a random entry among 1..14
// (never black or white), drawn afresh from the time of day on every call.
uint32_t SkinColor(int32_t index);
// The same with the time of day given: equal times give equal colours.
uint32_t SkinColorAt(int32_t index, uint32_t msSinceMidnight);

// Below -20000: the extent itself; -20000..-1: counted back from the extent; else unchanged.
int32_t ResolveSkinCoord(int32_t value, int32_t extent);

TSkinRect MakeSkinRect(int32_t left, int32_t top, int32_t right, int32_t down);
// Left/Right resolved against the width, Top/Down against the height.
TSkinRect ResolveSkinRect(const TSkinRect& rect, int32_t width, int32_t height);
// Strictly inside: a point on an edge is outside, so an all-zero rect contains nothing.
bool PointInSkinRect(const TSkinRect& rect, int32_t x, int32_t y);

struct PixelRect {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const PixelRect&) const = default;
};

// Where a picture element sits in a window of `width` x `height`: stretched between its edges,
// otherwise at the bitmap's own size. A size never comes out negative.
PixelRect PlaceSkinImage(const TSkinImage& image, int32_t bitmapWidth, int32_t bitmapHeight,
                         int32_t width, int32_t height);
// Where the edit box sits in a window of `width` x `height`.
PixelRect PlaceTextBox(const TSkinOptions& options, int32_t width, int32_t height);

// Width of the caption label (which sits at Caption.Left, Caption.Top in plain pixels) in a
// window `width` pixels wide: up to the resolved Caption.Right, or to the window's right edge
// when that is 0. Never negative.
int32_t CaptionWidth(const TSkinCaption& caption, int32_t width);

// "Blue.INI" -> "Blue": the name is cut before the first ".ini", whatever its case.
std::string SkinFolderName(std::string_view skinName);
