#include "app/damaged_notes_report.h"

#include "win/error_box.h"

TDamagedNotesReport::TDamagedNotesReport(HWND owner, std::span<const std::string> files)
    : Form({.className = "TDamagedNotesReport",
            .caption = win::kApplicationTitle,
            .clientWidth = 440,
            .clientHeight = 236,
            .owner = owner,
            .exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST}) {
  using Row = win::ControlRow<TDamagedNotesReport>;
  constexpr DWORD kList = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL;
  static constexpr Row kRows[] = {
      {win::kLabel, "", kSummary, 12, 10, 416, 30, SS_NOPREFIX},
      {win::kEdit, "", kNames, 12, 44, 416, 144, kList},
      {win::kButton, "OK", kOk, 182, 200, 75, 25, BS_DEFPUSHBUTTON, 0, &TDamagedNotesReport::CloseOk},
  };
  AddControls<TDamagedNotesReport>(kRows);
  SetText(kSummary, Summary(files.size()));
  std::string names;
  for (const std::string& file : files) names += file + "\r\n";
  SetText(kNames, names);
}

std::string TDamagedNotesReport::Summary(size_t count) {
  return std::to_string(count) +
         " note files could not be read. They were put aside under these names, and the notes went on "
         "with what could be read of them:";
}
