#include <windows.h>

#include "storage/date_time.h"

QDateTime NowDateTime() {
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  return ComposeDateTime(EncodeDate(local.wYear, local.wMonth, local.wDay),
                         EncodeTime(local.wHour, local.wMinute, local.wSecond, local.wMilliseconds));
}
