#pragma once
// Where the program lives: its own path and its folder (without a trailing backslash). Every
// file of the program (notes, settings, skins, help) is found from here. Both are UTF-8, as
// every path inside the program, so a folder named in any language works.
#include <string>

namespace win {

std::string ProgramFilePath();
std::string ProgramFolder();
std::string LowerCase(std::string text);  // as Windows compares paths

}  // namespace win
