// Threshold and period of the bandwidth usage rule.
#include "notify/usage_period.h"

#include <charconv>

#include "reports/value_format.h"

namespace veltrano {

std::uint64_t UnitMultiplier(std::uint32_t unit) {
  switch (unit) {
    case 1:
      return 1ull << 10;
    case 2:
      return 1ull << 20;
    case 3:
      return 1ull << 30;
    case 4:
      return 1ull << 40;
    default:
      return 1;
  }
}

std::string UnitWord(std::uint32_t unit) {
  static const char* const kWords[] = {"Bytes", "KB", "MB", "GB", "TB"};
  return unit < 5 ? kWords[unit] : "Bytes";
}

std::string TransferWord(std::uint32_t transferType) {
  switch (transferType) {
    case 0:
      return "downloaded";
    case 1:
      return "uploaded";
    default:
      return "downloaded and uploaded";
  }
}

std::int64_t ThresholdBytes(const NotificationRule& rule) {
  double amount = 0;
  const char* text = rule.amount.c_str();
  std::from_chars(text, text + rule.amount.size(), amount, std::chars_format::fixed);
  return static_cast<std::int64_t>(amount * static_cast<double>(UnitMultiplier(rule.unit)));
}

Period RulePeriod(const NotificationRule& rule, const LocalTime& today, const CalendarSettings& calendar) {
  const LogDate date = LogDate::Of(today);
  switch (rule.periodKind) {
    case 0:
      return WeekPeriod(date, today.dayOfWeek, static_cast<int>(calendar.weekStartDay));
    case 1:
      return MonthPeriod(date, static_cast<int>(calendar.monthStartDay));
    default:
      return {LastNDaysStart(date, rule.days), date};
  }
}

std::int64_t PeriodBase(const NotificationRule& rule, TrafficLog& log, const LocalTime& today,
                        const CalendarSettings& calendar) {
  const Period period = RulePeriod(rule, today, calendar);
  if (!log.IsOpen() || !(period.first < period.last)) return 0;
  const SumDirection direction = rule.transferType == 0   ? SumDirection::kReceived
                                 : rule.transferType == 1 ? SumDirection::kSent
                                                          : SumDirection::kBoth;
  return static_cast<std::int64_t>(
      log.SumRange(rule.adapterKind, rule.adapterId, period.first, period.last, LogDate::Of(today), direction));
}

std::int64_t PeriodTotal(const NotificationRule& rule, std::int64_t base, const AdapterEntry& watched) {
  const std::uint64_t today = rule.transferType == 0   ? watched.todayIn
                              : rule.transferType == 1 ? watched.todayOut
                                                       : watched.todayIn + watched.todayOut;
  return base + static_cast<std::int64_t>(today);
}

std::string PeriodText(const NotificationRule& rule, const LocalTime& today, const CalendarSettings& calendar) {
  const Period period = RulePeriod(rule, today, calendar);
  const std::string word = rule.periodKind == 0   ? "week"
                           : rule.periodKind == 1 ? "month"
                                                  : std::to_string(rule.days) + " days";
  const auto date = [&](const LogDate& d) { return FormatDate(calendar.dateFormat, d.year, d.month, d.day); };
  return word + " (" + date(period.first) + " -- " + date(LogDate::Of(today)) + ")";
}

}  // namespace veltrano
