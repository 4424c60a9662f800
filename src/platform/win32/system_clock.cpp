// Local time from GetLocalTime.
#include "platform/win32/system_clock.h"

#include <windows.h>

namespace veltrano {

LocalTime SystemClock::Now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  LocalTime time;
  time.year = now.wYear;
  time.month = now.wMonth;
  time.day = now.wDay;
  time.dayOfWeek = now.wDayOfWeek;
  time.hour = now.wHour;
  time.minute = now.wMinute;
  time.second = now.wSecond;
  time.milliseconds = now.wMilliseconds;
  return time;
}

}  // namespace veltrano
