#pragma once
// The resource library "quorkli.dll" beside the program holds the pictures of the options
// dialog and the about box. A dialog makes one loader for its picture while it is open.
#include <windows.h>

#include <string>

#include "win/handles.h"

inline constexpr const char* kResourceLibrary = "quorkli.dll";

class TDllLoader {
 public:
  // Loads `bitmapName` from `folder` + "\" + `libraryName` (folder empty: the program folder).
  // When the library is missing, shows "Can't find " + its path and holds no picture.
  TDllLoader(const std::string& libraryName, const std::string& bitmapName, const std::string& folder = {});
  TDllLoader(const TDllLoader&) = delete;
  TDllLoader& operator=(const TDllLoader&) = delete;

  // The picture, or null when the library was not found (the dialog then shows none).
  HBITMAP Bitmap() const { return bitmap_.get(); }

 private:
  // Declared in this order so the bitmap goes before the module it came from.
  win::UniqueModule module_;
  win::UniqueBitmap bitmap_;
};
