#pragma once
// The association of note files (".kli") with the program in the registry. Keys that exist
// already are left as they are, so an association the user changed survives every start.
#include <windows.h>

#include <string>

inline constexpr const char* kNoteFileType = "Quor K-lI pro";

// Creates what is missing under `root` (HKEY_CLASSES_ROOT for the program; tests pass a key of
// their own): ".kli" -> "Quor K-lI pro", and that type's DefaultIcon (`programPath` + ",0") and
// Shell\Open\Command (the quoted program path and "%1"). Throws when a key cannot be created.
void RegisterFileType(const std::string& programPath, HKEY root = HKEY_CLASSES_ROOT);
