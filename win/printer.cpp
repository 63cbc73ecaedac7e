#include "win/printer.h"

#include <commdlg.h>
#include <winspool.h>

#include <stdexcept>
#include <string>

#include "win/unicode.h"

namespace win {

bool PrinterSetup::Choose(HWND owner) {
  PRINTDLGA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.hDevMode = devMode_.get();
  dialog.hDevNames = devNames_.get();
  dialog.Flags = PD_PRINTSETUP;
  if (!PrintDlgA(&dialog)) return false;
  // The dialog may have replaced the blocks it was given; it freed those it replaced.
  if (dialog.hDevMode != devMode_.get()) {
    devMode_.release();
    devMode_.reset(dialog.hDevMode);
  }
  if (dialog.hDevNames != devNames_.get()) {
    devNames_.release();
    devNames_.reset(dialog.hDevNames);
  }
  return true;
}

UniquePrinterDc PrinterSetup::CreateDc() const {
  if (devNames_) {
    const auto* names = static_cast<const DEVNAMES*>(GlobalLock(devNames_.get()));
    const auto* base = reinterpret_cast<const char*>(names);
    const std::string driver = base + names->wDriverOffset;
    const std::string device = base + names->wDeviceOffset;
    GlobalUnlock(devNames_.get());
    const auto* mode = devMode_ ? static_cast<const DEVMODEA*>(GlobalLock(devMode_.get())) : nullptr;
    UniquePrinterDc dc(CreateDCA(driver.c_str(), device.c_str(), nullptr, mode));
    if (mode != nullptr) GlobalUnlock(devMode_.get());
    if (dc) return dc;
  }
  DWORD size = 0;
  GetDefaultPrinterA(nullptr, &size);
  std::string name(size, '\0');
  if (size == 0 || !GetDefaultPrinterA(name.data(), &size)) throw std::runtime_error(kNoDefaultPrinter);
  name.resize(size > 0 ? size - 1 : 0);
  UniquePrinterDc dc(CreateDCA("WINSPOOL", name.c_str(), nullptr, nullptr));
  if (!dc) throw std::runtime_error(kNoDefaultPrinter);
  return dc;
}

void PrintOnePage(HDC printer, std::string_view documentName, const std::function<void(HDC)>& draw) {
  const std::wstring name = Wide(documentName);
  DOCINFOW document{};
  document.cbSize = sizeof document;
  document.lpszDocName = name.c_str();
  if (StartDocW(printer, &document) <= 0) throw std::runtime_error("The printer refused the document");
  if (StartPage(printer) <= 0) {
    AbortDoc(printer);
    throw std::runtime_error("The printer refused the page");
  }
  try {
    draw(printer);
  } catch (...) {
    AbortDoc(printer);
    throw;
  }
  EndPage(printer);
  EndDoc(printer);
}

}  // namespace win
