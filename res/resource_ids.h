#pragma once
// Numeric ids of the resources built into qkli.exe from res/qkli.rc.

// The four built-in tray icons, indexes 0..3 of the tray icon setting.
#define IDI_TRAY0 100
#define IDI_TRAY1 101
#define IDI_TRAY2 102
#define IDI_TRAY3 103
// A note's own tray icon (32x32, 16 colours).
#define IDI_NOTE 110
// The skin selector's own icon.
#define IDI_SKIN_SELECTOR 111

// Pictures of the tray menu: 16x16, 32 bits with premultiplied alpha (transparent background).
// Load them with LoadMenuPicture (win/menu_picture.h), which lays them over the menu colour.
#define IDB_MENU_NEW 200      // "New K-li"
#define IDB_MENU_SHOWALL 201  // "Show All K-lI"
#define IDB_MENU_OPEN 202     // "Open File"
#define IDB_MENU_SHOWALL2 203 // "Show all "
#define IDB_MENU_MAIL 204     // "Mail K-lI"
