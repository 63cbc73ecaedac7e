#pragma once
// A registry root of one test's own under the current user, removed with all below it at the
// end, so tests never touch the keys a running qkli (end-to-end tests) uses.
#include <windows.h>

#include <string>

#include "win/registry.h"

class TestRegistryRoot {
 public:
  explicit TestRegistryRoot(const std::string& name)
      : path_("Software\\QkliTests\\" + name + std::to_string(GetCurrentProcessId())),
        key_(win::RegistryKey::Create(HKEY_CURRENT_USER, path_)) {
    RegDeleteTreeA(key_.handle(), nullptr);  // what a crashed run of the same process id left
  }
  ~TestRegistryRoot() { RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str()); }

  HKEY get() const { return key_.handle(); }
  // A value as text, or "<no key>" / "<no value>"; `name` "" is the default value.
  std::string Value(const std::string& key, const std::string& name = "") const {
    const auto opened = win::RegistryKey::Open(get(), key);
    return opened ? opened.readString(name).value_or("<no value>") : "<no key>";
  }

 private:
  std::string path_;
  win::RegistryKey key_;
};
