#include "notes/documents_folder.h"

#include <windows.h>

#include "win/registry.h"

namespace {

constexpr const char* kShellFolderKeys[] = {
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
};

}  // namespace

std::string DocumentsFolder() {
  for (const char* path : kShellFolderKeys) {
    const auto key = win::RegistryKey::Open(HKEY_CURRENT_USER, path);
    // "User Shell Folders" holds "%USERPROFILE%\Documents" as an expandable value; the
    // registry key expands it, so the note's default name is a path that can be saved to.
    if (auto value = key.readString("Personal")) return *value;
  }
  return {};
}
