#pragma once
// The start of the program when the user logs on: a value of the user's Run key that names it.
#include <windows.h>

#include <string>

inline constexpr const char* kRunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Quor K-lI";

// Adds (`run` true) or removes the value "Quor K-lI" = `programPath` (the program's path in lower
// case) under `root`'s Run key, which is created when missing; HKEY_CURRENT_USER for the
// program, a key of their own for tests. A value naming the program in any letter case counts as
// present and is left as it is. Registry errors throw.
void ApplyRunAtStartup(bool run, const std::string& programPath, HKEY root = HKEY_CURRENT_USER);
