#include "app/run_at_startup.h"

#include "win/program_folder.h"
#include "win/registry.h"

void ApplyRunAtStartup(bool run, const std::string& programPath, HKEY root) {
  const win::RegistryKey key = win::RegistryKey::Create(root, kRunKey);
  const bool present = win::LowerCase(key.readString(kRunValueName).value_or("")) == programPath;
  if (present == run) return;
  if (run) {
    key.writeString(kRunValueName, programPath);
  } else {
    key.deleteValue(kRunValueName);
  }
}
