// A clock that tests set and advance by hand.
#pragma once

#include "core/local_time.h"
#include "platform/clock.h"

namespace veltrano::testing {

class FakeClock : public Clock {
 public:
  LocalTime Now() override { return now; }

  void Set(int year, int month, int day, int hour, int minute, int second) {
    now = LocalTime{};
    now.year = year, now.month = month, now.day = day, now.hour = hour, now.minute = minute, now.second = second;
    now.dayOfWeek = DayOfWeekFromDays(DaysFromCivil(year, month, day));
  }

  void Advance(int seconds) {
    std::int64_t total =
        DaysFromCivil(now.year, now.month, now.day) * 86400 + now.hour * 3600 + now.minute * 60 + now.second + seconds;
    const CivilDate date = CivilFromDays(total / 86400);
    const int rest = static_cast<int>(total % 86400);
    const int utcOffsetMinutes = now.utcOffsetMinutes;
    Set(date.year, date.month, date.day, rest / 3600, rest / 60 % 60, rest % 60);
    now.utcOffsetMinutes = utcOffsetMinutes;
  }

  LocalTime now;
};

}  // namespace veltrano::testing
