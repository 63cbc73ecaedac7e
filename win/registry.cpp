#include "win/registry.h"

#include <stdexcept>
#include <vector>

#include "win/unicode.h"

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
  const std::wstring wideName = Wide(name);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  std::wstring value(buffer.data());
  if (type == REG_EXPAND_SZ) {
    const DWORD needed = ExpandEnvironmentStringsW(value.c_str(), nullptr, 0);
    std::wstring expanded(needed, L'\0');
    if (needed > 0 && ExpandEnvironmentStringsW(value.c_str(), expanded.data(), needed) == needed)
      value.assign(expanded.c_str());
  }
  return Utf8(value);
}

void RegistryKey::writeString(const std::string& name, const std::string& value) const {
  const std::wstring wide = Wide(value);
  const LONG status = RegSetValueExW(key_.get(), Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                                     static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
  if (status != ERROR_SUCCESS) throw std::runtime_error("Failed to set data for '" + name + "'");
}

void RegistryKey::deleteValue(const std::string& name) const {
  const LONG status = RegDeleteValueW(key_.get(), Wide(name).c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
    throw std::runtime_error("Failed to delete the value '" + name + "'");
}

}  // namespace win
