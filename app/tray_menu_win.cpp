#include "app/tray_menu.h"

#include "res/resource_ids.h"

namespace {

// Notes are inserted above the first separator, newest first.
constexpr win::MenuRow kNoteRows[] = {
    {"-"},
    {"Cascade", cmdCascade},
    {"-"},
    {"Hide All", cmdHideAll},
    {"Show all ", cmdShowAllNotes, nullptr, {}, IDB_MENU_SHOWALL2},
    {"-"},
    {"Close all ", cmdCloseAll},
};

constexpr win::MenuRow kEditRows[] = {
    {"Hide all", cmdEditHideAll},
    {"Show all", cmdEditShowAll},
    {"-"},
    {"Make all K-lI Always on top", cmdAllOnTop},
    {"Make all K-lI not always on top", cmdAllNotOnTop},
};

constexpr win::MenuRow kOptionRows[] = {
    {"Main Options", cmdMainOptions},
    {"Skin selector", cmdSkinSelector},
    {"-"},
    {"Mail K-lI", cmdMailKli, nullptr, {}, IDB_MENU_MAIL},
};

constexpr win::MenuRow kHelpRows[] = {
    {"Quor Soft home page", cmdHomePage},
    {"Informations", cmdInformations},
};

constexpr win::MenuRow kTrayRows[] = {
    {"New K-li", cmdNewKli, nullptr, {}, IDB_MENU_NEW},
    {"Show All K-lI", cmdShowAllKli, nullptr, {}, IDB_MENU_SHOWALL},
    {"Open File", cmdOpenFile, nullptr, {}, IDB_MENU_OPEN},
    {kNoteSubmenu, 0, nullptr, kNoteRows},
    {"Edit", 0, nullptr, kEditRows},
    {"Options", 0, nullptr, kOptionRows},
    {"-"},
    {"Help", 0, nullptr, kHelpRows},
    {"About", cmdAbout},
    {"-"},
    {"Exit", cmdExit},
};

}  // namespace

std::span<const win::MenuRow> TrayMenuRows() { return kTrayRows; }
