#pragma once
// The options dialog "General Options": five pages of settings filled from the settings record
// and read back into it when the user presses OK. The Sound page is the exception: it edits the
// sound events in the user's registry at once, through a sound-event object of its own, and no
// "Abort" takes that back.
#include <windows.h>

#include <array>
#include <span>
#include <string>

#include "win/dll_loader.h"
#include "app/settings.h"
#include "look/sound_events.h"
#include "win/form.h"
#include "win/handles.h"

class TFOptions final : public win::Form {
 public:
  enum Id : int {
    kLogo = 100,
    kRunAtStartup,
    kShowAllOnAdd,
    kAllOnTop,
    kDeleteToRecycleBin,
    kStartupShow,
    kTrayClickAction,
    kIconFrame,
    kIcon0,  // kIcon0 + index for the four icons
    kSmtpServer = kIcon0 + 4,
    kSmtpPort,
    kUserName,
    kUserMail,
    kSoundList,
    kSoundTry,
    kSoundFile,
    kSoundChange,
    kSoundNone,
    kShowInTrayArea,
    kInsertDateTime,
    kNewNoteKey,  // the keys from anywhere, in the order of HotKeyAction
    kShowHideKey,
    kFindKey,
    kSecurity,
    kSignInName,
    kPassword,
    kAbort = IDCANCEL,  // Esc presses it too
  };
  enum : int { kGeneralPage = 1, kTrayIconPage, kMailPage, kSoundPage, kDefaultPage, kKeysPage };
  static constexpr int kIconCount = 4;

  // The picture comes from the resource library in `libraryFolder` (empty: the program folder);
  // the Sound page edits the sound events under `soundRoot`.
  TFOptions(HWND owner, const TQuorSettings& settings, const std::string& libraryFolder = {},
            HKEY soundRoot = HKEY_CURRENT_USER);

  // The dialog's choices into `settings`, in the order of the pages: the General page, the tray
  // action and icon, the mail account, the Default page. A list without a chosen entry keeps its
  // setting, as does a port field that holds no port (OK refuses to close on one). The stored
  // password stays unless the user typed in its field: then it is the typed one, encrypted,
  // or none when the field was emptied.
  void TakeSettings(TQuorSettings& settings) const;

  int ChosenIcon() const { return chosenIcon_; }
  // Moves the frame onto icon `index` (0..3); others are ignored.
  void ChooseIcon(int index);

 private:
  static std::span<const win::ControlRow<TFOptions>> Rows();
  void Fill(const TQuorSettings& settings);
  void FillKeys(const TQuorSettings& settings);
  void TakeKeys(TQuorSettings& settings) const;
  void ShowIcons();

  void OkClick();
  void SecurityChosen();
  void PasswordTyped() { passwordTyped_ = true; }
  template <int index>
  void IconClick() {
    ChooseIcon(index);
  }
  int ChosenEvent() const;
  void SoundChosen();
  void TryClick();
  void ChangeClick();
  void NoneClick();

  TDllLoader logo_;
  tQuorEvent sounds_;
  std::array<win::UniqueIcon, kIconCount> icons_;
  int chosenIcon_ = 0;
  TQuorSettings filledKeys_;  // a key the field cannot show (with Win) stays unless the user changes it
  bool passwordTyped_ = false;
};
