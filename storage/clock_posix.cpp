#include <time.h>

#include <algorithm>

#include "storage/date_time.h"

QDateTime NowDateTime() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  ::localtime_r(&now.tv_sec, &local);
  // tm_sec may be 60 during a leap second; the calendar here has none.
  return ComposeDateTime(EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
                         EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                                    static_cast<int>(now.tv_nsec / 1'000'000)));
}
