// Local calendar time as the system clock reports it.
#pragma once

#include <cstdint>

namespace veltrano {

struct LocalTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int dayOfWeek = 4;  // 0 = Sunday
  int hour = 0;
  int minute = 0;
  int second = 0;
  int milliseconds = 0;
};

}  // namespace veltrano
