// Report periods and the rows built over them.
#include "reports/report_periods.h"

#include <functional>

#include "engine/adapter_entry.h"

namespace veltrano {
namespace {

std::int64_t DayNumber(const LogDate& date) {
  return DaysFromCivil(date.year, date.month, date.day);
}

bool Within(const LogDate& date, const Period& period) {
  return CompareDates(date, period.first) >= 0 && CompareDates(date, period.last) <= 0;
}

bool BelongsTo(const DayRecord& record, const ReportInput& input) {
  return record.kind == input.kind && (record.kind != kInterfaceAdapter || record.id == input.id);
}

LogDate DateOf(const DayRecord& record) {
  return {record.year, record.month, record.day};
}

void ForEachRecordOf(const ReportInput& input, TrafficLog& log, const std::function<void(const DayRecord&)>& visit) {
  log.ForEachRecord([&](const DayRecord& record, std::uint64_t) {
    if (BelongsTo(record, input)) visit(record);
  });
}

// Runs of consecutive records in one period become one row each; today's records are left to the
// live totals, which go to the current period's row.
std::vector<PeriodRow> BuildPeriodRows(const ReportInput& input, TrafficLog& log,
                                       const std::function<Period(const DayRecord&)>& periodOf, const Period& current) {
  std::vector<PeriodRow> oldestFirst;
  bool groupOpen = false;
  PeriodRow group;
  ForEachRecordOf(input, log, [&](const DayRecord& record) {
    const LogDate date = DateOf(record);
    if (date == input.today) return;
    if (!groupOpen || !Within(date, {group.first, group.last})) {
      if (groupOpen) oldestFirst.push_back(group);
      const Period period = periodOf(record);
      group = PeriodRow{};
      group.first = period.first;
      group.last = period.last;
      groupOpen = true;
    }
    group.downloaded += record.received;
    group.uploaded += record.sent;
  });
  if (groupOpen) oldestFirst.push_back(group);

  if (!oldestFirst.empty() && Period{oldestFirst.back().first, oldestFirst.back().last} == current) {
    oldestFirst.back().downloaded += input.todayIn;
    oldestFirst.back().uploaded += input.todayOut;
    oldestFirst.back().current = true;
  } else {
    PeriodRow row;
    row.first = current.first;
    row.last = current.last;
    row.downloaded = input.todayIn;
    row.uploaded = input.todayOut;
    row.current = true;
    oldestFirst.push_back(row);
  }
  return std::vector<PeriodRow>(oldestFirst.rbegin(), oldestFirst.rend());
}

}  // namespace

int CompareDates(const LogDate& a, const LogDate& b) {
  if (a.year != b.year) return a.year < b.year ? -1 : 1;
  if (a.month != b.month) return a.month < b.month ? -1 : 1;
  if (a.day != b.day) return a.day < b.day ? -1 : 1;
  return 0;
}

int DaysInMonth(int year, int month) {
  if (month == 4 || month == 6 || month == 9 || month == 11) return 30;
  if (month == 2) return year % 4 == 0 ? 29 : 28;
  return 31;
}

Period MonthPeriod(const LogDate& date, int startDay) {
  Period period;
  if (date.day < startDay) {
    period.first = {date.year, date.month - 1, startDay};
    period.last = {date.year, date.month, startDay - 1};
    if (period.first.month == 0) period.first = {date.year - 1, 12, startDay};
  } else {
    period.first = {date.year, date.month, startDay};
    period.last = {date.year, date.month + 1, startDay - 1};
    if (period.last.month == 13) period.last = {date.year + 1, 1, startDay - 1};
  }
  if (period.last.day == 0) {
    period.last.month -= 1;
    period.last.day = 31;
    if (period.last.month == 0) period.last = {period.last.year - 1, 12, 31};
  }
  if (period.first.day > DaysInMonth(period.first.year, period.first.month)) {
    period.first = {period.first.year, period.first.month + 1, 1};
    if (period.first.month == 13) period.first = {period.first.year + 1, 1, 1};
  }
  const int lastDays = DaysInMonth(period.last.year, period.last.month);
  if (period.last.day > lastDays) period.last.day = lastDays;
  return period;
}

LogDate AddDays(const LogDate& date, int days) {
  const CivilDate moved = CivilFromDays(DayNumber(date) + days);
  return {moved.year, moved.month, moved.day};
}

Period WeekPeriod(const LogDate& date, int dayOfWeek, int weekStartDay) {
  const LogDate first = dayOfWeek == weekStartDay ? date : AddDays(date, -((dayOfWeek - weekStartDay + 7) % 7));
  return {first, AddDays(first, 6)};
}

LogDate LastNDaysStart(const LogDate& date, int n) {
  return AddDays(date, -(n - 1));
}

int WeekNumber(const LogDate& date, int weekStartDay) {
  const std::int64_t newYear = DaysFromCivil(date.year, 1, 1);
  const int firstDay = DayOfWeekFromDays(newYear) + 1;  // 1 = Sunday .. 7 = Saturday
  const int dayOfYear = static_cast<int>(DayNumber(date) - newYear) + 1;
  const int e = dayOfYear - ((weekStartDay - firstDay + 8) % 7);
  return (firstDay != weekStartDay + 1 ? 1 : 0) + e / 7 + (e % 7 > 0 ? 1 : 0);
}

std::vector<PeriodRow> BuildDailyRows(const ReportInput& input, TrafficLog& log) {
  std::vector<PeriodRow> oldestFirst;
  ForEachRecordOf(input, log, [&](const DayRecord& record) {
    PeriodRow row;
    row.first = row.last = DateOf(record);
    row.dayOfWeek = record.dayOfWeek;
    row.downloaded = record.received;
    row.uploaded = record.sent;
    row.current = row.first == input.today;
    oldestFirst.push_back(row);
  });
  if (!oldestFirst.empty() && oldestFirst.back().first == input.today) {
    oldestFirst.back().downloaded = input.todayIn;
    oldestFirst.back().uploaded = input.todayOut;
  } else {
    PeriodRow today;
    today.first = today.last = input.today;
    today.dayOfWeek = input.todayDayOfWeek;
    today.downloaded = input.todayIn;
    today.uploaded = input.todayOut;
    today.current = true;
    oldestFirst.push_back(today);
  }
  return std::vector<PeriodRow>(oldestFirst.rbegin(), oldestFirst.rend());
}

std::vector<PeriodRow> BuildWeeklyRows(const ReportInput& input, TrafficLog& log) {
  const int start = static_cast<int>(input.weekStartDay);
  return BuildPeriodRows(
      input, log, [&](const DayRecord& record) { return WeekPeriod(DateOf(record), record.dayOfWeek, start); },
      WeekPeriod(input.today, input.todayDayOfWeek, start));
}

std::vector<PeriodRow> BuildMonthlyRows(const ReportInput& input, TrafficLog& log) {
  const int start = static_cast<int>(input.monthStartDay);
  return BuildPeriodRows(
      input, log, [&](const DayRecord& record) { return MonthPeriod(DateOf(record), start); },
      MonthPeriod(input.today, start));
}

SummaryTotals BuildSummary(const ReportInput& input, TrafficLog& log) {
  SummaryTotals totals;
  for (auto& line : totals.lines) line = {input.todayIn, input.todayOut};
  totals.earliest = totals.latest = input.today;
  const Period week = WeekPeriod(input.today, input.todayDayOfWeek, static_cast<int>(input.weekStartDay));
  const Period month = MonthPeriod(input.today, static_cast<int>(input.monthStartDay));
  const int lastDays = static_cast<int>(input.sumLastDays);
  const Period recent{lastDays > 1 ? LastNDaysStart(input.today, lastDays) : input.today, input.today};

  ForEachRecordOf(input, log, [&](const DayRecord& record) {
    const LogDate date = DateOf(record);
    if (date == input.today) return;
    const auto add = [&](SummaryLine line) {
      totals.lines[line].downloaded += record.received;
      totals.lines[line].uploaded += record.sent;
    };
    add(kTotal);
    if (date.year == input.today.year) add(kThisYear);
    if (Within(date, month)) add(kThisMonth);
    if (Within(date, week)) add(kThisWeek);
    if (lastDays > 1 && Within(date, recent)) add(kLastNDays);
    if (CompareDates(date, totals.earliest) < 0) totals.earliest = date;
    if (CompareDates(date, totals.latest) > 0) totals.latest = date;
  });
  return totals;
}

Period RowsRange(const std::vector<PeriodRow>& newestFirst) {
  if (newestFirst.empty()) return {};
  return {newestFirst.back().first, newestFirst.front().last};
}

}  // namespace veltrano
