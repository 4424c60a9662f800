// The arithmetic of the bandwidth usage rule: its threshold in bytes, its current period, the
// traffic of that period before today, and the words its messages use.
#pragma once

#include <cstdint>
#include <string>

#include "core/local_time.h"
#include "engine/adapter_entry.h"
#include "engine/traffic_log.h"
#include "notify/notification_rule.h"
#include "reports/report_periods.h"

namespace veltrano {

// The amount (RuleAmount) times the unit, truncated to whole bytes; the largest signed 64-bit
// value when that is 2^63 or more, or when the amount is not usable.
std::int64_t ThresholdBytes(const NotificationRule& rule);
std::uint64_t UnitMultiplier(std::uint32_t unit);
std::string UnitWord(std::uint32_t unit);              // "Bytes".."TB"
std::string TransferWord(std::uint32_t transferType);  // "downloaded", "uploaded", "downloaded and uploaded"

struct CalendarSettings {
  std::uint32_t weekStartDay = 0;
  std::uint32_t monthStartDay = 1;
  std::uint32_t dateFormat = 17;
};

// The rule's current period: this week, this month, or the last N days up to today.
Period RulePeriod(const NotificationRule& rule, const LocalTime& today, const CalendarSettings& calendar);
// The traffic of the watched adapter in the period before today, from the log (0 without one).
std::int64_t PeriodBase(const NotificationRule& rule, TrafficLog& log, const LocalTime& today,
                        const CalendarSettings& calendar);
// Base plus today's live totals of the watched row, saturating at the largest signed 64-bit value.
std::int64_t PeriodTotal(const NotificationRule& rule, std::int64_t base, const AdapterEntry& watched);

// "week (03/02/2008 -- 03/08/2008)", "month (...)", "7 days (...)": first day to today.
std::string PeriodText(const NotificationRule& rule, const LocalTime& today, const CalendarSettings& calendar);

}  // namespace veltrano
