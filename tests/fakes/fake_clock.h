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
    now.dayOfWeek = static_cast<int>((DaysFromCivil(year, month, day) % 7 + 11) % 7);  // 1970-01-01 was a Thursday
  }

  void Advance(int seconds) {
    std::int64_t total = DaysFromCivil(now.year, now.month, now.day) * 86400 + now.hour * 3600 + now.minute * 60 +
                         now.second + seconds;
    std::int64_t days = total / 86400;
    const int rest = static_cast<int>(total % 86400);
    // civil from days (Howard Hinnant's algorithm)
    days += 719468;
    const std::int64_t era = days / 146097;
    const int dayOfEra = static_cast<int>(days - era * 146097);
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int mp = (5 * dayOfYear + 2) / 153;
    const int day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const int month = mp < 10 ? mp + 3 : mp - 9;
    const int year = static_cast<int>(yearOfEra + era * 400) + (month <= 2);
    Set(year, month, day, rest / 3600, rest / 60 % 60, rest % 60);
  }

  LocalTime now;
};

}  // namespace veltrano::testing
