#include <windows.h>

#include "notes/note_reach.h"

std::vector<ScreenArea> MonitorWorkAreas() {
  std::vector<ScreenArea> areas;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM into) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!GetMonitorInfoA(monitor, &info)) return TRUE;
        const RECT& work = info.rcWork;
        auto& found = *reinterpret_cast<std::vector<ScreenArea>*>(into);
        const ScreenArea area{work.left, work.top, work.right, work.bottom};
        if (info.dwFlags & MONITORINFOF_PRIMARY) found.insert(found.begin(), area);
        else found.push_back(area);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&areas));
  return areas;
}
