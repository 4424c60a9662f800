// Local time from localtime_r, with milliseconds from the real-time clock.
#include "platform/posix/system_clock.h"

#include <sys/time.h>

#include <ctime>

namespace veltrano {

LocalTime SystemClock::Now() {
  timeval now{};
  gettimeofday(&now, nullptr);
  std::tm local{};
  const time_t seconds = now.tv_sec;
  localtime_r(&seconds, &local);
  LocalTime time;
  time.year = local.tm_year + 1900;
  time.month = local.tm_mon + 1;
  time.day = local.tm_mday;
  time.dayOfWeek = local.tm_wday;
  time.hour = local.tm_hour;
  time.minute = local.tm_min;
  time.second = local.tm_sec;
  time.milliseconds = static_cast<int>(now.tv_usec / 1000);
  time.utcOffsetMinutes = static_cast<int>(local.tm_gmtoff / 60);
  return time;
}

}  // namespace veltrano
