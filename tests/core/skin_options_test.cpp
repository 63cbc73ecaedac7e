#include <gtest/gtest.h>

#include <stdexcept>

#include "look/skin_options.h"
#include "tests/core/skin_test_profile.h"

namespace {

void ExpectDefaultFont(const tQuorFont& font) {
  EXPECT_EQ(font.Name, "arial");
  EXPECT_EQ(font.Size, 8);
  EXPECT_FALSE(font.Underline);
  EXPECT_FALSE(font.Bold);
  EXPECT_FALSE(font.Italic);
  EXPECT_EQ(font.Color, 0);
}

TEST(SkinOptionsTest, EmptySkinIniGivesEveryDefault) {
  const TSkinOptions o = ReadSkinText("");
  for (SkinElement element : kSkinElements) {
    const TSkinImage& image = o.Image(element);
    EXPECT_FALSE(image.Present);
    EXPECT_EQ(image.File, "");
    EXPECT_EQ(image.Left, 0);
    EXPECT_EQ(image.Top, 0);
    EXPECT_EQ(image.StretchX, -30000);
    EXPECT_EQ(image.StretchY, -30000);
    EXPECT_FALSE(image.Stretch);
    EXPECT_FALSE(image.Transparent);
  }
  EXPECT_EQ(o.Width, 150);
  EXPECT_EQ(o.Height, 100);
  EXPECT_EQ(o.BackColor, 11);
  EXPECT_EQ(o.TextBox.BackColor, 11);
  EXPECT_EQ(o.TextBox.Left, 0);
  EXPECT_EQ(o.TextBox.Top, 0);
  EXPECT_EQ(o.TextBox.Right, 0);
  EXPECT_EQ(o.TextBox.Down, 0);
  EXPECT_FALSE(o.TextBox.Line);
  ExpectDefaultFont(o.TextBox.Font);
  ExpectDefaultFont(o.Caption.Font);
  EXPECT_FALSE(o.WindowTitle.Old);
  EXPECT_FALSE(o.WindowTitle.Standard);
  EXPECT_EQ(o.WindowTitle.Title, "Quor k-li 5");
  EXPECT_FALSE(o.Caption.Active);
  EXPECT_FALSE(o.Caption.OnlyFileName);
  EXPECT_EQ(o.Caption.Left, 0);
  EXPECT_EQ(o.Caption.Top, 0);
  EXPECT_EQ(o.Caption.Right, 0);
  EXPECT_FALSE(o.BevelVisible);
  EXPECT_EQ(o.BevelTop, 0);
  EXPECT_EQ(o.MoveArea.Left, 0);
  EXPECT_EQ(o.MoveArea.Top, 0);
  EXPECT_EQ(o.MoveArea.Right, 0);
  EXPECT_EQ(o.MoveArea.Down, 0);
  EXPECT_TRUE(o.Resizeable);
  EXPECT_FALSE(o.Activable);
}

TEST(SkinOptionsTest, EveryKeyLandsInItsField) {
  const TSkinOptions o = ReadSkinText(R"(
[BitMap]
menu=m.bmp
menuleft=1
menutop=2
StretchMenu=1
StretchMenux=3
StretchMenuy=4
menuTransparent=1
delete=d.bmp
delLeft=5
deltop=6
StretchDelx=7
StretchDely=8
Min=n.bmp
minleft=9
mintop=10
minTransparent=1
Background=b.bmp
bgkleft=11
bgktop=12
StretchBgk=1
StretchBgkx=-2
StretchBgky=-3
title=t.bmp
titleleft=13
titletop=14
Stretchtitle=1
StretchTitlex=-40
alarm=a.bmp
alarmleft=-20
alarmtop=15
Stretchalarm=0
alarmTransparent=7
[Move area]
top=21
left=22
right=-23
down=24
[Text Box]
top=31
down=-32
left=33
right=-34
line=1
[Colors]
bgktext=5
bgk=6
text=9
[Font]
name=Courier New
size=12
underline=1
Bold=1
Italic=1
color=4
[Window]
Resizeable=0
Activable=1
old=1
title=My note
Standard=1
BevelVisible=1
BevelTop=17
width=200
height=180
[Caption]
Active=1
Onlyfilename=1
left=41
top=42
right=-43
[Caption Font]
name=Tahoma
size=7
Bold=1
color=9
)");
  EXPECT_EQ(o.Menu.File, "m.bmp");
  EXPECT_TRUE(o.Menu.Present);
  EXPECT_EQ(o.Menu.Left, 1);
  EXPECT_EQ(o.Menu.Top, 2);
  EXPECT_TRUE(o.Menu.Stretch);
  EXPECT_EQ(o.Menu.StretchX, 3);
  EXPECT_EQ(o.Menu.StretchY, 4);
  EXPECT_TRUE(o.Menu.Transparent);
  EXPECT_EQ(o.Delete.File, "d.bmp");
  EXPECT_EQ(o.Delete.Left, 5);
  EXPECT_EQ(o.Delete.Top, 6);
  EXPECT_EQ(o.Delete.StretchX, 7);
  EXPECT_EQ(o.Delete.StretchY, 8);
  EXPECT_FALSE(o.Delete.Stretch);
  EXPECT_EQ(o.Min.File, "n.bmp");
  EXPECT_EQ(o.Min.Left, 9);
  EXPECT_EQ(o.Min.Top, 10);
  EXPECT_TRUE(o.Min.Transparent);
  EXPECT_EQ(o.Background.File, "b.bmp");
  EXPECT_EQ(o.Background.Left, 11);
  EXPECT_EQ(o.Background.Top, 12);
  EXPECT_TRUE(o.Background.Stretch);
  EXPECT_EQ(o.Background.StretchX, -2);
  EXPECT_EQ(o.Background.StretchY, -3);
  EXPECT_EQ(o.Title.File, "t.bmp");
  EXPECT_EQ(o.Title.Left, 13);
  EXPECT_EQ(o.Title.Top, 14);
  EXPECT_TRUE(o.Title.Stretch);
  EXPECT_EQ(o.Title.StretchX, -40);
  EXPECT_EQ(o.Title.StretchY, -30000);
  EXPECT_EQ(o.Alarm.File, "a.bmp");
  EXPECT_EQ(o.Alarm.Left, -20);
  EXPECT_EQ(o.Alarm.Top, 15);
  EXPECT_FALSE(o.Alarm.Stretch);
  EXPECT_TRUE(o.Alarm.Transparent) << "any non-zero number is true";

  EXPECT_EQ(o.MoveArea.Top, 21);
  EXPECT_EQ(o.MoveArea.Left, 22);
  EXPECT_EQ(o.MoveArea.Right, -23);
  EXPECT_EQ(o.MoveArea.Down, 24);
  EXPECT_EQ(o.TextBox.Top, 31);
  EXPECT_EQ(o.TextBox.Down, -32);
  EXPECT_EQ(o.TextBox.Left, 33);
  EXPECT_EQ(o.TextBox.Right, -34);
  EXPECT_TRUE(o.TextBox.Line);
  EXPECT_EQ(o.TextBox.BackColor, 5);
  EXPECT_EQ(o.BackColor, 6);
  EXPECT_EQ(o.TextBox.Font.Name, "Courier New");
  EXPECT_EQ(o.TextBox.Font.Size, 12);
  EXPECT_TRUE(o.TextBox.Font.Underline);
  EXPECT_TRUE(o.TextBox.Font.Bold);
  EXPECT_TRUE(o.TextBox.Font.Italic);
  EXPECT_EQ(o.TextBox.Font.Color, 9) << "[colors] text replaces the font's colour";

  EXPECT_FALSE(o.Resizeable);
  EXPECT_TRUE(o.Activable);
  EXPECT_TRUE(o.WindowTitle.Old);
  EXPECT_EQ(o.WindowTitle.Title, "My note");
  EXPECT_TRUE(o.WindowTitle.Standard);
  EXPECT_TRUE(o.BevelVisible);
  EXPECT_EQ(o.BevelTop, 17);
  EXPECT_EQ(o.Width, 200);
  EXPECT_EQ(o.Height, 180);

  EXPECT_TRUE(o.Caption.Active);
  EXPECT_TRUE(o.Caption.OnlyFileName);
  EXPECT_EQ(o.Caption.Left, 41);
  EXPECT_EQ(o.Caption.Top, 42);
  EXPECT_EQ(o.Caption.Right, -43);
  EXPECT_EQ(o.Caption.Font.Name, "Tahoma");
  EXPECT_EQ(o.Caption.Font.Size, 7);
  EXPECT_TRUE(o.Caption.Font.Bold);
  EXPECT_FALSE(o.Caption.Font.Italic);
  EXPECT_EQ(o.Caption.Font.Color, 9);
}

TEST(SkinOptionsTest, SectionAndKeyNamesIgnoreCase) {
  const TSkinOptions o = ReadSkinText(
      "[bitmap]\nBACKGROUND=b.bmp\n[text box]\nTOP=4\nLine=1\n[WINDOW]\nactivable=1\n"
      "[COLORS]\nBGK=3\n");
  EXPECT_EQ(o.Background.File, "b.bmp");
  EXPECT_EQ(o.TextBox.Top, 4);
  EXPECT_TRUE(o.TextBox.Line);
  EXPECT_TRUE(o.Activable);
  EXPECT_EQ(o.BackColor, 3);
}

TEST(SkinOptionsTest, TextColourOverrideOnlyWhenNotMinusOne) {
  EXPECT_EQ(ReadSkinText("[Font]\ncolor=4\n[colors]\ntext=-1\n").TextBox.Font.Color, 4);
  EXPECT_EQ(ReadSkinText("[Font]\ncolor=4\n").TextBox.Font.Color, 4);
  EXPECT_EQ(ReadSkinText("[Font]\ncolor=4\n[colors]\ntext=0\n").TextBox.Font.Color, 0);
  EXPECT_EQ(ReadSkinText("[Font]\ncolor=4\n[colors]\ntext=junk\n").TextBox.Font.Color, 4);
}

TEST(SkinOptionsTest, NarrowFieldsKeepTheirLowBits) {
  const TSkinOptions o = ReadSkinText("[Window]\nwidth=65636\nheight=-1\n[Font]\nsize=264\n");
  EXPECT_EQ(o.Width, 100);
  EXPECT_EQ(o.Height, 65535);
  EXPECT_EQ(o.TextBox.Font.Size, 8);
}

TEST(SkinOptionsTest, UnparsableValuesKeepDefaultsButEmptyStringsAreValues) {
  const TSkinOptions o = ReadSkinText(
      "[Window]\nwidth=wide\nResizeable=\ntitle=\n[BitMap]\nmenu=\nStretchMenux=12px\n"
      "[Font]\nname=\n");
  EXPECT_EQ(o.Width, 150);
  EXPECT_TRUE(o.Resizeable);
  EXPECT_EQ(o.WindowTitle.Title, "");
  EXPECT_FALSE(o.Menu.Present);
  EXPECT_EQ(o.Menu.StretchX, -30000);
  EXPECT_EQ(o.TextBox.Font.Name, "");
}

TEST(SkinOptionsTest, ImageHookRunsRightAfterEachFileKeyInLoadingOrder) {
  SkinTestProfile profile("[BitMap]\nmenu=m.bmp\nalarm=a.bmp\n");
  std::vector<std::string> seen;
  const ProfileReader reader = profile.Reader();
  ReadSkinOptions(reader, [&](SkinElement element, TSkinImage& image) {
    seen.push_back(std::to_string(static_cast<int>(element)) + (image.Present ? "+" : "-") +
                   image.File);
    // The file key was the last one read.
    EXPECT_EQ(profile.Asked().back().substr(0, 7), "BitMap/");
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"0+m.bmp", "1-", "2-", "3-", "4-", "5+a.bmp"}));
}

TEST(SkinOptionsTest, FailingImageStopsTheRestOfTheLoad) {
  SkinTestProfile profile("[BitMap]\nmenu=m.bmp\nMin=gone.bmp\nBackground=b.bmp\n");
  std::vector<SkinElement> seen;
  EXPECT_THROW(ReadSkinOptions(profile.Reader(),
                               [&](SkinElement element, TSkinImage& image) {
                                 seen.push_back(element);
                                 if (image.File == "gone.bmp") throw std::runtime_error("missing");
                               }),
               std::runtime_error);
  EXPECT_EQ(seen, (std::vector<SkinElement>{SkinElement::Menu, SkinElement::Delete, SkinElement::Min}));
  EXPECT_EQ(profile.Asked().back(), "BitMap/Min");
}

TEST(SkinOptionsTest, ValuesAreReadInTheDocumentedOrder) {
  SkinTestProfile profile("");
  ReadSkinOptions(profile.Reader(), nullptr);
  const auto& asked = profile.Asked();
  ASSERT_EQ(asked.size(), 6u * 7 + 4 + 5 + 1 + 6 + 1 + 3 + 5 + 5 + 2 + 6);
  EXPECT_EQ(std::vector<std::string>(asked.begin(), asked.begin() + 7),
            (std::vector<std::string>{"BitMap/menu", "BitMap/StretchMenux", "BitMap/StretchMenuy",
                                      "BitMap/menuleft", "BitMap/menutop", "BitMap/StretchMenu",
                                      "BitMap/menuTransparent"}));
  EXPECT_EQ(asked[42], "Move area/top");
  EXPECT_EQ(asked[51], "Colors/bgktext");
  EXPECT_EQ(asked[52], "Font/name");
  EXPECT_EQ(asked[58], "colors/text");
  EXPECT_EQ(asked[61], "colors/bgk");
  EXPECT_EQ(asked[asked.size() - 8], "Window/width");
  EXPECT_EQ(asked.back(), "Caption Font/color");
}

TEST(ParseSkinIntegerTest, DecimalHexAndFallback) {
  EXPECT_EQ(ParseSkinInteger("42", 7), 42);
  EXPECT_EQ(ParseSkinInteger("-20001", 7), -20001);
  EXPECT_EQ(ParseSkinInteger("+5", 7), 5);
  EXPECT_EQ(ParseSkinInteger("  12 ", 7), 12);
  EXPECT_EQ(ParseSkinInteger("0x1F", 7), 31);
  EXPECT_EQ(ParseSkinInteger("0XfF", 7), 255);
  EXPECT_EQ(ParseSkinInteger("$10", 7), 16);
  EXPECT_EQ(ParseSkinInteger("-$10", 7), -16);
  EXPECT_EQ(ParseSkinInteger("$FFFFFFFF", 7), -1);
  EXPECT_EQ(ParseSkinInteger("2147483647", 7), 2147483647);
  EXPECT_EQ(ParseSkinInteger("-2147483648", 7), INT32_MIN);
}

TEST(ParseSkinIntegerTest, RejectsWhatIsNotANumber) {
  for (const char* text : {"", " ", "-", "$", "0x", "12a", "1 2", "1.5", "0x1G", "2147483648",
                           "-2147483649", "$100000000", "99999999999999999999", "--1"}) {
    EXPECT_EQ(ParseSkinInteger(text, -7), -7) << '"' << text << '"';
  }
}

}  // namespace
