// Threshold and period of the bandwidth usage rule.
#include "notify/usage_period.h"

#include <limits>

#include "reports/value_format.h"

namespace veltrano {

namespace {

// base + count, never above the largest signed 64-bit value; a negative base counts as 0.
std::int64_t SaturatedSum(std::int64_t base, std::uint64_t count) {
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  const std::uint64_t start = base > 0 ? static_cast<std::uint64_t>(base) : 0;
  return static_cast<std::int64_t>(count >= kMax - start ? kMax : start + count);
}

}  // namespace

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

// A byte count of 2^63 or more (2147483647 TB, the spin control's top, is far beyond) has no
// signed 64-bit value: it becomes the largest one, a limit no period reaches. So does an amount
// that is not a usable number, for a rule that is switched off anyway.
std::int64_t ThresholdBytes(const NotificationRule& rule) {
  constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
  constexpr double kTwoTo63 = 9223372036854775808.0;
  if (!HasUsableAmount(rule)) return kNever;
  const double bytes = RuleAmount(rule) * static_cast<double>(UnitMultiplier(rule.unit));
  return bytes >= kTwoTo63 ? kNever : static_cast<std::int64_t>(bytes);
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
  return SaturatedSum(
      0, log.SumRange(rule.adapterKind, rule.adapterId, period.first, period.last, LogDate::Of(today), direction));
}

// Byte counts come from a file anybody may have written: the total stops at the largest signed
// 64-bit value instead of wrapping.
std::int64_t PeriodTotal(const NotificationRule& rule, std::int64_t base, const AdapterEntry& watched) {
  switch (rule.transferType) {
    case 0:
      return SaturatedSum(base, watched.todayIn);
    case 1:
      return SaturatedSum(base, watched.todayOut);
    default:
      return SaturatedSum(SaturatedSum(base, watched.todayIn), watched.todayOut);
  }
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
