// The alarm dialog and the options dialog where the dialog font is missing and Windows falls
// back to a wider one: every caption shows whole, nothing overlaps, and the forms hold their
// controls. Each form (each page) is kept as a screenshot for a person to look at.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "alarms/alarm_dialog.h"
#include "app/options_dialog.h"
#include "tests/win/app_test_support.h"
#include "tests/win/bmp_file.h"
#include "tests/win/registry_test_root.h"
#include "win/handles.h"
#include "win/message_loop.h"

namespace {

std::string ClassOf(HWND w) {
  char name[64] = {};
  GetClassNameA(w, name, sizeof name);
  return name;
}
DWORD StyleOf(HWND w) { return static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE)); }
bool IsButton(HWND w, std::initializer_list<DWORD> types) {
  const DWORD type = StyleOf(w) & BS_TYPEMASK;
  return ClassOf(w) == "Button" && std::find(types.begin(), types.end(), type) != types.end();
}
// Group boxes, the tab control and frames lie around other controls by design.
bool Surrounds(HWND w) {
  const DWORD frame = StyleOf(w) & SS_TYPEMASK;
  return IsButton(w, {BS_GROUPBOX}) || ClassOf(w) == "SysTabControl32" ||
         (ClassOf(w) == "Static" && frame >= SS_BLACKRECT && frame <= SS_WHITEFRAME);
}
std::string Caption(HWND w) {
  char text[256] = {};
  GetWindowTextA(w, text, sizeof text);
  return text;
}

// How wide the control's caption is in its font; `face` tells the font's name.
int CaptionWidth(HWND w, std::string* face = nullptr) {
  win::WindowDc dc(w);
  win::SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(w, WM_GETFONT, 0, 0)));
  char name[LF_FACESIZE] = {};
  GetTextFaceA(dc.get(), sizeof name, name);
  if (face != nullptr) *face = name;
  RECT r{};
  DrawTextA(dc.get(), Caption(w).c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  return r.right;
}

// What a person would see wrong on the form as it shows now: a caption wider than its control
// (less a check box's square), a control past the form's edge, two controls on one another.
std::vector<std::string> Faults(HWND form) {
  std::vector<HWND> shown;
  for (HWND w = GetWindow(form, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT))
    if (IsWindowVisible(w)) shown.push_back(w);
  RECT client{};
  GetClientRect(form, &client);
  const auto place = [form](HWND w, RECT r = {}) {
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  std::vector<std::string> faults;
  for (HWND w : shown) {
    const RECT r = place(w);
    const std::string name = "\"" + Caption(w) + "\" (" + ClassOf(w) + ")";
    if (r.right > client.right || r.bottom > client.bottom) faults.push_back(name + " reaches past the form");
    const bool check = IsButton(w, {BS_AUTOCHECKBOX, BS_CHECKBOX, BS_AUTORADIOBUTTON, BS_RADIOBUTTON});
    const int room = (r.right - r.left) - (check ? GetSystemMetrics(SM_CXMENUCHECK) : 0);
    const bool texted = ClassOf(w) == "Static" || IsButton(w, {BS_PUSHBUTTON, BS_DEFPUSHBUTTON}) || check;
    if (texted && !Surrounds(w) && CaptionWidth(w) > room) faults.push_back(name + " is cut");
    for (HWND other : shown) {
      RECT both{}, o = place(other);
      if (other < w && !Surrounds(w) && !Surrounds(other) && IntersectRect(&both, &r, &o))
        faults.push_back(name + " lies on \"" + Caption(other) + "\"");
    }
  }
  return faults;
}

// The form as it shows on the screen, as a BMP file in the shots folder.
void KeepShot(HWND form, const std::string& name) {
  RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  win::ProcessWaitingMessages();
  RECT r{};
  GetWindowRect(form, &r);
  win::WindowDc screen;
  win::UniqueMemoryDc copy(CreateCompatibleDC(screen.get()));
  win::UniqueBitmap picture(CreateCompatibleBitmap(screen.get(), r.right - r.left, r.bottom - r.top));
  win::SelectedObject selected(copy.get(), picture.get());
  BitBlt(copy.get(), 0, 0, r.right - r.left, r.bottom - r.top, screen.get(), r.left, r.top, SRCCOPY);
  CreateDirectoryA(app_test::WindowsPath(QKLI_SHOTS_DIR).c_str(), nullptr);
  std::ofstream(app_test::WindowsPath(QKLI_SHOTS_DIR) + "\\" + name + ".bmp", std::ios::binary)
      << test_bmp::BmpFile(r.right - r.left, r.bottom - r.top, [&](int x, int y) { return GetPixel(copy.get(), x, y); });
}

TEST(FormFonts, InAWideFallbackFontTheAlarmAndOptionsDialogsShowWholeTexts) {
  TTFormAlarm alarm(nullptr);
  std::string face;
  CaptionWidth(alarm.Item(TTFormAlarm::CBEveryDay), &face);
  ASSERT_NE(face, "MS Sans Serif") << "the dialog font was not hidden";
  alarm.ShowModeless();
  KeepShot(alarm.hwnd(), "alarm-dialog-fallback-font");
  EXPECT_EQ(Faults(alarm.hwnd()), std::vector<std::string>{});
  alarm.Close(win::ModalResult::Cancel);

  TestRegistryRoot sounds("FormFonts");
  TFOptions options(nullptr, TQuorSettings{}, app_test::WindowsPath(QKLI_PROGRAM_DIR), sounds.get());
  options.ShowModeless();
  for (int page = TFOptions::kGeneralPage; page <= TFOptions::kKeysPage; ++page) {
    options.ShowPage(page);
    KeepShot(options.hwnd(), "options-dialog-fallback-font-" + std::to_string(page));
    EXPECT_EQ(Faults(options.hwnd()), std::vector<std::string>{}) << "page " << page;
  }
}

}  // namespace
