#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "look/skin.h"
#include "tests/win/bmp_file.h"

namespace {

namespace fs = std::filesystem;
using test_bmp::BmpFile;
using test_bmp::PixelAt;

PixelAt Solid(COLORREF colour) {
  return [colour](int, int) { return colour; };
}

// A base folder of its own for each test, holding skins/<name>/ folders.
class SkinFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    base_ = (fs::path(temp) / ("qkli-skin-" + std::to_string(GetCurrentProcessId()) + "-" +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                .string();
    fs::remove_all(base_);
    fs::create_directories(base_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(base_, ignored);
  }

  void Write(const std::string& skin, const std::string& file, const std::string& bytes) {
    const fs::path folder = fs::path(base_) / "skins" / skin;
    fs::create_directories(folder);
    std::ofstream(folder / file, std::ios::binary) << bytes;
  }
  std::string Folder(const std::string& skin) const { return base_ + "\\skins\\" + skin; }

  std::string base_;
};

constexpr COLORREF kKey = RGB(255, 0, 255);

TEST_F(SkinFolderTest, LoadsValuesAndPicturesWithTheProfileReader) {
  Write("paper", "bg.bmp", BmpFile(40, 30, Solid(RGB(250, 240, 150))));
  Write("paper", "x.bmp", BmpFile(16, 14, [](int x, int y) { return x == y ? RGB(0, 0, 0) : kKey; }));
  Write("paper", "skin.ini",
        "; comment\r\n[bitmap]\r\nBACKGROUND=bg.bmp\r\nstretchbgk=1\r\nDelete=x.bmp\r\n"
        "DelLeft=-19\r\ndeleteTRANSPARENT=1\r\n[Move Area]\r\ndown=20\r\nright=-30000\r\n"
        "[TEXT BOX]\r\nleft=7\r\ntop = 25 \r\n[window]\r\nWidth=0xB4\r\nactivable=1\r\ntitle=\r\n"
        "[COLORS]\r\nbgktext=$FF\r\n[font]\r\nName=Tahoma\r\n");
  const TQuorSkin skin("paper", base_);
  EXPECT_EQ(skin.Name(), "paper");
  EXPECT_EQ(skin.SkinFolder(), Folder("paper"));
  EXPECT_EQ(skin.SkinIniPath(), Folder("paper") + "\\skin.ini");

  const TSkinOptions& o = skin.Options();
  EXPECT_TRUE(o.Background.Present);
  EXPECT_TRUE(o.Background.Stretch);
  EXPECT_EQ(o.Delete.Left, -19);
  EXPECT_TRUE(o.Delete.Transparent);
  EXPECT_EQ(o.MoveArea.Down, 20);
  EXPECT_EQ(o.MoveArea.Right, -30000);
  EXPECT_EQ(o.TextBox.Left, 7);
  EXPECT_EQ(o.TextBox.Top, 25);
  EXPECT_EQ(o.Width, 180);
  EXPECT_EQ(o.Height, 100);
  EXPECT_TRUE(o.Activable);
  EXPECT_EQ(o.WindowTitle.Title, "") << "a key with an empty value is not a missing key";
  EXPECT_EQ(o.TextBox.BackColor, 255);
  EXPECT_EQ(o.TextBox.Font.Name, "Tahoma");
  EXPECT_EQ(o.Caption.Font.Name, "arial");

  const auto background = skin.Bitmap(SkinElement::Background);
  ASSERT_TRUE(background);
  EXPECT_EQ(background->Width(), 40);
  EXPECT_EQ(background->Height(), 30);
  ASSERT_TRUE(skin.Bitmap(SkinElement::Delete));
  EXPECT_EQ(skin.Bitmap(SkinElement::Delete)->Width(), 16);
  EXPECT_EQ(skin.Bitmap(SkinElement::Delete)->Height(), 14);
  for (SkinElement absent : {SkinElement::Menu, SkinElement::Min, SkinElement::Title, SkinElement::Alarm})
    EXPECT_FALSE(skin.Bitmap(absent));
}

TEST_F(SkinFolderTest, EmptySkinIniGivesThePlainDefaultNote) {
  Write("empty", "skin.ini", "");
  const TQuorSkin skin("empty", base_);
  const TSkinOptions& o = skin.Options();
  EXPECT_EQ(o.Width, 150);
  EXPECT_EQ(o.Height, 100);
  EXPECT_EQ(SkinColor(o.BackColor), RGB(255, 255, 0));
  EXPECT_EQ(SkinColor(o.TextBox.BackColor), RGB(255, 255, 0));
  EXPECT_FALSE(o.TextBox.Line);
  EXPECT_TRUE(o.Resizeable);
  EXPECT_FALSE(o.WindowTitle.Old);
  for (SkinElement element : kSkinElements) EXPECT_FALSE(skin.Bitmap(element));
}

TEST_F(SkinFolderTest, NameIsCutBeforeIni) {
  Write("Blue", "skin.ini", "[window]\nwidth=99\n");
  const TQuorSkin skin("Blue.INI", base_);
  EXPECT_EQ(skin.Name(), "Blue");
  EXPECT_EQ(skin.SkinFolder(), Folder("Blue"));
  EXPECT_EQ(skin.Options().Width, 99);
}

TEST_F(SkinFolderTest, MissingFilesAreReportedWithTheirFullPath) {
  try {
    TQuorSkin skin("nowhere", base_);
    FAIL() << "no error for a missing skin.ini";
  } catch (const EQuorSkinError& e) {
    EXPECT_STREQ(e.what(), ("Error at loadSkin. File " + Folder("nowhere") + "\\skin.ini not found").c_str());
  }

  Write("holes", "skin.ini", "[BitMap]\nmenu=menu.bmp\nMin=gone.bmp\n");
  Write("holes", "menu.bmp", BmpFile(4, 4, Solid(0)));
  try {
    TQuorSkin skin("holes", base_);
    FAIL() << "no error for a missing bitmap";
  } catch (const EQuorSkinError& e) {
    EXPECT_STREQ(e.what(), ("Error at loadSkin. File " + Folder("holes") + "\\gone.bmp not found").c_str());
  }

  // A folder named like the bitmap is no bitmap file either.
  Write("holes", "skin.ini", "[BitMap]\nMin=sub\n");
  fs::create_directories(fs::path(base_) / "skins" / "holes" / "sub");
  EXPECT_THROW(TQuorSkin("holes", base_), EQuorSkinError);
}

TEST_F(SkinFolderTest, AFileThatIsNotABmpIsASkinError) {
  Write("broken", "skin.ini", "[BitMap]\ntitle=title.bmp\n");
  Write("broken", "title.bmp", "BM this is no picture");
  try {
    TQuorSkin skin("broken", base_);
    FAIL() << "no error for a broken bitmap";
  } catch (const EQuorSkinError& e) {
    EXPECT_STREQ(e.what(),
                 ("Error at loadSkin. File " + Folder("broken") + "\\title.bmp is not a readable BMP picture").c_str());
  }
}

TEST_F(SkinFolderTest, TransparentColourIsTheLowerLeftPixel) {
  Write("keyed", "skin.ini", "[BitMap]\nalarm=a.bmp\n");
  Write("keyed", "a.bmp", BmpFile(5, 7, [](int x, int y) {
          if (x == 0 && y == 6) return RGB(10, 20, 30);
          return x == 0 && y == 0 ? RGB(200, 100, 50) : RGB(1, 2, 3);
        }));
  const TQuorSkin skin("keyed", base_);
  EXPECT_EQ(skin.Bitmap(SkinElement::Alarm)->TransparentColor(), RGB(10, 20, 30));
}

TEST_F(SkinFolderTest, HoldersShareOneBitmapThatLivesAsLongAsItsLastHolder) {
  Write("one", "skin.ini", "[BitMap]\nBackground=bg.bmp\n[window]\nwidth=111\n");
  Write("one", "bg.bmp", BmpFile(8, 8, Solid(RGB(1, 1, 1))));
  Write("two", "skin.ini", "[BitMap]\nBackground=bg.bmp\nmenu=m.bmp\n[window]\nwidth=222\n");
  Write("two", "bg.bmp", BmpFile(9, 9, Solid(RGB(2, 2, 2))));
  Write("two", "m.bmp", BmpFile(3, 3, Solid(RGB(3, 3, 3))));

  TQuorSkin skin("one", base_);
  auto noteA = skin.Bitmap(SkinElement::Background);
  auto noteB = skin.Bitmap(SkinElement::Background);
  ASSERT_TRUE(noteA);
  EXPECT_EQ(noteA.get(), noteB.get());
  EXPECT_EQ(noteA->Handle(), noteB->Handle());
  const HBITMAP oldHandle = noteA->Handle();

  skin.ReloadSkin("two", base_);
  EXPECT_EQ(skin.Name(), "two");
  EXPECT_EQ(skin.Options().Width, 222);
  EXPECT_EQ(skin.Bitmap(SkinElement::Background)->Width(), 9);
  EXPECT_TRUE(skin.Bitmap(SkinElement::Menu));
  // Notes not yet re-skinned keep drawing the old picture.
  EXPECT_EQ(GetObjectType(oldHandle), static_cast<DWORD>(OBJ_BITMAP));
  noteA.reset();
  EXPECT_EQ(GetObjectType(oldHandle), static_cast<DWORD>(OBJ_BITMAP));
  noteB.reset();
  EXPECT_EQ(GetObjectType(oldHandle), 0u) << "released with its last holder";
}

TEST_F(SkinFolderTest, FailedReloadKeepsTheSkinItHad) {
  Write("good", "skin.ini", "[BitMap]\nBackground=bg.bmp\nmenu=m.bmp\n[window]\nwidth=123\n");
  Write("good", "bg.bmp", BmpFile(8, 8, Solid(RGB(1, 1, 1))));
  Write("good", "m.bmp", BmpFile(3, 3, Solid(RGB(3, 3, 3))));
  Write("bad", "skin.ini", "[BitMap]\nBackground=bg.bmp\nmenu=missing.bmp\n[window]\nwidth=77\n");
  Write("bad", "bg.bmp", BmpFile(9, 9, Solid(RGB(2, 2, 2))));

  TQuorSkin skin("good", base_);
  const auto background = skin.Bitmap(SkinElement::Background);
  EXPECT_THROW(skin.ReloadSkin("bad", base_), EQuorSkinError);
  EXPECT_THROW(skin.ReloadSkin("absent", base_), EQuorSkinError);
  EXPECT_EQ(skin.Name(), "good");
  EXPECT_EQ(skin.SkinFolder(), Folder("good"));
  EXPECT_EQ(skin.Options().Width, 123);
  EXPECT_EQ(skin.Bitmap(SkinElement::Background), background);
  ASSERT_TRUE(skin.Bitmap(SkinElement::Menu));
  EXPECT_EQ(GetObjectType(skin.Bitmap(SkinElement::Menu)->Handle()), static_cast<DWORD>(OBJ_BITMAP));
}

// Draws into a 32-bit DIB section and reads the pixels back.
class Surface {
 public:
  Surface(int width, int height, COLORREF fill) : width_(width) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<const uint32_t*>(bits);
    dc_.reset(CreateCompatibleDC(nullptr));
    old_ = SelectObject(dc_.get(), bitmap_.get());
    const win::UniqueBrush brush(CreateSolidBrush(fill));
    const RECT all{0, 0, width, height};
    FillRect(dc_.get(), &all, brush.get());
  }
  ~Surface() { SelectObject(dc_.get(), old_); }
  HDC dc() const { return dc_.get(); }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }

 private:
  int width_;
  win::UniqueBitmap bitmap_;
  win::UniqueMemoryDc dc_;
  HGDIOBJ old_ = nullptr;
  const uint32_t* bits_ = nullptr;
};

TEST_F(SkinFolderTest, DrawsPlainStretchedAndTransparentPictures) {
  Write("draw", "skin.ini", "[BitMap]\nBackground=bg.bmp\ndelete=x.bmp\n");
  Write("draw", "bg.bmp", BmpFile(4, 4, Solid(RGB(0, 0, 200))));
  Write("draw", "x.bmp", BmpFile(6, 6, [](int x, int y) { return x == y ? RGB(0, 160, 0) : kKey; }));
  const TQuorSkin skin("draw", base_);
  const SkinBitmap& bg = *skin.Bitmap(SkinElement::Background);
  const SkinBitmap& cross = *skin.Bitmap(SkinElement::Delete);
  const COLORREF paper = RGB(240, 240, 240);

  Surface plain(20, 20, paper);
  DrawSkinBitmap(plain.dc(), bg, PixelRect{2, 3, 15, 15}, false, false);
  EXPECT_EQ(plain.At(2, 3), RGB(0, 0, 200));
  EXPECT_EQ(plain.At(5, 6), RGB(0, 0, 200));
  EXPECT_EQ(plain.At(6, 6), paper) << "unstretched keeps its own size";
  EXPECT_EQ(plain.At(1, 3), paper);

  Surface stretched(20, 20, paper);
  DrawSkinBitmap(stretched.dc(), bg, PixelRect{2, 3, 15, 10}, true, false);
  EXPECT_EQ(stretched.At(16, 12), RGB(0, 0, 200));
  EXPECT_EQ(stretched.At(17, 12), paper);
  EXPECT_EQ(stretched.At(16, 13), paper);

  Surface keyed(20, 20, paper);
  DrawSkinBitmap(keyed.dc(), cross, PixelRect{1, 1, 6, 6}, false, true);
  EXPECT_EQ(keyed.At(1, 1), RGB(0, 160, 0));
  EXPECT_EQ(keyed.At(6, 6), RGB(0, 160, 0));
  EXPECT_EQ(keyed.At(2, 1), paper) << "the key colour is left out";
  EXPECT_EQ(keyed.At(1, 6), paper);

  Surface opaque(20, 20, paper);
  DrawSkinBitmap(opaque.dc(), cross, PixelRect{1, 1, 6, 6}, false, false);
  EXPECT_EQ(opaque.At(2, 1), kKey);

  Surface empty(20, 20, paper);
  DrawSkinBitmap(empty.dc(), bg, PixelRect{2, 2, 0, 9}, true, false);
  EXPECT_EQ(empty.At(2, 2), paper) << "an empty place draws nothing";
}

TEST(SkinFontTest, MakesTheFontAndColourOfASkinFont) {
  tQuorFont font;
  font.Name = "Tahoma";
  font.Size = 12;
  font.Bold = true;
  font.Italic = true;
  font.Underline = false;
  font.Color = 9;
  const SkinFont made(font);
  ASSERT_TRUE(made.Handle());
  EXPECT_EQ(made.Color(), RGB(255, 0, 0));
  LOGFONTA log{};
  ASSERT_EQ(GetObjectA(made.Handle(), sizeof log, &log), static_cast<int>(sizeof log));
  EXPECT_STREQ(log.lfFaceName, "Tahoma");
  EXPECT_EQ(log.lfHeight, -16) << "12 points at 96 dpi";
  EXPECT_EQ(log.lfWeight, FW_BOLD);
  EXPECT_TRUE(log.lfItalic);
  EXPECT_FALSE(log.lfUnderline);

  tQuorFont plain;
  plain.Name = std::string(40, 'x');  // longer than a face name may be
  const LOGFONTA cut = SkinLogFont(plain);
  EXPECT_EQ(std::string(cut.lfFaceName), std::string(LF_FACESIZE - 1, 'x'));
  EXPECT_EQ(cut.lfHeight, -11) << "8 points";
  EXPECT_EQ(cut.lfWeight, FW_NORMAL);
}

}  // namespace
