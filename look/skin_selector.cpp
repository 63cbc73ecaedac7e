#include "look/skin_selector.h"

#include "res/resource_ids.h"
#include "win/unicode.h"

namespace {

HICON SelectorIcon() {
  HICON icon = LoadIconA(win::ProgramInstance(), MAKEINTRESOURCEA(IDI_SKIN_SELECTOR));
  return icon != nullptr ? icon : LoadIconA(nullptr, IDI_APPLICATION);
}

constexpr int kItemHeight = 16;

}  // namespace

std::span<const win::ControlRow<TSkinSelector>> TSkinSelector::Rows() {
  static constexpr win::ControlRow<TSkinSelector> kRows[] = {
      {win::kButton, "Select a skin", GroupBox1, 8, 0, 161, 137, BS_GROUPBOX},
      // In the group: 8, 16 of the group is 16, 16 of the form.
      {win::kListBox, "", ListBox1, 16, 16, 145, 113, WS_VSCROLL | LBS_NOINTEGRALHEIGHT},
      {win::kButton, "OK", BitBtn1, 8, 144, 75, 25, BS_DEFPUSHBUTTON, 0, &TSkinSelector::BitBtn1Click},
      {win::kButton, "&Abort", BitBtn2, 96, 144, 75, 25, 0, 0, &TSkinSelector::CloseAbort},
  };
  return kRows;
}

TSkinSelector::TSkinSelector(HWND owner, std::string skinsFolder)
    : Form({.className = "TSkinSelector",
            .caption = "Skin selector",
            .clientWidth = 179,
            .clientHeight = 178,
            .owner = owner,
            .style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
            .exStyle = 0,
            .icon = SelectorIcon()}),
      SkinsFolder_(std::move(skinsFolder)),
      listFont_(CreateFontA(-13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial")) {
  AddControls<TSkinSelector>(Rows());
  SendMessageA(Item(ListBox1), WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.get()), FALSE);
  SendMessageA(Item(ListBox1), LB_SETITEMHEIGHT, 0, kItemHeight);
  FillSkinList();
}

void TSkinSelector::FillSkinList() {
  // Folders and files alike, in the order the search gives them, but nothing hidden or of the
  // system. "." and ".." are left out by name: they usually come first, but not on every file
  // system, and skipping by position would then drop a skin. A search that fails ends the list.
  WIN32_FIND_DATAW entry{};
  const std::wstring pattern = win::Wide(SkinsFolder_ + "\\*.*");
  const win::UniqueFind search(
      FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &entry, FindExSearchLimitToDirectories, nullptr, 0));
  if (!search) return;
  do {
    const std::string name = win::Utf8(entry.cFileName);
    if (name == "." || name == "..") continue;
    if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) continue;
    AddItem(ListBox1, name);
  } while (FindNextFileW(search.get(), &entry));
}

void TSkinSelector::BitBtn1Click() {
  const int chosen = Selection(ListBox1);
  if (chosen < 0) return;
  SelectedSkin_ = ItemText(ListBox1, chosen);
  Close(win::ModalResult::Ok);
}
