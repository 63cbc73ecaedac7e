#include "win/menu.h"

#include <stdexcept>

#include "win/menu_picture.h"

namespace win {

MenuResource::MenuResource() : menu_(CreatePopupMenu()) {
  if (!menu_) throw std::runtime_error("Cannot create a menu");
}

HMENU MenuResource::NewSubmenu(HMENU parent, const std::string& caption) {
  HMENU submenu = CreatePopupMenu();
  if (submenu == nullptr) throw std::runtime_error("Cannot create a menu");
  // Owned by the parent from here on: destroying the top menu destroys it.
  AppendMenuA(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu), caption.c_str());
  submenus_.emplace_back(caption, submenu);
  return submenu;
}

void MenuResource::AddItem(HMENU menu, const char* caption, const char* shortcut, UINT id, int picture) {
  std::string text = caption;
  if (shortcut != nullptr) text.append("\t").append(shortcut);
  AppendMenuA(menu, MF_STRING, id, text.c_str());
  if (picture == 0) return;
  UniqueBitmap bitmap = LoadMenuPicture(GetModuleHandleA(nullptr), picture);
  if (!bitmap) return;
  SetMenuItemBitmaps(menu, id, MF_BYCOMMAND, bitmap.get(), bitmap.get());
  pictures_.push_back(std::move(bitmap));
}

void MenuResource::AddSeparator(HMENU menu) { AppendMenuA(menu, MF_SEPARATOR, 0, nullptr); }

void MenuResource::AddAccelerator(const char* shortcut, UINT id) {
  const auto parsed = ParseShortcut(shortcut);
  if (!parsed) throw std::logic_error(std::string("Unknown shortcut ") + shortcut);
  ACCEL accel{};
  accel.fVirt = static_cast<BYTE>(FVIRTKEY | (parsed->Ctrl ? FCONTROL : 0) | (parsed->Shift ? FSHIFT : 0) |
                                  (parsed->Alt ? FALT : 0));
  accel.key = parsed->Key;
  accel.cmd = static_cast<WORD>(id);
  accelerators_.push_back(accel);
}

void MenuResource::MakeAccelerators() {
  if (accelerators_.empty()) return;
  acceleratorTable_.reset(CreateAcceleratorTableA(accelerators_.data(), static_cast<int>(accelerators_.size())));
}

HMENU MenuResource::Submenu(const char* caption) const {
  for (const auto& [name, handle] : submenus_)
    if (name == caption) return handle;
  throw std::logic_error(std::string("No submenu ") + caption);
}

void MenuResource::Check(UINT id, bool checked) const {
  CheckMenuItem(menu_.get(), id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool MenuResource::IsChecked(UINT id) const {
  return (GetMenuState(menu_.get(), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

UINT MenuResource::Track(HWND owner, POINT at) const {
  SetForegroundWindow(owner);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                       at.x, at.y, 0, owner, nullptr));
  PostMessageA(owner, WM_NULL, 0, 0);
  return chosen;
}

}  // namespace win
