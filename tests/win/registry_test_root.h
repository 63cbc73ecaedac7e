#pragma once
// A registry root of one test's own under the current user, removed with everything below it
// afterwards, so tests never touch the keys a running qkli (end-to-end tests) uses.
#include <windows.h>

#include <string>

#include "win/registry.h"

class TestRegistryRoot {
 public:
  explicit TestRegistryRoot(const std::string& name)
      : path_("Software\\QkliTests\\" + name + std::to_string(GetCurrentProcessId())) {
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
  }
  ~TestRegistryRoot() {
    RegCloseKey(key_);
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  }
  TestRegistryRoot(const TestRegistryRoot&) = delete;
  TestRegistryRoot& operator=(const TestRegistryRoot&) = delete;

  HKEY get() const { return key_; }
  // A value as text, or "<no key>" / "<no value>"; `name` "" is the default value.
  std::string Value(const std::string& key, const std::string& name = "") const {
    const auto opened = win::RegistryKey::Open(key_, key);
    if (!opened) return "<no key>";
    return opened.readString(name).value_or("<no value>");
  }

 private:
  std::string path_;
  HKEY key_ = nullptr;
};
