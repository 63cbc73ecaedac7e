#include "app/file_type.h"

#include "win/registry.h"

void RegisterFileType(const std::string& programPath, HKEY root) {
  if (!win::RegistryKey::Exists(root, "\\.kli")) win::RegistryKey::Create(root, "\\.kli").writeString("", kNoteFileType);

  const std::string type = std::string("\\") + kNoteFileType;
  if (win::RegistryKey::Exists(root, type)) return;
  win::RegistryKey::Create(root, type);
  win::RegistryKey::Create(root, type + "\\DefaultIcon").writeString("", programPath + ",0");
  win::RegistryKey::Create(root, type + "\\Shell");
  win::RegistryKey::Create(root, type + "\\Shell\\Open");
  // Quoted, unlike a bare `path %1`: a program folder or a note file with a blank in its path
  // would otherwise reach the program as several arguments.
  win::RegistryKey::Create(root, type + "\\Shell\\Open\\Command").writeString("", "\"" + programPath + "\" \"%1\"");
}
