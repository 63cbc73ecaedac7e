#pragma once
// Where the program lives: its own path and its folder (without a trailing backslash). Every
// file of the program (notes, settings, skins, help) is found from here.
#include <string>

namespace win {

std::string ProgramFilePath();
std::string ProgramFolder();
std::string LowerCase(std::string text);  // in the ANSI code page, as Windows compares paths

}  // namespace win
