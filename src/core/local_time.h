// Local calendar time as the system clock reports it.
#pragma once

#include <cstdint>

namespace veltrano {

struct LocalTime {
  int year = 1970;
  int month = 1;      // 1..12
  int day = 1;        // 1..31
  int dayOfWeek = 4;  // 0 = Sunday
  int hour = 0;
  int minute = 0;
  int second = 0;
  int milliseconds = 0;
  int utcOffsetMinutes = 0;  // local minus UTC, daylight saving included; 0 where unknown
};

// Days since 1970-01-01 of a proleptic Gregorian date.
inline std::int64_t DaysFromCivil(int year, int month, int day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int yearOfEra = year - static_cast<int>(era * 400);
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

struct CivilDate {
  int year;
  int month;
  int day;
};

// The proleptic Gregorian date of a day number of DaysFromCivil.
inline CivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int dayOfEra = static_cast<int>(days - era * 146097);
  const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  const int month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  return {static_cast<int>(yearOfEra + era * 400) + (month <= 2), month, day};
}

// 0 = Sunday, for a day number of DaysFromCivil (day 0, 1970-01-01, was a Thursday).
inline int DayOfWeekFromDays(std::int64_t days) {
  return static_cast<int>(((days % 7) + 11) % 7);
}

// Calendar difference in whole seconds, later minus earlier (milliseconds ignored).
inline std::int64_t SecondsBetween(const LocalTime& earlier, const LocalTime& later) {
  const auto seconds = [](const LocalTime& t) {
    return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
  };
  return seconds(later) - seconds(earlier);
}

// Seconds that really passed between two readings of the clock: the calendar difference less a
// change of the zone's offset, so that the hour skipped or repeated at a daylight-saving change
// counts as no time at all.
inline std::int64_t ElapsedSeconds(const LocalTime& earlier, const LocalTime& later) {
  return SecondsBetween(earlier, later) - (later.utcOffsetMinutes - earlier.utcOffsetMinutes) * std::int64_t{60};
}

}  // namespace veltrano
