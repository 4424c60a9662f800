// The calendar of the reports (days, weeks, months and the last N days, as the user's week and
// month start days define them) and the rows of the daily, weekly, monthly and summary reports,
// built from the traffic log in one pass with today's live totals in place of today's records.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/adapter_kind.h"
#include "engine/day_record.h"
#include "engine/traffic_log.h"

namespace veltrano {

struct Period {
  LogDate first;
  LogDate last;
  bool operator==(const Period& other) const { return first == other.first && last == other.last; }
};

int CompareDates(const LogDate& a, const LogDate& b);
// February has 29 days in every fourth year, 2100 included: only month-end clamping uses it.
int DaysInMonth(int year, int month);
Period MonthPeriod(const LogDate& date, int startDay);
Period WeekPeriod(const LogDate& date, int dayOfWeek, int weekStartDay);
LogDate AddDays(const LogDate& date, int days);
LogDate LastNDaysStart(const LogDate& date, int n);
int WeekNumber(const LogDate& date, int weekStartDay);

struct ReportInput {
  std::int32_t kind = kAllConnections;
  AdapterId id;
  std::uint64_t todayIn = 0;
  std::uint64_t todayOut = 0;
  LogDate today;
  int todayDayOfWeek = 0;
  std::uint32_t weekStartDay = 0;
  std::uint32_t monthStartDay = 1;
  std::uint32_t sumLastDays = 30;
  std::uint32_t dateFormat = 17;
};

struct PeriodRow {
  LogDate first;
  LogDate last;
  int dayOfWeek = 0;  // daily rows
  std::uint64_t downloaded = 0;
  std::uint64_t uploaded = 0;
  bool current = false;
};

enum SummaryLine { kThisWeek, kThisMonth, kThisYear, kLastNDays, kTotal, kSummaryLines };

struct SummaryTotals {
  struct Pair {
    std::uint64_t downloaded = 0;
    std::uint64_t uploaded = 0;
  };
  std::array<Pair, kSummaryLines> lines;
  LogDate earliest;
  LogDate latest;
};

// Newest first; the log is read once from its first record to the end.
std::vector<PeriodRow> BuildDailyRows(const ReportInput& input, TrafficLog& log);
std::vector<PeriodRow> BuildWeeklyRows(const ReportInput& input, TrafficLog& log);
std::vector<PeriodRow> BuildMonthlyRows(const ReportInput& input, TrafficLog& log);
SummaryTotals BuildSummary(const ReportInput& input, TrafficLog& log);

// The "[first --- last]" range of a report: daily from the oldest to the newest row's date,
// weekly and monthly from the oldest row's first to the newest row's last date.
Period RowsRange(const std::vector<PeriodRow>& newestFirst);

}  // namespace veltrano
