#include "mail/mail_to_form.h"

#include <commctrl.h>
#include <windowsx.h>

namespace {

// Ids of the list's context menu, above those of the controls.
constexpr UINT kPopupFirstId = 200;

}  // namespace

std::span<const win::ControlRow<TTMailTo>> TTMailTo::Rows() {
  using Row = win::ControlRow<TTMailTo>;
  using win::kButton, win::kEdit, win::kLabel, win::kListBox;

  constexpr DWORD kListStyle = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;

  static constexpr Row kRows[] = {
      {kLabel, "To:", 0, 8, 12, 44, 13},
      {kEdit, "", TTMailTo::Edit1, 56, 8, 224, 21, ES_AUTOHSCROLL},
      {kButton, "+", TTMailTo::SpeedButton1, 286, 8, 25, 21, BS_FLAT, 0, &TTMailTo::SpeedButton1Click},
      {kLabel, "Subject:", 0, 8, 40, 44, 13},
      {kEdit, "", TTMailTo::Edit2, 56, 36, 255, 21, ES_AUTOHSCROLL},
      {kButton, "Recipient list", 0, 8, 66, 303, 148, BS_GROUPBOX},
      {kListBox, "", TTMailTo::ListBox1, 16, 84, 287, 122, kListStyle},
      {kLabel, "To send all K-lI click on 'Send K-lI' options on ", 0, 8, 222, 303, 13, SS_NOPREFIX},
      {kLabel, "the main menu", 0, 8, 237, 303, 13, SS_NOPREFIX},
      {kButton, "Clear", TTMailTo::Button1, 8, 259, 75, 25, 0, 0, &TTMailTo::Button1Click},
      {kButton, "OK", TTMailTo::BitBtn1, 152, 259, 75, 25, BS_DEFPUSHBUTTON, 0, &TTMailTo::CloseOk},
      {kButton, "&Abort", TTMailTo::BitBtn2, 236, 259, 75, 25, 0, 0, &TTMailTo::CloseAbort},
  };
  return kRows;
}

std::span<const win::CommandRow<TTMailTo>> TTMailTo::PopupMenu1Rows() {
  static constexpr win::CommandRow<TTMailTo> kPopupRows[] = {
      {"Insert to field", nullptr, &TTMailTo::SpeedButton1Click},
      {"Delete this", nullptr, &TTMailTo::Deletethis1Click},
      {"-"},
      {"Clear list", nullptr, &TTMailTo::Button1Click},
  };
  return kPopupRows;
}

TTMailTo::TTMailTo(HWND owner)
    : Form({.className = "TTMailTo",
            .caption = "Mail K-lI to",
            .clientWidth = 319,
            .clientHeight = 292,
            .owner = owner,
            .exStyle = 0}),
      PopupMenu1(PopupMenu1Rows(), kPopupFirstId) {
  AddControls<TTMailTo>(Rows());
  AddHint(SpeedButton1, "Add to recipient list");
}

void TTMailTo::AddHint(int id, const char* text) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_BAR_CLASSES};
  InitCommonControlsEx(&init);
  if (hints_ == nullptr) {
    hints_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, win::ProgramInstance(),
                             nullptr);
  }
  if (hints_ == nullptr) return;  // a form without hints still works
  TTTOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(Item(id));
  tool.lpszText = const_cast<char*>(text);
  SendMessageA(hints_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void TTMailTo::SetFields(const std::string& to, const std::string& subject,
                         const std::vector<std::string>& recipients) {
  SetText(Edit1, to);
  SetText(Edit2, subject);
  ClearItems(ListBox1);
  for (const std::string& recipient : recipients) AddItem(ListBox1, recipient);
}

std::vector<std::string> TTMailTo::Recipients() const {
  std::vector<std::string> recipients;
  const int count = ItemCount(ListBox1);
  for (int i = 0; i < count; ++i) recipients.push_back(ItemText(ListBox1, i));
  return recipients;
}

void TTMailTo::SpeedButton1Click() {
  const std::string to = Text(Edit1);
  if (to.empty()) return;
  AddItem(ListBox1, to);
  SetText(Edit1, "");
}

void TTMailTo::Deletethis1Click() {
  if (const int selected = Selection(ListBox1); selected >= 0) DeleteItem(ListBox1, selected);
}

void TTMailTo::Button1Click() { ClearItems(ListBox1); }

LRESULT TTMailTo::handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CONTEXTMENU && reinterpret_cast<HWND>(wp) == Item(ListBox1)) {
    POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (lp == -1) {
      at = {0, 0};
      ClientToScreen(Item(ListBox1), &at);
    }
    PopupMenu1.TrackAndRun(*this, hwnd(), at);
    return 0;
  }
  return Form::handle(msg, wp, lp);
}
