// Time grid phase and time label texts.
#include "view/graph_time.h"

#include <algorithm>
#include <climits>

#include "core/text.h"

namespace veltrano {
namespace {

// Pixel products are formed wide: a stored interval can be any 32-bit number.
int ClampToInt(long long value) {
  return static_cast<int>(std::min<long long>(value, INT_MAX));
}

long long Pitch(int columnWidth, int columnSpace) {
  return std::max(1LL, static_cast<long long>(columnWidth) + columnSpace);
}

}  // namespace

void TimeGrid::Reset(int interval, int columnWidth, int columnSpace) {
  offsetMax_ = ClampToInt(static_cast<long long>(interval) * Pitch(columnWidth, columnSpace) - columnSpace);
  offset_ = offsetMax_;
  phase_ = interval - 1;
}

void TimeGrid::Advance(int interval, int columnWidth, int columnSpace) {
  const long long next = offset_ + Pitch(columnWidth, columnSpace);
  offset_ = next > offsetMax_ ? columnWidth : static_cast<int>(next);
  if (++phase_ >= interval) phase_ = 0;
}

void TimeGrid::Lines(int left, int right, int interval, int columnWidth, int columnSpace, std::vector<int>& xs) const {
  xs.clear();
  const long long step = std::max(1LL, static_cast<long long>(interval) * Pitch(columnWidth, columnSpace));
  for (long long x = static_cast<long long>(right) - offset_; x > left; x -= step) xs.push_back(static_cast<int>(x));
}

bool Use12HourClock(const std::string* indicator) {
  return !indicator || *indicator == "0";
}

std::string FormatTimeLabel(const LocalTime& time, int format, bool use12Hour) {
  const int hour = use12Hour ? time.hour % 12 : time.hour;
  switch (format) {
    case 1:
      return StringPrintf("%d:%02d", hour, time.minute);
    case 2:
      return StringPrintf("%02d:%02d", time.minute, time.second);
    default:
      return StringPrintf("%d:%02d:%02d", hour, time.minute, time.second);
  }
}

LocalTime SecondsBefore(const LocalTime& time, std::int64_t seconds) {
  std::int64_t total = DaysFromCivil(time.year, time.month, time.day) * 86400 + time.hour * 3600 + time.minute * 60 +
                       time.second - seconds;
  std::int64_t days = total / 86400;
  std::int64_t rest = total % 86400;
  if (rest < 0) rest += 86400, days -= 1;
  const CivilDate date = CivilFromDays(days);
  LocalTime result;
  result.year = date.year;
  result.month = date.month;
  result.day = date.day;
  result.dayOfWeek = DayOfWeekFromDays(days);
  result.hour = static_cast<int>(rest / 3600);
  result.minute = static_cast<int>(rest / 60 % 60);
  result.second = static_cast<int>(rest % 60);
  return result;
}

}  // namespace veltrano
