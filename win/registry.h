#pragma once
// A registry key owned for one scope, with the few operations the program needs. Values and
// their names are UTF-8 here and wide in the registry, so a path in any language (the
// program's own, a sound file's) is kept whole; key paths are the program's own ASCII names.
#include <windows.h>

#include <optional>
#include <string>

#include "win/handles.h"

namespace win {

class RegistryKey {
 public:
  // Opens an existing key for reading (and writing when asked); empty when it does not exist.
  static RegistryKey Open(HKEY root, const std::string& path, bool writable = false);
  // Opens the key, creating it and its parents when missing; throws when that fails.
  static RegistryKey Create(HKEY root, const std::string& path);
  static bool Exists(HKEY root, const std::string& path);

  explicit operator bool() const { return static_cast<bool>(key_); }
  HKEY handle() const { return key_.get(); }
  // Reads a REG_SZ or REG_EXPAND_SZ value ("" names the default value); nullopt when missing.
  std::optional<std::string> readString(const std::string& name) const;
  void writeString(const std::string& name, const std::string& value) const;
  void deleteValue(const std::string& name) const;  // a value already gone is no error

 private:
  explicit RegistryKey(HKEY key) : key_(key) {}
  UniqueKey key_;
};

// Registry paths are written with a leading backslash in places; Windows wants them without.
std::string RegistryPath(const std::string& path);

}  // namespace win
