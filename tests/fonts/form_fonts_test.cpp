// The alarm dialog and the options dialog where the dialog font is missing and Windows falls
// back to a wider one: every caption shows whole, nothing overlaps, and the forms hold their
// controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "alarms/alarm_dialog.h"
#include "app/options_dialog.h"
#include "tests/win/app_test_support.h"
#include "tests/win/registry_test_root.h"
#include "win/handles.h"

namespace {

enum class Kind { Text, CheckBox, Around, Other };  // Around: groups, tabs, frames lie around others

Kind KindOf(HWND w) {
  char name[64] = {};
  GetClassNameA(w, name, sizeof name);
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE));
  const std::string className = name;
  if (className == "SysTabControl32") return Kind::Around;
  if (className == "Static")
    return (style & SS_TYPEMASK) >= SS_BLACKRECT && (style & SS_TYPEMASK) <= SS_WHITEFRAME ? Kind::Around : Kind::Text;
  if (className != "Button") return Kind::Other;
  const DWORD type = style & BS_TYPEMASK;
  return type == BS_GROUPBOX ? Kind::Around : type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON ? Kind::CheckBox : Kind::Text;
}

// How wide the control's caption is in its font; `face` gets the font's name.
int CaptionWidth(HWND w, std::string& caption, std::string& face) {
  win::WindowDc dc(w);
  win::SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(w, WM_GETFONT, 0, 0)));
  char text[256] = {}, name[LF_FACESIZE] = {};
  GetWindowTextA(w, text, sizeof text);
  GetTextFaceA(dc.get(), sizeof name, name);
  caption = text;
  face = name;
  RECT r{};
  DrawTextA(dc.get(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
  return r.right;
}

// What a person would see wrong on the form as it shows now: a caption wider than its control
// (less a check box's square), a control past the form's edge, two controls on one another.
// The font the captions show in must not be the dialog font, or the run proves nothing.
std::vector<std::string> Faults(HWND form) {
  RECT client{};
  GetClientRect(form, &client);
  std::vector<std::pair<HWND, RECT>> shown;
  std::vector<std::string> faults;
  for (HWND w = GetWindow(form, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (!IsWindowVisible(w)) continue;
    RECT r{};
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    std::string caption, face;
    const int width = CaptionWidth(w, caption, face);
    const Kind kind = KindOf(w);
    if (face == "MS Sans Serif") faults.push_back("the dialog font was not hidden");
    if (r.right > client.right || r.bottom > client.bottom) faults.push_back(caption + " reaches past the form");
    const int room = r.right - r.left - (kind == Kind::CheckBox ? GetSystemMetrics(SM_CXMENUCHECK) : 0);
    if ((kind == Kind::Text || kind == Kind::CheckBox) && width > room) faults.push_back(caption + " is cut");
    RECT both{};
    for (const auto& [other, o] : shown)
      if (kind != Kind::Around && KindOf(other) != Kind::Around && IntersectRect(&both, &r, &o))
        faults.push_back(caption + " lies on another control");
    shown.emplace_back(w, r);
  }
  return faults;
}

TEST(FormFonts, InAWideFallbackFontTheAlarmAndOptionsDialogsShowWholeTexts) {
  TTFormAlarm alarm(nullptr);
  alarm.ShowModeless();
  EXPECT_EQ(Faults(alarm.hwnd()), std::vector<std::string>{});
  alarm.Close(win::ModalResult::Cancel);

  TestRegistryRoot sounds("FormFonts");
  TFOptions options(nullptr, TQuorSettings{}, app_test::WindowsPath(QKLI_PROGRAM_DIR), sounds.get());
  options.ShowModeless();
  for (int page = TFOptions::kGeneralPage; page <= TFOptions::kKeysPage; ++page) {
    options.ShowPage(page);
    EXPECT_EQ(Faults(options.hwnd()), std::vector<std::string>{}) << "page " << page;
  }
}

}  // namespace
