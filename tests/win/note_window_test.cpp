// The note window as the controller sees it: creation, showing, on top, editing and display,
// the skin applied, its menu entry, its tray icon and dropped files.
#include <shlobj.h>

#include <cstring>
#include <regex>
#include <utility>

#include "notes/documents_folder.h"
#include "note_window_test_support.h"
#include "win/registry.h"

namespace note_test {
namespace {

bool TopMost(HWND hwnd) { return (GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

RECT ChildRect(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(NoteWindowTest, NewNoteIsAHiddenToolWindowWithAFreshStoreName) {
  TQuorSkin& skin = TestSkin();
  TTFoglio& note = NewNote(skin);
  const HWND hwnd = note.hwnd();

  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_FALSE(note.Shown());
  EXPECT_FALSE(note.Closed());
  const LONG_PTR ex = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(ex & WS_EX_APPWINDOW);
  EXPECT_TRUE(ex & WS_EX_ACCEPTFILES);
  EXPECT_FALSE(GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(note.Bounds().Width, 200);
  EXPECT_EQ(note.Bounds().Height, 120);
  EXPECT_TRUE(std::regex_match(note.Store().Name(), std::regex(R"(\\[0-9]{1,6}\.kli)"))) << note.Store().Name();
  EXPECT_TRUE(note.Store().Name() == "\\0.kli" || note.Store().Name()[1] != '0');
  EXPECT_EQ(note.Store().Folder(), Cache());
  EXPECT_EQ(note.Data().FileName, DocumentsFolder() + "\\noname.kli");
  EXPECT_EQ(note.TextBox().Text(), "");
  // The alarm is set to the moment of creation, and off.
  EXPECT_TRUE(note.AlarmClock().Fields().IsSet);
  EXPECT_FALSE(note.AlarmClock().Fields().Active);
  EXPECT_NEAR(note.AlarmClock().Fields().When, NowDateTime(), 1.0 / 24 / 60);

  // The text box sits where the skin puts it: left 6, top 24, right 6 from the edge, down 60.
  const RECT box = ChildRect(hwnd, note.TextBox().hwnd());
  EXPECT_EQ(box.left, 6);
  EXPECT_EQ(box.top, 24);
  EXPECT_EQ(box.right, 194);
  EXPECT_EQ(box.bottom, 60);

  // Two new notes never share a store name, even before either has written its file.
  TTFoglio& other = NewNote(skin);
  EXPECT_NE(other.Store().Name(), note.Store().Name());
}

TEST_F(NoteWindowTest, StoreNameSkipsNamesTakenByOpenNotes) {
  TQuorSkin& skin = TestSkin();
  host_.takenAnswers = 3;
  TTFoglio& note = NewNote(skin);
  ASSERT_EQ(host_.asked.size(), 4u);
  EXPECT_EQ(note.Store().Name(), host_.asked.back());
}

TEST_F(NoteWindowTest, StampOnCreateAddsOneDateTimeLine) {
  TQuorSkin& skin = TestSkin();
  TTFoglio& stamped = NewNote(skin, true);
  const std::string text = stamped.TextBox().Text();
  EXPECT_NE(text.find(" , "), std::string::npos) << text;
  EXPECT_EQ(text.find("\r\n"), std::string::npos) << text;
  const std::string today = FormatDateText(NowDateTime(), UserLocalePictures());
  EXPECT_EQ(text.rfind(today, 0), 0u) << text;
}

TEST_F(NoteWindowTest, DocumentsFolderComesExpandedFromTheUserShellFolders) {
  const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  const auto folders = win::RegistryKey::Create(HKEY_CURRENT_USER, key);
  const auto previous = folders.readString("Personal");
  const char value[] = "%TEMP%\\qkli-documents";
  RegSetValueExA(folders.handle(), "Personal", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(value),
                 sizeof value);
  char expanded[MAX_PATH];
  ExpandEnvironmentStringsA(value, expanded, MAX_PATH);

  TTFoglio& note = NewNote(TestSkin());
  EXPECT_EQ(note.Data().FileName, std::string(expanded) + "\\noname.kli");

  RegDeleteValueA(folders.handle(), "Personal");
  if (previous) {
    RegSetValueExA(folders.handle(), "Personal", 0, REG_EXPAND_SZ,
                   reinterpret_cast<const BYTE*>(previous->c_str()), static_cast<DWORD>(previous->size() + 1));
  }
}

// A registry value taken away for one test and put back as it was, type and bytes alike.
class RemovedValue {
 public:
  RemovedValue(const std::string& keyPath, const char* name)
      : key_(win::RegistryKey::Create(HKEY_CURRENT_USER, keyPath)), name_(name) {
    DWORD size = 0;
    if (RegQueryValueExA(key_.handle(), name_, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
      bytes_.resize(size);
      had_ = RegQueryValueExA(key_.handle(), name_, nullptr, &type_, bytes_.data(), &size) == ERROR_SUCCESS;
    }
    RegDeleteValueA(key_.handle(), name_);
  }
  ~RemovedValue() {
    if (had_) RegSetValueExA(key_.handle(), name_, 0, type_, bytes_.data(), static_cast<DWORD>(bytes_.size()));
  }
  void Set(const char* value) const {
    RegSetValueExA(key_.handle(), name_, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>(std::strlen(value) + 1));
  }
  void Remove() const { RegDeleteValueA(key_.handle(), name_); }

 private:
  win::RegistryKey key_;
  const char* name_;
  DWORD type_ = REG_NONE;
  std::vector<BYTE> bytes_;
  bool had_ = false;
};

TEST_F(NoteWindowTest, DocumentsFolderFallsBackToShellFoldersAndThenToNothing) {
  const std::string explorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
  const RemovedValue user(explorer + "User Shell Folders", "Personal");
  const RemovedValue shell(explorer + "Shell Folders", "Personal");

  TQuorSkin& skin = TestSkin();
  shell.Set("C:\\shell documents");
  EXPECT_EQ(NewNote(skin).Data().FileName, "C:\\shell documents\\noname.kli");

  shell.Remove();
  EXPECT_EQ(NewNote(skin).Data().FileName, "\\noname.kli");
}

TEST_F(NoteWindowTest, ShownAndOnTopFollowTheWindow) {
  TQuorSkin& skin = TestSkin();
  TTFoglio& note = NewNote(skin);
  const HWND hwnd = note.hwnd();

  note.SetShown(true);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_TRUE(note.Shown());
  Pump();
  EXPECT_EQ(GetFocus(), note.TextBox().hwnd());
  note.SetShown(false);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_FALSE(note.Shown());

  note.SetOnTop(true);
  EXPECT_TRUE(TopMost(hwnd));
  EXPECT_TRUE(note.OnTop());
  note.SetOnTop(false);
  EXPECT_FALSE(TopMost(hwnd));
  EXPECT_FALSE(note.OnTop());

  // Bringing to the front shows the note and keeps its own on-top state.
  note.setOnFront();
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_FALSE(TopMost(hwnd));
  note.SetOnTop(true);
  note.setOnFront();
  EXPECT_TRUE(TopMost(hwnd));
}

TEST_F(NoteWindowTest, ClosedNoteIsHiddenForGoodWithoutStoreFileOrMenuEntry) {
  TQuorSkin& skin = TestSkin();
  TTFoglio& note = NewNote(skin);
  const std::string store = note.Store().Path();
  WriteBytes(store, "old");
  WriteBytes(NoteStore::FullTextPath(store), "old text");
  const win::UniqueMenu menu(CreatePopupMenu());
  note.ListItem().InsertInto(menu.get(), 0);
  note.SetShown(true);

  note.CloseNote();
  EXPECT_TRUE(note.Closed());
  EXPECT_FALSE(IsWindowVisible(note.hwnd()));
  EXPECT_FALSE(FileExists(store));
  EXPECT_FALSE(FileExists(NoteStore::FullTextPath(store)));
  EXPECT_EQ(GetMenuItemCount(menu.get()), 0);

  note.SetShown(true);
  note.setOnFront();
  EXPECT_FALSE(IsWindowVisible(note.hwnd()));
  Destroy(note);
  EXPECT_FALSE(FileExists(store)) << "a closed note is never written again";
}

TEST_F(NoteWindowTest, ActivableSkinSwitchesBetweenEditBoxAndLabel) {
  TQuorSkin& activable = WriteSkin("activable", TestSkinWith("Window", "Activable=1\r\n"));
  TTFoglio& first = NewNote(activable);
  TTFoglio& second = NewNote(activable);
  first.SetText("one\r\ntwo");
  EXPECT_TRUE(first.TextBox().Visible());

  first.SetEditing(false);
  EXPECT_FALSE(first.TextBox().Visible());
  // Editing one note turns every other note's text into its label.
  second.SetEditing(false);
  const int before = host_.endEditing;
  first.SetEditing(true);
  EXPECT_TRUE(first.TextBox().Visible());
  EXPECT_EQ(host_.endEditing, before + 1);
  EXPECT_FALSE(second.TextBox().Visible());
  second.SetEditing(true);
  EXPECT_TRUE(second.TextBox().Visible());
  EXPECT_FALSE(first.TextBox().Visible());

  // A press on the window starts editing as well.
  SendMessageA(first.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 90));
  SendMessageA(first.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(100, 90));
  EXPECT_TRUE(first.TextBox().Visible());
  EXPECT_FALSE(second.TextBox().Visible());

  // Without Activable the edit boxes always show.
  TTFoglio& plain = NewNote(TestSkin());
  plain.SetEditing(false);
  EXPECT_TRUE(plain.TextBox().Visible());
}

TEST_F(NoteWindowTest, EmptySkinGivesThePlainYellowWindow) {
  TQuorSkin& empty = WriteSkin("empty", "", false);
  TTFoglio& note = NewNote(empty);
  const HWND hwnd = note.hwnd();
  EXPECT_EQ(note.Bounds().Width, 150);
  EXPECT_EQ(note.Bounds().Height, 100);
  EXPECT_FALSE(GetWindowLongPtrA(hwnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
  const RECT box = ChildRect(hwnd, note.TextBox().hwnd());
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 0);
  EXPECT_EQ(box.bottom, 0);
  EXPECT_FALSE(GetWindowLongPtrA(note.TextBox().hwnd(), GWL_STYLE) & WS_BORDER);

  // The window is painted yellow; nothing else is drawn on it.
  note.MoveTo(50, 50);
  note.SetShown(true);
  UpdateWindow(hwnd);
  Pump(100);
  HDC dc = GetDC(hwnd);
  EXPECT_EQ(GetPixel(dc, 75, 50), RGB(255, 255, 0));
  EXPECT_EQ(GetPixel(dc, 2, 2), RGB(255, 255, 0));
  ReleaseDC(hwnd, dc);

  // The font is 8-point arial.
  const auto font = reinterpret_cast<HFONT>(SendMessageA(note.TextBox().hwnd(), WM_GETFONT, 0, 0));
  LOGFONTA log{};
  GetObjectA(font, sizeof log, &log);
  EXPECT_STREQ(log.lfFaceName, "arial");
  EXPECT_EQ(log.lfHeight, -MulDiv(8, 96, 72));

  // No move area, but resizing by the edge band works.
  const int left = note.Bounds().Left, top = note.Bounds().Top;
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(75, 50));
  SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(95, 60));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(95, 60));
  EXPECT_EQ(note.Bounds().Left, left);
  EXPECT_EQ(note.Bounds().Top, top);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(149, 50));
  SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(169, 50));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(169, 50));
  EXPECT_EQ(note.Bounds().Width, 170);
}

TEST_F(NoteWindowTest, TextBoxOfColourIndex254OrMoreTakesTheWindowsOwnColour) {
  // The colours of the window's surface and of the inside of its edit box, as painted.
  const auto paintedColours = [&](const std::string& name, const std::string& colors) {
    const std::string ini =
        "[Colors]\r\n" + colors + "[Text Box]\r\nleft=10\r\ntop=10\r\nright=-10\r\ndown=-10\r\n";
    TTFoglio& note = NewNote(WriteSkin(name, ini, false));
    note.MoveTo(60, 60);
    note.SetShown(true);
    UpdateWindow(note.hwnd());
    Pump(100);
    HDC windowDc = GetDC(note.hwnd());
    const COLORREF window = GetPixel(windowDc, 3, 3);
    ReleaseDC(note.hwnd(), windowDc);
    HDC boxDc = GetDC(note.TextBox().hwnd());
    const COLORREF box = GetPixel(boxDc, 60, 40);
    ReleaseDC(note.TextBox().hwnd(), boxDc);
    return std::pair(window, box);
  };
  // White is never a random entry, so a box that drew a colour of its own would show it.
  const auto [white, whiteBox] = paintedColours("white", "bgk=15\r\nbgktext=254\r\n");
  EXPECT_EQ(white, RGB(255, 255, 255));
  EXPECT_EQ(whiteBox, white);
  const auto [random, randomBox] = paintedColours("random", "bgk=16\r\nbgktext=255\r\n");
  EXPECT_NE(random, RGB(0, 0, 0));
  EXPECT_NE(random, RGB(255, 255, 255));
  EXPECT_EQ(randomBox, random);
}

TEST_F(NoteWindowTest, CaptionTextIsBlackWhateverItsFontColour) {
  const std::string ini =
      "[Colors]\r\nbgk=15\r\n[Caption]\r\nActive=1\r\nleft=4\r\ntop=4\r\n"
      "[Caption Font]\r\nname=Arial\r\nsize=16\r\nBold=1\r\ncolor=9\r\n";
  TTFoglio& note = NewNote(WriteSkin("red-caption", ini, false));
  note.SetFileName("WWWWWW");
  note.MoveTo(60, 60);
  note.SetShown(true);
  UpdateWindow(note.hwnd());
  Pump(100);
  HDC dc = GetDC(note.hwnd());
  int dark = 0, reddish = 0;
  for (int y = 4; y < 34; ++y) {
    for (int x = 4; x < 140; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      if (GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64) ++dark;
      if (GetRValue(c) > GetGValue(c) + 60) ++reddish;
    }
  }
  ReleaseDC(note.hwnd(), dc);
  EXPECT_GT(dark, 20);
  EXPECT_EQ(reddish, 0);
}

TEST_F(NoteWindowTest, SkinPicturesAreDrawnFromTheSharedBitmaps) {
  TQuorSkin& skin = TestSkin();
  TTFoglio& note = NewNote(skin);
  const HWND hwnd = note.hwnd();
  note.MoveTo(100, 100);
  note.SetShown(true);
  UpdateWindow(hwnd);
  Pump(100);
  HDC dc = GetDC(hwnd);
  EXPECT_EQ(GetPixel(dc, 100, 10), RGB(230, 200, 60)) << "title strip";
  EXPECT_EQ(GetPixel(dc, 3, 100), RGB(250, 240, 150)) << "stretched background";
  EXPECT_EQ(GetPixel(dc, 168, 10), RGB(0, 0, 200)) << "minimise button";
  EXPECT_EQ(GetPixel(dc, 160, 17), RGB(230, 200, 60)) << "its transparent corner shows the strip";
  EXPECT_EQ(GetPixel(dc, 189, 10), RGB(200, 0, 0)) << "delete button";
  EXPECT_EQ(GetPixel(dc, 148, 10), RGB(230, 200, 60)) << "no alarm sign while the alarm is off";
  ReleaseDC(hwnd, dc);

  // Stretched pictures follow the size.
  SetWindowPos(hwnd, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  UpdateWindow(hwnd);
  Pump(100);
  dc = GetDC(hwnd);
  EXPECT_EQ(GetPixel(dc, 250, 10), RGB(230, 200, 60));
  EXPECT_EQ(GetPixel(dc, 290, 190), RGB(250, 240, 150));
  EXPECT_EQ(GetPixel(dc, 268, 10), RGB(0, 0, 200));
  ReleaseDC(hwnd, dc);
}

TEST_F(NoteWindowTest, OldFrameSkinGetsAToolWindowFrameWithItsTitle) {
  std::string ini = "[window]\r\nold=1\r\n";
  TTFoglio& named = NewNote(WriteSkin("old", ini, false));
  EXPECT_TRUE(GetWindowLongPtrA(named.hwnd(), GWL_STYLE) & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongPtrA(named.hwnd(), GWL_STYLE) & WS_CAPTION);
  char title[MAX_PATH] = {};
  GetWindowTextA(named.hwnd(), title, sizeof title);
  EXPECT_EQ(title, named.Data().FileName);

  ini += "Standard=1\r\ntitle=Sticky\r\n";
  TTFoglio& standard = NewNote(WriteSkin("standard", ini, false));
  GetWindowTextA(standard.hwnd(), title, sizeof title);
  EXPECT_STREQ(title, "Sticky");
}

TEST_F(NoteWindowTest, ReskinKeepsSizeAndCaptionTextUntilTheNameIsSetAgain) {
  TQuorSkin& skin = TestSkin();
  TTFoglio& note = NewNote(skin);
  note.SetFileName("C:\\notes\\shopping.kli");
  SetWindowPos(note.hwnd(), nullptr, 0, 0, 260, 180, SWP_NOMOVE | SWP_NOZORDER);
  std::string ini = TestSkinWith("Caption", "Onlyfilename=1\r\n");
  ini.insert(ini.find("[Window]\r\n") + 10, "width=100\r\nheight=90\r\n");
  WriteBytes(base_ / "skins" / "test" / "skin.ini", ini);
  skin.ReloadSkin("test", Base());
  note.ApplyNoteSkin();
  EXPECT_EQ(note.Bounds().Width, 260);
  EXPECT_EQ(note.Bounds().Height, 180);
  EXPECT_EQ(note.CaptionText(), "C:\\notes\\shopping.kli");
  note.SetFileName("C:\\notes\\list.kli");
  EXPECT_EQ(note.CaptionText(), "list.kli");
  char title[MAX_PATH] = {};
  GetWindowTextA(note.hwnd(), title, sizeof title);
  EXPECT_STREQ(title, "C:\\notes\\list.kli");
}

TEST_F(NoteWindowTest, MenuEntryFollowsTheNameAndLeavesWithTheNote) {
  TQuorSkin& skin = TestSkin();
  const win::UniqueMenu menu(CreatePopupMenu());
  AppendMenuA(menu.get(), MF_STRING, 100, "Cascade");
  TTFoglio& first = NewNote(skin);
  TTFoglio& second = NewNote(skin);
  first.ListItem().InsertInto(menu.get(), 0);
  second.ListItem().InsertInto(menu.get(), 0);
  ASSERT_EQ(GetMenuItemCount(menu.get()), 3);
  const UINT firstId = first.ListItem().Id(), secondId = second.ListItem().Id();
  EXPECT_NE(firstId, secondId);
  EXPECT_GE(firstId, kNoteMenuFirstId);
  EXPECT_LE(secondId, kNoteMenuLastId);
  EXPECT_EQ(GetMenuItemID(menu.get(), 0), secondId) << "the newest note comes first";

  first.SetFileName("C:\\a&b.kli");
  char caption[MAX_PATH] = {};
  GetMenuStringA(menu.get(), firstId, caption, sizeof caption, MF_BYCOMMAND);
  EXPECT_STREQ(caption, "C:\\a&&b.kli") << "an ampersand in a path is shown, not a mnemonic";
  EXPECT_EQ(first.ListItem().Caption(), "C:\\a&b.kli");

  Destroy(second);
  EXPECT_EQ(GetMenuItemCount(menu.get()), 2);
  // A new entry may take the free id again, never one in use.
  TTFoglio& third = NewNote(skin);
  third.ListItem().InsertInto(menu.get(), 0);
  EXPECT_NE(third.ListItem().Id(), firstId);
}

TEST_F(NoteWindowTest, OwnTrayIconClickBringsTheNoteToTheFront) {
  TQuorSkin& skin = TestSkin();
  TTFoglio& note = NewNote(skin, false, true);
  EXPECT_TRUE(note.Data().OwnTrayIcon);
  EXPECT_FALSE(IsWindowVisible(note.hwnd()));
  SendMessageA(note.hwnd(), WM_APP + 1, 1, WM_LBUTTONUP);
  EXPECT_TRUE(IsWindowVisible(note.hwnd()));
  note.SetOwnTrayIcon(false);
  EXPECT_FALSE(note.Data().OwnTrayIcon);
}

TEST_F(NoteWindowTest, DroppedFilesGoFirstIntoTheNoteThenIntoNewNotesUncut) {
  TTFoglio& note = NewNote(TestSkin());
  const std::string first = Base() + "\\dropped.txt";
  WriteBytes(first, "dropped text");
  const std::string files[] = {first, "C:\\two.kli", "C:\\" + std::string(300, 'n') + ".txt"};
  std::string list;
  for (const std::string& f : files) list += f + '\0';
  list += '\0';
  // The drop block must lie in this process's memory, as Windows hands it over.
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(memory);
  SendMessageA(note.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  EXPECT_EQ(note.TextBox().Text(), "dropped text");
  EXPECT_EQ(note.Data().FileName, first);
  ASSERT_EQ(host_.opened.size(), 2u);
  EXPECT_EQ(host_.opened[0], files[1]);
  EXPECT_EQ(host_.opened[1], files[2]);
}

}  // namespace
}  // namespace note_test
