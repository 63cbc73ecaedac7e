#pragma once
// The printer the program prints on: the system's default printer until the user picks another
// one (or other page settings) in the printer-setup dialog; that choice holds for the rest of
// the run. The controller keeps the one choice; notes reach it through the controller.
#include <windows.h>

#include <functional>
#include <string_view>

#include "win/handles.h"

namespace win {

struct ReleaseGlobal { void operator()(HGLOBAL h) const { GlobalFree(h); } };
using UniqueGlobal = Unique<HGLOBAL, ReleaseGlobal>;
using UniquePrinterDc = Unique<HDC, ReleaseDc>;

inline constexpr const char* kNoDefaultPrinter = "There is no default printer currently selected";

class PrinterSetup {
 public:
  // The system's printer-setup dialog, owned by `owner` and modal; false when the user cancels
  // it (the choice before it stays).
  bool Choose(HWND owner);
  // A device context of the chosen printer, or of the default one. Throws std::runtime_error
  // with kNoDefaultPrinter when there is none.
  UniquePrinterDc CreateDc() const;

 private:
  UniqueGlobal devMode_;
  UniqueGlobal devNames_;
};

// Prints one page: `draw` paints it into the printer's device context. The document's name
// (UTF-8) is what the print queue shows. Throws std::runtime_error when the printer refuses the
// document or the page.
void PrintOnePage(HDC printer, std::string_view documentName, const std::function<void(HDC)>& draw);

}  // namespace win
