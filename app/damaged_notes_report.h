#pragma once
// After a start-up that put several damaged note files aside: one box that says how many and
// lists them, the list scrolling when long, instead of one error box per file. Win32.
#include <windows.h>

#include <span>
#include <string>

#include "win/form.h"

class TDamagedNotesReport final : public win::Form {
 public:
  enum : int { kSummary = 101, kNames, kOk = IDOK };

  // `files` are the paths the damaged files went to.
  TDamagedNotesReport(HWND owner, std::span<const std::string> files);

  // How the report begins: "3 note files could not be read. They were put aside ...".
  static std::string Summary(size_t count);
};
