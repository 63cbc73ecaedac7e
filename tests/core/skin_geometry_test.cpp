#include <gtest/gtest.h>

#include <set>

#include "look/skin_geometry.h"
#include "tests/core/skin_test_profile.h"

namespace {

TEST(SkinColorTest, FixedEntriesUseTheLowEightBits) {
  EXPECT_EQ(SkinColorAt(0, 5), 0x000000u);
  EXPECT_EQ(SkinColorAt(11, 5), 0x00FFFFu);
  EXPECT_EQ(SkinColorAt(12, 5), 0xFF0000u);
  EXPECT_EQ(SkinColorAt(15, 5), 0xFFFFFFu);
  EXPECT_EQ(SkinColorAt(256 + 9, 5), 0x0000FFu);
  EXPECT_EQ(SkinColorAt(-256 + 4, 5), 0x800000u);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(SkinColor(i), SkinPalette[i]);
}

TEST(SkinColorTest, RandomEntriesAreNeverBlackOrWhiteAndFollowTheTime) {
  std::set<uint32_t> seen;
  for (uint32_t ms = 0; ms < 86'400'000; ms += 997) {
    for (int32_t index : {16, 255, -1}) {
      const uint32_t colour = SkinColorAt(index, ms);
      ASSERT_NE(colour, 0x000000u) << index << " at " << ms;
      ASSERT_NE(colour, 0xFFFFFFu) << index << " at " << ms;
      seen.insert(colour);
    }
    ASSERT_EQ(SkinColorAt(16, ms), SkinColorAt(200, ms)) << "one draw per time";
  }
  EXPECT_EQ(seen.size(), 14u) << "every entry from 1 to 14 can come up";
  EXPECT_EQ(SkinColorAt(16, 86'399'999), SkinColorAt(16, 86'399'999));
}

TEST(SkinCoordTest, NegativeValuesCountFromTheFarEdge) {
  EXPECT_EQ(ResolveSkinCoord(0, 150), 0);
  EXPECT_EQ(ResolveSkinCoord(12, 150), 12);
  EXPECT_EQ(ResolveSkinCoord(400, 150), 400);
  EXPECT_EQ(ResolveSkinCoord(-1, 150), 149);
  EXPECT_EQ(ResolveSkinCoord(-40, 150), 110);
  EXPECT_EQ(ResolveSkinCoord(-20000, 150), 150 - 20000);
  EXPECT_EQ(ResolveSkinCoord(-20001, 150), 150);
  EXPECT_EQ(ResolveSkinCoord(-30000, 150), 150);
  EXPECT_EQ(ResolveSkinCoord(INT32_MIN, 150), 150);
}

TEST(SkinRectTest, ResolvesEachEdgeAgainstItsOwnExtent) {
  const TSkinRect rect = MakeSkinRect(3, 4, -5, -6);
  EXPECT_EQ(rect.Left, 3);
  EXPECT_EQ(rect.Top, 4);
  EXPECT_EQ(rect.Right, -5);
  EXPECT_EQ(rect.Down, -6);
  const TSkinRect resolved = ResolveSkinRect(rect, 200, 100);
  EXPECT_EQ(resolved.Left, 3);
  EXPECT_EQ(resolved.Top, 4);
  EXPECT_EQ(resolved.Right, 195);
  EXPECT_EQ(resolved.Down, 94);
}

TEST(SkinRectTest, OnlyPointsStrictlyInsideCount) {
  const TSkinRect rect = ResolveSkinRect(MakeSkinRect(0, 0, -30000, 16), 150, 100);
  EXPECT_TRUE(PointInSkinRect(rect, 1, 1));
  EXPECT_TRUE(PointInSkinRect(rect, 149, 15));
  EXPECT_FALSE(PointInSkinRect(rect, 0, 5)) << "left edge";
  EXPECT_FALSE(PointInSkinRect(rect, 5, 0)) << "top edge";
  EXPECT_FALSE(PointInSkinRect(rect, 150, 5)) << "right edge";
  EXPECT_FALSE(PointInSkinRect(rect, 5, 16)) << "bottom edge";
  EXPECT_FALSE(PointInSkinRect(rect, 5, 40));

  const TSkinRect none = ResolveSkinRect(ReadSkinText("").MoveArea, 150, 100);
  for (int x = -1; x <= 1; ++x)
    for (int y = -1; y <= 1; ++y) EXPECT_FALSE(PointInSkinRect(none, x, y));

  const TSkinRect inner = ResolveSkinRect(MakeSkinRect(3, 3, -3, -3), 150, 100);
  EXPECT_FALSE(PointInSkinRect(inner, 3, 50));
  EXPECT_TRUE(PointInSkinRect(inner, 4, 50));
  EXPECT_TRUE(PointInSkinRect(inner, 146, 96));
  EXPECT_FALSE(PointInSkinRect(inner, 147, 50));
}

TEST(PlaceSkinImageTest, UnstretchedTakesTheBitmapSize) {
  TSkinImage image;
  image.Left = -40;
  image.Top = 2;
  image.StretchX = 5;  // ignored without Stretch
  const PixelRect place = PlaceSkinImage(image, 16, 14, 150, 100);
  EXPECT_EQ(place.Left, 110);
  EXPECT_EQ(place.Top, 2);
  EXPECT_EQ(place.Width, 16);
  EXPECT_EQ(place.Height, 14);

  image.Left = -20001;
  EXPECT_EQ(PlaceSkinImage(image, 16, 14, 150, 100).Left, 150);
}

TEST(PlaceSkinImageTest, StretchedFillsToItsEdgesAndFollowsResizing) {
  TSkinImage image;
  image.Stretch = true;
  image.Left = 4;
  image.Top = 18;
  for (auto [w, h] : {std::pair{150, 100}, std::pair{320, 41}}) {
    const PixelRect place = PlaceSkinImage(image, 16, 14, w, h);
    EXPECT_EQ(place.Left, 4);
    EXPECT_EQ(place.Top, 18);
    EXPECT_EQ(place.Width, w - 4);
    EXPECT_EQ(place.Height, h - 18);
  }
  image.StretchX = -24;
  image.StretchY = 30;
  const PixelRect place = PlaceSkinImage(image, 16, 14, 200, 100);
  EXPECT_EQ(place.Width, 200 - 24 - 4);
  EXPECT_EQ(place.Height, 12);
}

TEST(PlaceSkinImageTest, CrossedEdgesGiveAnEmptyPlaceNotANegativeOne) {
  TSkinImage image;
  image.Stretch = true;
  image.Left = 100;
  image.StretchX = 40;
  image.Top = -10;
  image.StretchY = 20;
  const PixelRect place = PlaceSkinImage(image, 16, 14, 60, 50);
  EXPECT_EQ(place.Width, 0);
  EXPECT_EQ(place.Height, 0);
  EXPECT_EQ(place.Left, 100);
  EXPECT_EQ(place.Top, 40);
}

TEST(PlaceTextBoxTest, InsetBoxFollowsTheWindow) {
  const TSkinOptions o = ReadSkinText("[Text Box]\nleft=6\ntop=20\nright=-6\ndown=-30000\n");
  const PixelRect place = PlaceTextBox(o, 150, 100);
  EXPECT_EQ(place.Left, 6);
  EXPECT_EQ(place.Top, 20);
  EXPECT_EQ(place.Width, 138);
  EXPECT_EQ(place.Height, 80);
  const PixelRect small = PlaceTextBox(o, 10, 15);
  EXPECT_EQ(small.Width, 0);
  EXPECT_EQ(small.Height, 0);
}

TEST(PlaceTextBoxTest, EmptySkinGivesAZeroBoxAtTheOrigin) {
  const PixelRect place = PlaceTextBox(ReadSkinText(""), 150, 100);
  EXPECT_EQ(place.Left, 0);
  EXPECT_EQ(place.Top, 0);
  EXPECT_EQ(place.Width, 0);
  EXPECT_EQ(place.Height, 0);
}

TEST(CaptionWidthTest, ReachesTheRightEdgeOrItsOwnEnd) {
  TSkinCaption caption;
  caption.Left = 10;
  EXPECT_EQ(CaptionWidth(caption, 150), 140);
  caption.Right = -30;
  EXPECT_EQ(CaptionWidth(caption, 150), 110);
  caption.Right = 60;
  EXPECT_EQ(CaptionWidth(caption, 150), 50);
  caption.Right = 5;
  EXPECT_EQ(CaptionWidth(caption, 150), 0);
}

TEST(SkinFolderNameTest, CutsBeforeTheFirstIniWhateverItsCase) {
  EXPECT_EQ(SkinFolderName("Blue.INI"), "Blue");
  EXPECT_EQ(SkinFolderName("blue.ini"), "blue");
  EXPECT_EQ(SkinFolderName("default"), "default");
  EXPECT_EQ(SkinFolderName("a.Ini.ini"), "a");
  EXPECT_EQ(SkinFolderName("Mini"), "Mini");
  EXPECT_EQ(SkinFolderName("my.inifile"), "my");
  EXPECT_EQ(SkinFolderName(".ini"), "");
  EXPECT_EQ(SkinFolderName(""), "");
}

}  // namespace
