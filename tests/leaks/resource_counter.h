#pragma once
// The counting build: every source of the program is compiled with this header forced in
// first, so that the Windows calls that make or free a GDI object, a device context, a timer, a
// window, a menu or accelerator table, a file, search or registry handle, or a module go
// through a counter. Under Wine the system's own object counts are not available
// (GetGuiResources answers 0), so the leak test asks these counters what is alive.
#include <windows.h>
#include <shellapi.h>

#include <cstddef>

namespace resource_counter {

enum class Kind { GdiObject, Icon, DeviceContext, Timer, Window, Menu, KernelHandle, RegistryKey, Module, Count };

// Objects of `kind` made by the program and not yet freed. Timers and windows that went with
// a destroyed window are not counted.
std::size_t Alive(Kind kind);
const char* NameOf(Kind kind);

}  // namespace resource_counter

#ifndef QKLI_RESOURCE_COUNTER_IMPLEMENTATION
// clang-format off
HFONT QkliCountedCreateFontIndirectA(const LOGFONTA*);
HFONT QkliCountedCreateFontIndirectW(const LOGFONTW*);
HFONT QkliCountedCreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, LPCSTR);
HBRUSH QkliCountedCreateSolidBrush(COLORREF);
HPEN QkliCountedCreatePen(int, int, COLORREF);
HBITMAP QkliCountedCreateCompatibleBitmap(HDC, int, int);
HBITMAP QkliCountedCreateDIBSection(HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD);
HBITMAP QkliCountedLoadBitmapA(HINSTANCE, LPCSTR);
HANDLE QkliCountedLoadImageA(HINSTANCE, LPCSTR, UINT, int, int, UINT);
HANDLE QkliCountedLoadImageW(HINSTANCE, LPCWSTR, UINT, int, int, UINT);
HANDLE QkliCountedCopyImage(HANDLE, UINT, int, int, UINT);
BOOL QkliCountedDeleteObject(HGDIOBJ);
BOOL QkliCountedDestroyIcon(HICON);
HDC QkliCountedCreateCompatibleDC(HDC);
HDC QkliCountedCreateDCA(LPCSTR, LPCSTR, LPCSTR, const DEVMODEA*);
BOOL QkliCountedDeleteDC(HDC);
HDC QkliCountedGetDC(HWND);
int QkliCountedReleaseDC(HWND, HDC);
HDC QkliCountedBeginPaint(HWND, PAINTSTRUCT*);
BOOL QkliCountedEndPaint(HWND, const PAINTSTRUCT*);
UINT_PTR QkliCountedSetTimer(HWND, UINT_PTR, UINT, TIMERPROC);
BOOL QkliCountedKillTimer(HWND, UINT_PTR);
HWND QkliCountedCreateWindowExA(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID);
HWND QkliCountedCreateWindowExW(DWORD, LPCWSTR, LPCWSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID);
HMENU QkliCountedCreatePopupMenu();
HMENU QkliCountedCreateMenu();
BOOL QkliCountedDestroyMenu(HMENU);
HACCEL QkliCountedCreateAcceleratorTableA(LPACCEL, int);
BOOL QkliCountedDestroyAcceleratorTable(HACCEL);
HANDLE QkliCountedCreateFileA(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
HANDLE QkliCountedCreateFileW(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
HANDLE QkliCountedCreateMutexA(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR);
BOOL QkliCountedCloseHandle(HANDLE);
HANDLE QkliCountedFindFirstFileA(LPCSTR, LPWIN32_FIND_DATAA);
HANDLE QkliCountedFindFirstFileW(LPCWSTR, LPWIN32_FIND_DATAW);
BOOL QkliCountedFindClose(HANDLE);
LSTATUS QkliCountedRegOpenKeyExA(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
LSTATUS QkliCountedRegCreateKeyExA(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, const LPSECURITY_ATTRIBUTES, PHKEY, LPDWORD);
LSTATUS QkliCountedRegCloseKey(HKEY);
HMODULE QkliCountedLoadLibraryA(LPCSTR);
HMODULE QkliCountedLoadLibraryExA(LPCSTR, HANDLE, DWORD);
HMODULE QkliCountedLoadLibraryW(LPCWSTR);
HMODULE QkliCountedLoadLibraryExW(LPCWSTR, HANDLE, DWORD);
BOOL QkliCountedFreeLibrary(HMODULE);
// clang-format on

#define CreateFontIndirectA QkliCountedCreateFontIndirectA
#define CreateFontIndirectW QkliCountedCreateFontIndirectW
#define CreateFontA QkliCountedCreateFontA
#define CreateSolidBrush QkliCountedCreateSolidBrush
#define CreatePen QkliCountedCreatePen
#define CreateCompatibleBitmap QkliCountedCreateCompatibleBitmap
#define CreateDIBSection QkliCountedCreateDIBSection
#define LoadBitmapA QkliCountedLoadBitmapA
#define LoadImageA QkliCountedLoadImageA
#define LoadImageW QkliCountedLoadImageW
#define CopyImage QkliCountedCopyImage
#define DeleteObject QkliCountedDeleteObject
#define DestroyIcon QkliCountedDestroyIcon
#define CreateCompatibleDC QkliCountedCreateCompatibleDC
#define CreateDCA QkliCountedCreateDCA
#define DeleteDC QkliCountedDeleteDC
#define GetDC QkliCountedGetDC
#define ReleaseDC QkliCountedReleaseDC
#define BeginPaint QkliCountedBeginPaint
#define EndPaint QkliCountedEndPaint
#define SetTimer QkliCountedSetTimer
#define KillTimer QkliCountedKillTimer
#define CreateWindowExA QkliCountedCreateWindowExA
#define CreateWindowExW QkliCountedCreateWindowExW
#define CreatePopupMenu QkliCountedCreatePopupMenu
#define CreateMenu QkliCountedCreateMenu
#define DestroyMenu QkliCountedDestroyMenu
#define CreateAcceleratorTableA QkliCountedCreateAcceleratorTableA
#define DestroyAcceleratorTable QkliCountedDestroyAcceleratorTable
#define CreateFileA QkliCountedCreateFileA
#define CreateFileW QkliCountedCreateFileW
#define CreateMutexA QkliCountedCreateMutexA
#define CloseHandle QkliCountedCloseHandle
#define FindFirstFileA QkliCountedFindFirstFileA
#define FindFirstFileW QkliCountedFindFirstFileW
#define FindClose QkliCountedFindClose
#define RegOpenKeyExA QkliCountedRegOpenKeyExA
#define RegCreateKeyExA QkliCountedRegCreateKeyExA
#define RegCloseKey QkliCountedRegCloseKey
#define LoadLibraryA QkliCountedLoadLibraryA
#define LoadLibraryExA QkliCountedLoadLibraryExA
#define LoadLibraryW QkliCountedLoadLibraryW
#define LoadLibraryExW QkliCountedLoadLibraryExW
#define FreeLibrary QkliCountedFreeLibrary
#endif
