#include "app/tray_menu.h"

#include "app/main_window.h"
#include "res/resource_ids.h"

namespace {

using Row = win::CommandRow<TKliMain>;

}  // namespace

std::span<const win::CommandRow<TKliMain>> TKliMain::TrayMenuRows() {
  // Notes are inserted above the first separator, newest first.
  static constexpr Row kNoteRows[] = {
      {"-"},
      {"Cascade", nullptr, &TKliMain::CascadeNotes},
      {"-"},
      {"Hide All", nullptr, &TKliMain::HideAllNotes},
      {"Show all ", nullptr, &TKliMain::ShowAllNotes, nullptr, {}, IDB_MENU_SHOWALL2},
      {"-"},
      {"Close all ", nullptr, &TKliMain::CloseAllCommand},
  };
  static constexpr Row kEditRows[] = {
      {"Hide all", nullptr, &TKliMain::HideAllNotes},
      {"Show all", nullptr, &TKliMain::ShowAllNotes},
      {"-"},
      {"Make all K-lI Always on top", nullptr, &TKliMain::AllOnTop},
      {"Make all K-lI not always on top", nullptr, &TKliMain::AllNotOnTop},
  };
  static constexpr Row kOptionRows[] = {
      {"Main Options", nullptr, &TKliMain::MainOptions},
      {"Skin selector", nullptr, &TKliMain::SkinSelector},
      {"-"},
      {"Mail K-lI", nullptr, &TKliMain::MailKli, nullptr, {}, IDB_MENU_MAIL},
  };
  static constexpr Row kHelpRows[] = {
      {"Quor Soft home page", nullptr, &TKliMain::HomePage},
      {"Informations", nullptr, &TKliMain::Informations},
  };
  // Its entries come when the menu opens.
  static constexpr Row kClosedRows[] = {{"-"}};
  static constexpr Row kTrayRows[] = {
      {"New K-li", nullptr, &TKliMain::NewNote, nullptr, {}, IDB_MENU_NEW},
      {"Show All K-lI", nullptr, &TKliMain::ShowAllNotes, nullptr, {}, IDB_MENU_SHOWALL},
      {"Open File", nullptr, &TKliMain::OpenFileDialog, nullptr, {}, IDB_MENU_OPEN},
      {"Find...", nullptr, &TKliMain::FindNotes},
      {kClosedSubmenu, nullptr, nullptr, nullptr, kClosedRows},
      {kNoteSubmenu, nullptr, nullptr, nullptr, kNoteRows},
      {"Edit", nullptr, nullptr, nullptr, kEditRows},
      {"Options", nullptr, nullptr, nullptr, kOptionRows},
      {"-"},
      {"Help", nullptr, nullptr, nullptr, kHelpRows},
      {"About", nullptr, &TKliMain::About},
      {"-"},
      {"Exit", nullptr, &TKliMain::Exit},
  };
  static_assert(win::AllShortcutsParse(kTrayRows));
  return kTrayRows;
}
