#pragma once
// The tray menu's small pictures (res/resource_ids.h, IDB_MENU_*) are 32-bit with premultiplied
// alpha. Not every system draws menu bitmaps with alpha (Wine does not), so they are laid over
// the menu colour once, when loaded, and handed out as plain opaque bitmaps. Win32 only.

#include <windows.h>

#include "win/handles.h"

// `picture` must be a 32-bit DIB section with premultiplied alpha; the result is a 24-bit DIB
// section of the same size. Null when `picture` is not such a bitmap.
win::UniqueBitmap FlattenMenuPicture(HBITMAP picture, COLORREF background);

// Loads bitmap resource `id` of `instance` and lays it over the system menu colour.
win::UniqueBitmap LoadMenuPicture(HINSTANCE instance, int id);
