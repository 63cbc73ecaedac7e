#pragma once
// The skin selector: lists what the skins folder holds and returns the name the user picks. The
// controller then loads that skin and re-skins the notes.
#include <windows.h>

#include <span>
#include <string>

#include "win/form.h"
#include "win/handles.h"

class TSkinSelector final : public win::Form {
 public:
  enum Id : int { GroupBox1 = 100, ListBox1, BitBtn1 = IDOK, BitBtn2 = IDCANCEL };

  TSkinSelector(HWND owner, std::string skinsFolder);

  const std::string& SkinsFolder() const { return SkinsFolder_; }
  // Empty until OK is pressed with an entry selected.
  const std::string& SelectedSkin() const { return SelectedSkin_; }

 private:
  static std::span<const win::ControlRow<TSkinSelector>> Rows();
  void FillSkinList();
  void BitBtn1Click();

  std::string SkinsFolder_;
  std::string SelectedSkin_;
  win::UniqueFont listFont_;
};
