#include "win/menu.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace win {

ACCEL ParseShortcut(const char* shortcut, UINT id) {
  ACCEL accel{};
  accel.fVirt = FVIRTKEY;
  accel.cmd = static_cast<WORD>(id);
  std::string_view rest(shortcut);
  for (;;) {
    if (rest.starts_with("Ctrl+")) {
      accel.fVirt |= FCONTROL;
      rest.remove_prefix(5);
    } else if (rest.starts_with("Shift+")) {
      accel.fVirt |= FSHIFT;
      rest.remove_prefix(6);
    } else if (rest.starts_with("Alt+")) {
      accel.fVirt |= FALT;
      rest.remove_prefix(4);
    } else {
      break;
    }
  }
  if (rest.size() == 1 && ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= '0' && rest[0] <= '9'))) {
    accel.key = static_cast<WORD>(rest[0]);
  } else if (rest == "Del") {
    accel.key = VK_DELETE;
  } else if (rest == "Ins") {
    accel.key = VK_INSERT;
  } else if (rest.size() >= 2 && rest[0] == 'F' && rest.size() <= 3) {
    const int n = std::atoi(std::string(rest.substr(1)).c_str());
    if (n < 1 || n > 12) throw std::invalid_argument("Unknown shortcut " + std::string(shortcut));
    accel.key = static_cast<WORD>(VK_F1 + n - 1);
  } else {
    throw std::invalid_argument("Unknown shortcut " + std::string(shortcut));
  }
  return accel;
}

PopupMenu::PopupMenu(std::span<const MenuRow> rows) { menu_.reset(build(rows)); }

HMENU PopupMenu::build(std::span<const MenuRow> rows) {
  HMENU menu = CreatePopupMenu();
  for (const MenuRow& row : rows) {
    if (std::strcmp(row.caption, "-") == 0) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string text = row.caption;
    if (row.shortcut != nullptr) {
      text += '\t';
      text += row.shortcut;
      accelerators_.push_back(ParseShortcut(row.shortcut, row.id));
    }
    if (!row.submenu.empty()) {
      HMENU sub = build(row.submenu);
      AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), text.c_str());
      submenus_.emplace_back(row.caption, sub);
    } else {
      AppendMenuA(menu, MF_STRING, row.id, text.c_str());
    }
    if (row.bitmapId != 0) {
      auto picture = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(row.bitmapId),
                                                     IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
      if (picture != nullptr) {
        SetMenuItemBitmaps(menu, GetMenuItemCount(menu) - 1, MF_BYPOSITION, picture, picture);
        pictures_.emplace_back(picture);
      }
    }
  }
  return menu;
}

HMENU PopupMenu::submenu(const char* caption) const {
  for (const auto& [name, handle] : submenus_)
    if (name == caption) return handle;
  throw std::logic_error(std::string("No submenu ") + caption);
}

void PopupMenu::check(UINT id, bool checked) const {
  CheckMenuItem(menu_.get(), id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

UINT PopupMenu::track(HWND owner, POINT at) const {
  SetForegroundWindow(owner);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                       at.x, at.y, 0, owner, nullptr));
  PostMessageA(owner, WM_NULL, 0, 0);
  return chosen;
}

std::vector<ACCEL> PopupMenu::accelerators() const { return accelerators_; }

}  // namespace win
