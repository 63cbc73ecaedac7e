#include "win/dll_loader.h"

#include "win/error_box.h"
#include "win/program_folder.h"
#include "win/unicode.h"

TDllLoader::TDllLoader(const std::string& libraryName, const std::string& bitmapName, const std::string& folder) {
  const std::string path = (folder.empty() ? win::ProgramFolder() : folder) + "\\" + libraryName;
  if (GetFileAttributesW(win::Wide(path).c_str()) == INVALID_FILE_ATTRIBUTES) {
    win::ShowErrorBox("Can't find " + path);
    return;
  }
  // A resource-only library: mapped as data, none of its code runs.
  module_.reset(LoadLibraryExW(win::Wide(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!module_) module_.reset(LoadLibraryW(win::Wide(path).c_str()));
  if (module_) bitmap_.reset(LoadBitmapA(module_.get(), bitmapName.c_str()));
}
