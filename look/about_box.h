#pragma once
// The about box: a borderless window above all others that shows the about picture of the
// resource library, and closes at a mouse press with any button (or Esc). The library is loaded
// when the box opens and released when it goes.
#include <windows.h>

#include <memory>
#include <string>

#include "win/dll_loader.h"
#include "win/form.h"

class TAboutBox final : public win::Form {
 public:
  // The library is looked for in `libraryFolder` (empty: the program folder).
  explicit TAboutBox(HWND owner, const std::string& libraryFolder = {});

  // Without its picture (no library, or no picture in it) the box says so in a small box of
  // its own size, so that it is still seen and can be closed.
  bool HasPicture() const { return Image1_->Bitmap() != nullptr; }

 protected:
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  TAboutBox(HWND owner, std::unique_ptr<TDllLoader> picture);
  void Paint(HDC dc) const;

  std::unique_ptr<TDllLoader> Image1_;
};
