#include "win/registry.h"

#include <stdexcept>
#include <vector>

namespace win {

std::string RegistryPath(const std::string& path) {
  return !path.empty() && path.front() == '\\' ? path.substr(1) : path;
}

RegistryKey RegistryKey::Open(HKEY root, const std::string& path, bool writable) {
  HKEY key = nullptr;
  const REGSAM access = writable ? KEY_READ | KEY_WRITE : KEY_READ;
  if (RegOpenKeyExA(root, RegistryPath(path).c_str(), 0, access, &key) != ERROR_SUCCESS) key = nullptr;
  return RegistryKey(key);
}

RegistryKey RegistryKey::Create(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  const LONG status = RegCreateKeyExA(root, RegistryPath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) throw std::runtime_error("Failed to create key " + path);
  return RegistryKey(key);
}

bool RegistryKey::Exists(HKEY root, const std::string& path) { return static_cast<bool>(Open(root, path)); }

std::optional<std::string> RegistryKey::readString(const std::string& name) const {
  if (!key_) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::vector<char> buffer(size + 1, '\0');
  if (RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  std::string value(buffer.data());
  if (type == REG_EXPAND_SZ) {
    char expanded[MAX_PATH * 4];
    const DWORD n = ExpandEnvironmentStringsA(value.c_str(), expanded, sizeof expanded);
    if (n > 0 && n <= sizeof expanded) value = expanded;
  }
  return value;
}

void RegistryKey::writeString(const std::string& name, const std::string& value) const {
  const LONG status = RegSetValueExA(key_.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>(value.size() + 1));
  if (status != ERROR_SUCCESS) throw std::runtime_error("Failed to set data for '" + name + "'");
}

void RegistryKey::deleteValue(const std::string& name) const {
  const LONG status = RegDeleteValueA(key_.get(), name.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
    throw std::runtime_error("Failed to delete the value '" + name + "'");
}

}  // namespace win
