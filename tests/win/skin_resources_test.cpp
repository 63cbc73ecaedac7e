// The pictures qkli ships: the skins and the resource library in the assembled program folder,
// and the icons and menu pictures compiled into the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "win/menu_picture.h"
#include "look/skin.h"
#include "win/handles.h"

namespace {

const std::string kProgram = QKLI_PROGRAM_DIR;
const std::string kRes = QKLI_RES_DIR;

BITMAP InfoOf(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  return info;
}

TEST(ResourceLibraryTest, HoldsTheLogoAndAboutBitmaps) {
  const win::UniqueModule library(LoadLibraryA((kProgram + "/quorkli.dll").c_str()));
  ASSERT_TRUE(library) << "error " << GetLastError();
  const win::UniqueBitmap logo(LoadBitmapA(library.get(), "LOGOBMP"));
  const win::UniqueBitmap about(LoadBitmapA(library.get(), "ABOUTBMP"));
  ASSERT_TRUE(logo);
  ASSERT_TRUE(about);
  // The logo fills the options dialog's left strip: 49 pixels wide, the dialog's height.
  EXPECT_EQ(InfoOf(logo.get()).bmWidth, 49);
  EXPECT_EQ(InfoOf(logo.get()).bmHeight, 283);
  EXPECT_EQ(InfoOf(about.get()).bmWidth, 300);
  EXPECT_EQ(InfoOf(about.get()).bmHeight, 200);
  EXPECT_FALSE(LoadBitmapA(library.get(), "NOSUCHBMP"));
}

class ShippedSkinTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedSkinTest, LoadsWithEveryPictureAndAUsableLayout) {
  const TQuorSkin skin(GetParam(), kProgram);
  const TSkinOptions& o = skin.Options();
  for (SkinElement element : kSkinElements) {
    const auto bitmap = skin.Bitmap(element);
    ASSERT_TRUE(bitmap) << static_cast<int>(element);
    if (o.Image(element).Transparent) {
      EXPECT_EQ(bitmap->TransparentColor(), RGB(255, 0, 255));
    }
  }
  EXPECT_TRUE(o.Resizeable);
  EXPECT_TRUE(o.Background.Stretch) << "any window size must be covered";
  for (int width : {int(o.Width), 400}) {
    const int height = width == 400 ? 300 : o.Height;
    const TSkinRect move = ResolveSkinRect(o.MoveArea, width, height);
    EXPECT_TRUE(PointInSkinRect(move, width / 2, 5)) << "the title strip moves the note";
    const PixelRect text = PlaceTextBox(o, width, height);
    EXPECT_GE(text.Top, move.Down) << "the text box sits below the move area";
    EXPECT_GT(text.Width, width / 2);
    EXPECT_GT(text.Height, height / 2);
    EXPECT_LE(text.Left + text.Width, width);
    EXPECT_LE(text.Top + text.Height, height);
    for (SkinElement button : {SkinElement::Menu, SkinElement::Min, SkinElement::Delete, SkinElement::Alarm}) {
      const auto bitmap = skin.Bitmap(button);
      const PixelRect place = PlaceSkinImage(o.Image(button), bitmap->Width(), bitmap->Height(), width, height);
      EXPECT_GE(place.Left, 0);
      EXPECT_LE(place.Left + place.Width, width);
      EXPECT_LE(place.Top + place.Height, move.Down) << "buttons sit on the title strip";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedSkinTest, ::testing::Values("default", "stretch", "glass"));

TEST(ShippedSkinTest, TheySetThemselvesApart) {
  EXPECT_FALSE(TQuorSkin("default", kProgram).Options().Activable);
  EXPECT_TRUE(TQuorSkin("glass", kProgram).Options().Activable);
  const TSkinOptions stretch = TQuorSkin("stretch", kProgram).Options();
  EXPECT_TRUE(stretch.Caption.Active);
  EXPECT_TRUE(stretch.Caption.OnlyFileName);
  EXPECT_TRUE(stretch.Title.Stretch);
}

TEST(ProgramPicturesTest, IconsAreThirtyTwoPixelsSquare) {
  for (const char* name : {"tray0.ico", "tray1.ico", "tray2.ico", "tray3.ico", "note.ico"}) {
    const win::UniqueIcon icon(static_cast<HICON>(
        LoadImageA(nullptr, (kRes + "/" + name).c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE)));
    ASSERT_TRUE(icon) << name;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info)) << name;
    const win::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    EXPECT_EQ(InfoOf(colour.get()).bmWidth, 32) << name;
    EXPECT_EQ(InfoOf(colour.get()).bmHeight, 32) << name;
  }
}

TEST(ProgramPicturesTest, MenuPicturesAreSmallWithAnAlphaChannel) {
  for (const char* name :
       {"menu_new.bmp", "menu_show_all_notes.bmp", "menu_open.bmp", "menu_show_all.bmp", "menu_mail.bmp"}) {
    const win::UniqueBitmap bitmap(static_cast<HBITMAP>(
        LoadImageA(nullptr, (kRes + "/" + name).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    ASSERT_TRUE(bitmap) << name;
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectA(bitmap.get(), sizeof dib, &dib), static_cast<int>(sizeof dib)) << name;
    EXPECT_EQ(dib.dsBm.bmWidth, 16) << name;
    EXPECT_EQ(dib.dsBm.bmHeight, 16) << name;
    ASSERT_EQ(dib.dsBm.bmBitsPixel, 32) << name;
    const auto* pixels = static_cast<const uint32_t*>(dib.dsBm.bmBits);
    int clear = 0, solid = 0;
    for (int i = 0; i < 16 * 16; ++i) {
      const uint32_t alpha = pixels[i] >> 24;
      clear += alpha == 0;
      solid += alpha == 255;
      // Premultiplied: no colour channel may exceed the alpha.
      for (int shift : {0, 8, 16}) ASSERT_LE((pixels[i] >> shift) & 0xFF, alpha) << name << " pixel " << i;
    }
    EXPECT_GT(clear, 16) << name;
    EXPECT_GT(solid, 16) << name;

    // Laid over a menu colour: clear pixels take that colour, solid ones keep their own.
    const COLORREF menu = RGB(240, 230, 220);
    const win::UniqueBitmap flat = FlattenMenuPicture(bitmap.get(), menu);
    ASSERT_TRUE(flat) << name;
    DIBSECTION out{};
    ASSERT_EQ(GetObjectA(flat.get(), sizeof out, &out), static_cast<int>(sizeof out));
    EXPECT_EQ(out.dsBm.bmBitsPixel, 24);
    EXPECT_EQ(out.dsBm.bmWidth, 16);
    const auto* rgb = static_cast<const uint8_t*>(out.dsBm.bmBits);
    for (int i = 0; i < 16 * 16; ++i) {
      const uint8_t* q = rgb + (i / 16) * out.dsBm.bmWidthBytes + (i % 16) * 3;
      const COLORREF got = RGB(q[2], q[1], q[0]);
      const uint32_t p = pixels[i];
      if (p >> 24 == 0) {
        EXPECT_EQ(got, menu) << name << " pixel " << i;
      }
      if (p >> 24 == 255) {
        EXPECT_EQ(got, RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF)) << name << " pixel " << i;
      }
    }
  }
  EXPECT_FALSE(FlattenMenuPicture(nullptr, 0));
}

}  // namespace
