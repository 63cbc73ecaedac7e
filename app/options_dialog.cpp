#include "app/options_dialog.h"

#include <commctrl.h>

#include <utility>
#include <variant>

#include "app/settings_file.h"
#include "storage/overloaded.h"
#include "mail/password_store_win.h"
#include "mail/smtp_security.h"
#include "res/resource_ids.h"
#include "win/error_box.h"
#include "win/file_dialog.h"

namespace {

using Row = win::ControlRow<TFOptions>;
using O = TFOptions;

constexpr const char* kPages[] = {"General", "Tray Icon", "Mail account", "Sound ", "Default", "Keys"};
constexpr const char* kStartupEntries[] = {"Show the last state", "Show all K-lI", "Don't show K-lI"};
constexpr const char* kTrayActionEntries[] = {"Create new K-lI", "Show all K-lI", "Show/Hide all K-lI", "Show Menu",
                                              "None"};
// In the order of the sound events, so that a position in the list is the event's index.
constexpr const char* kSoundEntries[kQuorEventCount] = {"Minimize K-lI", "Maximize K-lI", "Delete K-lI",
                                                        "K-lI Menu",     "K-lI Alarm",    "New K-lI note"};
constexpr const char* kTrayActionPrompt = "<select an action>";
// In the order of MailSecurity.
constexpr const char* kSecurityEntries[kMailSecurityCount] = {"None", "STARTTLS", "TLS"};
// What the masked password field holds while a stored password is left as it is: never the
// password itself, which the dialog does not decrypt.
constexpr const char* kStoredPasswordMark = "(stored)";

// The icons sit 45 pixels apart; the 42-pixel frame around the chosen one leaves 5 on each side.
constexpr int kIconLeft = 104, kIconTop = 166, kIconStep = 45, kIconSize = 32, kFrameMargin = 5;
constexpr int IconLeft(int index) { return kIconLeft + kIconStep * index; }

// The longest text a string record holds; the fields take no more, so nothing is cut unseen.
constexpr WPARAM kTextLimit = 255;

// Which setting each control shows, in the order OK takes them back. TrayIconIndex is the icon
// frame's; the port is the number in its field.
struct Binding {
  int id;
  SettingsField field;
};
constexpr Binding kBindings[] = {
    {O::kRunAtStartup, &TQuorSettings::RunAtStartup},
    {O::kShowAllOnAdd, &TQuorSettings::ShowAllOnAdd},
    {O::kAllOnTop, &TQuorSettings::AllOnTop},
    {O::kDeleteToRecycleBin, &TQuorSettings::DeleteToRecycleBin},
    {O::kStartupShow, &TQuorSettings::StartupShow},
    {O::kTrayClickAction, &TQuorSettings::TrayClickAction},
    {O::kIconFrame, &TQuorSettings::TrayIconIndex},
    {O::kSmtpServer, &TQuorSettings::SmtpServer},
    {O::kUserName, &TQuorSettings::UserName},
    {O::kUserMail, &TQuorSettings::UserMail},
    {O::kSmtpPort, &TQuorSettings::SmtpPort},
    {O::kSecurity, &TQuorSettings::SmtpSecurity},
    {O::kSignInName, &TQuorSettings::SmtpSignInName},
    {O::kPassword, &TQuorSettings::SmtpPassword},
    {O::kShowInTrayArea, &TQuorSettings::ShowInTrayArea},
    {O::kInsertDateTime, &TQuorSettings::InsertDateTime},
};

constexpr std::pair<int, HotKey TQuorSettings::*> kKeyFields[] = {
    {O::kNewNoteKey, &TQuorSettings::NewNoteKey},
    {O::kShowHideKey, &TQuorSettings::ShowHideKey},
    {O::kFindKey, &TQuorSettings::FindKey},
};

// The key field's value (HKM_SETHOTKEY): the key code, then HOTKEYF_ flags, which order Shift,
// Ctrl and Alt the other way round from RegisterHotKey's. The field knows no Win key.
WPARAM FieldValueOf(HotKey key) {
  BYTE flags = 0;
  if (key.Modifiers & kModShift) flags |= HOTKEYF_SHIFT;
  if (key.Modifiers & kModControl) flags |= HOTKEYF_CONTROL;
  if (key.Modifiers & kModAlt) flags |= HOTKEYF_ALT;
  return MAKEWORD(key.Key, flags);
}

HotKey KeyOfFieldValue(LRESULT value) {
  const BYTE flags = HIBYTE(LOWORD(value));
  HotKey key{0, LOBYTE(LOWORD(value))};
  if (flags & HOTKEYF_SHIFT) key.Modifiers |= kModShift;
  if (flags & HOTKEYF_CONTROL) key.Modifiers |= kModControl;
  if (flags & HOTKEYF_ALT) key.Modifiers |= kModAlt;
  return key;
}

// The typed password as UTF-8, encrypted; none for an empty field. The plain text is read into
// memory that is wiped when it is given back, never into a string.
std::vector<uint8_t> TypedPassword(HWND field) {
  const int length = GetWindowTextLengthW(field);
  if (length <= 0) return {};
  std::vector<wchar_t, WipingAllocator<wchar_t>> typed(static_cast<std::size_t>(length) + 1);
  const int read = GetWindowTextW(field, typed.data(), length + 1);
  WipedBytes utf8(static_cast<std::size_t>(std::max(read, 0)) * 4);
  const int size = WideCharToMultiByte(CP_UTF8, 0, typed.data(), read, utf8.data(), static_cast<int>(utf8.size()),
                                       nullptr, nullptr);
  return ProtectPassword(std::string_view(utf8.data(), static_cast<std::size_t>(std::max(size, 0))));
}

}  // namespace

std::span<const win::ControlRow<TFOptions>> TFOptions::Rows() {
  using win::kButton, win::kComboBox, win::kEdit, win::kLabel;
  constexpr DWORD kCheck = BS_AUTOCHECKBOX, kGroup = BS_GROUPBOX;
  constexpr DWORD kPickList = CBS_DROPDOWNLIST | WS_VSCROLL;
  static constexpr Row kRows[] = {
      {kLabel, "", kLogo, 0, 0, 49, 283, SS_BITMAP | SS_CENTERIMAGE},

      {kButton, "General Options", 0, 64, 34, 366, 118, kGroup, kGeneralPage},
      {kButton, "Run at windows startup", kRunAtStartup, 80, 56, 280, 17, kCheck, kGeneralPage},
      {kButton, "Show all K-lI when add one", kShowAllOnAdd, 80, 79, 280, 17, kCheck, kGeneralPage},
      {kButton, "All K-lI always on top", kAllOnTop, 80, 102, 280, 17, kCheck, kGeneralPage},
      {kButton, "Delete K-lI to recycle bin", kDeleteToRecycleBin, 80, 125, 280, 17, kCheck, kGeneralPage},
      {kLabel, "At startup:", 0, 68, 173, 70, 13, 0, kGeneralPage},
      {kComboBox, "", kStartupShow, 142, 169, 170, 100, kPickList, kGeneralPage},

      {kButton, "TrayIcon action:", 0, 64, 34, 366, 78, kGroup, kTrayIconPage},
      {kLabel, "Left button click on tray icon causes:", 0, 80, 54, 280, 13, 0, kTrayIconPage},
      {kComboBox, "", kTrayClickAction, 80, 74, 190, 120, CBS_DROPDOWN | WS_VSCROLL, kTrayIconPage},
      {kButton, "TrayIcon Preferences:", 0, 64, 120, 366, 100, kGroup, kTrayIconPage},
      {kLabel, "Select an Icon:", 0, 80, 140, 200, 13, 0, kTrayIconPage},
      {kLabel, "", kIconFrame, IconLeft(0) - kFrameMargin, kIconTop - kFrameMargin, 42, 42, SS_BLACKFRAME,
       kTrayIconPage},
      {kLabel, "", kIcon0, IconLeft(0), kIconTop, kIconSize, kIconSize, SS_ICON | SS_NOTIFY, kTrayIconPage,
       &TFOptions::IconClick<0>},
      {kLabel, "", kIcon0 + 1, IconLeft(1), kIconTop, kIconSize, kIconSize, SS_ICON | SS_NOTIFY, kTrayIconPage,
       &TFOptions::IconClick<1>},
      {kLabel, "", kIcon0 + 2, IconLeft(2), kIconTop, kIconSize, kIconSize, SS_ICON | SS_NOTIFY, kTrayIconPage,
       &TFOptions::IconClick<2>},
      {kLabel, "", kIcon0 + 3, IconLeft(3), kIconTop, kIconSize, kIconSize, SS_ICON | SS_NOTIFY, kTrayIconPage,
       &TFOptions::IconClick<3>},

      {kButton, "Mail server:", 0, 64, 34, 366, 86, kGroup, kMailPage},
      {kLabel, "Outgoing mail (SMTP):", 0, 80, 60, 132, 13, 0, kMailPage},
      {kEdit, "", kSmtpServer, 216, 56, 200, 21, ES_AUTOHSCROLL, kMailPage},
      {kLabel, "Port:", 0, 80, 89, 132, 13, 0, kMailPage},
      {kEdit, "", kSmtpPort, 216, 85, 60, 21, ES_AUTOHSCROLL | ES_NUMBER, kMailPage},
      {kLabel, "Security:", 0, 286, 89, 48, 13, 0, kMailPage},
      {kComboBox, "", kSecurity, 336, 85, 80, 100, kPickList, kMailPage, &TFOptions::SecurityChosen},
      {kButton, "Identity:", 0, 64, 128, 366, 86, kGroup, kMailPage},
      {kLabel, "User name:", 0, 80, 154, 132, 13, 0, kMailPage},
      {kEdit, "", kUserName, 216, 150, 200, 21, ES_AUTOHSCROLL, kMailPage},
      {kLabel, "User email:", 0, 80, 183, 132, 13, 0, kMailPage},
      {kEdit, "", kUserMail, 216, 179, 200, 21, ES_AUTOHSCROLL, kMailPage},
      {kLabel, "Sign-in name:", 0, 80, 223, 68, 13, 0, kMailPage},
      {kEdit, "", kSignInName, 150, 219, 118, 21, ES_AUTOHSCROLL, kMailPage},
      {kLabel, "Password:", 0, 274, 223, 50, 13, 0, kMailPage},
      {kEdit, "", kPassword, 326, 219, 90, 21, ES_AUTOHSCROLL | ES_PASSWORD, kMailPage, &TFOptions::PasswordTyped},

      {kButton, "Sound events", 0, 64, 34, 366, 186, kGroup, kSoundPage},
      {kLabel, "Sound events", 0, 80, 56, 200, 13, 0, kSoundPage},
      {kComboBox, "", kSoundList, 80, 74, 240, 130, kPickList, kSoundPage, &TFOptions::SoundChosen},
      {kButton, "Try", kSoundTry, 334, 73, 80, 23, 0, kSoundPage, &TFOptions::TryClick},
      {kLabel, "File:", 0, 80, 116, 200, 13, 0, kSoundPage},
      {kEdit, "", kSoundFile, 80, 134, 334, 21, ES_AUTOHSCROLL, kSoundPage},
      {kButton, "Change", kSoundChange, 248, 170, 80, 23, 0, kSoundPage, &TFOptions::ChangeClick},
      {kButton, "None", kSoundNone, 334, 170, 80, 23, 0, kSoundPage, &TFOptions::NoneClick},

      {kButton, "When create a K-lI", 0, 64, 34, 366, 80, kGroup, kDefaultPage},
      {kButton, "Show K-lI in then tray icon area", kShowInTrayArea, 80, 58, 280, 17, kCheck, kDefaultPage},
      {kButton, "Insert Date/Time", kInsertDateTime, 80, 83, 280, 17, kCheck, kDefaultPage},

      {kButton, "Keys from anywhere", 0, 64, 34, 366, 110, kGroup, kKeysPage},
      {kLabel, "New K-lI:", 0, 80, 60, 132, 13, 0, kKeysPage},
      {win::kHotKeyField, "", kNewNoteKey, 216, 56, 180, 21, 0, kKeysPage},
      {kLabel, "Show/Hide all K-lI:", 0, 80, 89, 132, 13, 0, kKeysPage},
      {win::kHotKeyField, "", kShowHideKey, 216, 85, 180, 21, 0, kKeysPage},
      {kLabel, "Find in all K-lI:", 0, 80, 118, 132, 13, 0, kKeysPage},
      {win::kHotKeyField, "", kFindKey, 216, 114, 180, 21, 0, kKeysPage},

      {kButton, "OK", IDOK, 282, 252, 75, 25, BS_DEFPUSHBUTTON, 0, &TFOptions::OkClick},
      {kButton, "Abort", kAbort, 362, 252, 75, 25, 0, 0, &TFOptions::CloseAbort},
  };
  return kRows;
}

TFOptions::TFOptions(HWND owner, const TQuorSettings& settings, const std::string& libraryFolder, HKEY soundRoot)
    : Form({.className = "TFOptions",
            .caption = "General Options",
            .clientWidth = 445,
            .clientHeight = 283,
            .owner = owner,
            .exStyle = WS_EX_TOOLWINDOW,
            .pages = kPages,
            .pagesArea = {55, 6, 439, 244}}),
      logo_(kResourceLibrary, "LOGOBMP", libraryFolder),
      sounds_(true, soundRoot) {
  AddControls<TFOptions>(Rows());
  if (logo_.Bitmap() != nullptr)
    SendMessageA(Item(kLogo), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_.Bitmap()));
  ShowIcons();

  for (const char* entry : kStartupEntries) AddItem(kStartupShow, entry);
  for (const char* entry : kTrayActionEntries) AddItem(kTrayClickAction, entry);
  for (const char* entry : kSoundEntries) AddItem(kSoundList, entry);
  for (const char* entry : kSecurityEntries) AddItem(kSecurity, entry);
  // Only entries of the lists ever show: nothing typed reaches them, and the tray action's text
  // box takes no editing either (its prompt is not an entry; arrows would step past it).
  IgnoreTyping(kStartupShow);
  IgnoreTyping(kTrayClickAction, true);
  IgnoreTyping(kSoundList);
  IgnoreTyping(kSoundFile);
  COMBOBOXINFO combo{};
  combo.cbSize = sizeof combo;
  if (GetComboBoxInfo(Item(kTrayClickAction), &combo)) SendMessageA(combo.hwndItem, EM_SETREADONLY, TRUE, 0);
  SetText(kTrayClickAction, kTrayActionPrompt);
  for (const int id : {kSmtpServer, kUserName, kUserMail, kSignInName, kPassword})
    SendMessageA(Item(id), EM_LIMITTEXT, kTextLimit, 0);

  Select(kSoundList, evMinimize);
  SoundChosen();
  Fill(settings);
  passwordTyped_ = false;  // the mark Fill put there is no typing
  FillKeys(settings);
}

void TFOptions::FillKeys(const TQuorSettings& settings) {
  filledKeys_ = settings;
  for (const auto& [id, member] : kKeyFields) {
    // A key alone or with Shift only would take typing from every program: the field adds
    // Ctrl+Alt to it.
    SendMessageA(Item(id), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    SendMessageA(Item(id), HKM_SETHOTKEY, FieldValueOf(settings.*member), 0);
  }
}

void TFOptions::TakeKeys(TQuorSettings& settings) const {
  for (const auto& [id, member] : kKeyFields) {
    const LRESULT value = SendMessageA(Item(id), HKM_GETHOTKEY, 0, 0);
    const HotKey filled = filledKeys_.*member;
    settings.*member = LOWORD(value) == FieldValueOf(filled) ? filled : KeyOfFieldValue(value);
  }
}

void TFOptions::ShowIcons() {
  for (int i = 0; i < kIconCount; ++i) {
    win::UniqueIcon& icon = icons_[static_cast<size_t>(i)];
    icon.reset(static_cast<HICON>(
        LoadImageA(win::ProgramInstance(), MAKEINTRESOURCEA(IDI_TRAY0 + i), IMAGE_ICON, kIconSize, kIconSize, 0)));
    if (icon) SendMessageA(Item(kIcon0 + i), STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
  }
}

void TFOptions::Fill(const TQuorSettings& settings) {
  for (const Binding& binding : kBindings) {
    const int id = binding.id;
    std::visit(Overloaded{
                   [](SettingsHeader) {},
                   [&](std::string TQuorSettings::*member) { SetText(id, settings.*member); },
                   [&](bool TQuorSettings::*member) { SetChecked(id, settings.*member); },
                   [&](uint8_t TQuorSettings::*member) {
                     if (id == kIconFrame) ChooseIcon(settings.*member);
                     else Select(id, settings.*member);
                   },
                   [&](uint16_t TQuorSettings::*member) { SetText(id, std::to_string(settings.*member)); },
                   [&](std::vector<uint8_t> TQuorSettings::*member) {
                     SetText(id, (settings.*member).empty() ? "" : kStoredPasswordMark);
                   },
                   [](HotKey TQuorSettings::*) {},  // the Keys page's fields, FillKeys
               },
               binding.field);
  }
}

void TFOptions::TakeSettings(TQuorSettings& settings) const {
  for (const Binding& binding : kBindings) {
    const int id = binding.id;
    std::visit(Overloaded{
                   [](SettingsHeader) {},
                   [&](std::string TQuorSettings::*member) { settings.*member = Text(id); },
                   [&](bool TQuorSettings::*member) { settings.*member = Checked(id); },
                   [&](uint8_t TQuorSettings::*member) {
                     const int chosen = id == kIconFrame ? chosenIcon_ : Selection(id);
                     if (chosen >= 0) settings.*member = static_cast<uint8_t>(chosen);
                   },
                   [&](uint16_t TQuorSettings::*member) {
                     if (const auto port = ParseSmtpPort(Text(id))) settings.*member = *port;
                   },
                   [&](std::vector<uint8_t> TQuorSettings::*member) {
                     if (passwordTyped_) settings.*member = TypedPassword(Item(id));
                   },
                   [](HotKey TQuorSettings::*) {},  // TakeKeys
               },
               binding.field);
  }
  TakeKeys(settings);
}

void TFOptions::ChooseIcon(int index) {
  if (index < 0 || index >= kIconCount) return;
  chosenIcon_ = index;
  MoveControl(kIconFrame, IconLeft(index) - kFrameMargin, kIconTop - kFrameMargin);
}

void TFOptions::OkClick() {
  // A port that does not fit is refused rather than cut to something the user never typed.
  if (!ParseSmtpPort(Text(kSmtpPort))) {
    ShowPage(kMailPage);
    win::ShowErrorBox(kSmtpPortRangeMessage);
    SetFocus(Item(kSmtpPort));
    SendMessageA(Item(kSmtpPort), EM_SETSEL, 0, -1);
    return;
  }
  Close(win::ModalResult::Ok);
}

void TFOptions::SecurityChosen() {
  const int chosen = Selection(kSecurity);
  if (chosen < 0) return;
  if (const auto port = PortForSecurity(Text(kSmtpPort), static_cast<MailSecurity>(chosen)))
    SetText(kSmtpPort, std::to_string(*port));
}

int TFOptions::ChosenEvent() const {
  const int chosen = Selection(kSoundList);
  return chosen < 0 ? evMinimize : chosen;
}

void TFOptions::SoundChosen() { SetText(kSoundFile, sounds_.GetEventSound(ChosenEvent())); }

void TFOptions::TryClick() { sounds_.PlayEvent(ChosenEvent()); }

void TFOptions::ChangeClick() {
  const auto file = win::AskFileName(hwnd(), win::FileDialogKind::Open, "Wave files\0*.wav\0");
  if (!file) return;
  sounds_.SetEventSound(ChosenEvent(), *file);
  SetText(kSoundFile, *file);
}

void TFOptions::NoneClick() {
  sounds_.SetEventSound(ChosenEvent(), std::string());
  SetText(kSoundFile, std::string());
}
