// Summary page sums and texts.
#include "view/summary_view.h"

#include <cctype>
#include <cstdlib>

#include "core/text.h"
#include "reports/value_format.h"
#include "view/report_list.h"

namespace veltrano {
namespace {

const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

SummaryLine LineOf(SummaryRow row) {
  switch (row) {
    case kRowWeek:
      return kThisWeek;
    case kRowMonth:
      return kThisMonth;
    case kRowYear:
      return kThisYear;
    case kRowLastDays:
      return kLastNDays;
    default:
      return kTotal;
  }
}

}  // namespace

std::string UntilTodayText(const LocalTime& today) {
  const char* month = today.month >= 1 && today.month <= 12 ? kMonthNames[today.month - 1] : "";
  return StringPrintf("Until today - %s, %s %02d, %d", WeekdayName(today.dayOfWeek).c_str(), month, today.day,
                      today.year);
}

int ParseLastDays(const std::string& text, int current) {
  const std::string trimmed = TrimBlanks(text);
  size_t i = 0;
  const bool negative = i < trimmed.size() && trimmed[i] == '-';
  if (negative) ++i;
  if (i == trimmed.size()) return current;
  long value = 0;
  for (; i < trimmed.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(trimmed[i]))) return current;
    if (value <= kMaxLastDays) value = value * 10 + (trimmed[i] - '0');
  }
  if (negative || value <= 0) return 0;
  return value > kMaxLastDays ? kMaxLastDays : static_cast<int>(value);
}

void SummaryModel::Build(ReportInput input, TrafficLog& log) {
  input.todayIn = input.todayOut = 0;
  input_ = input;
  lastDays_ = static_cast<int>(input.sumLastDays);
  past_ = BuildSummary(input, log);
}

void SummaryModel::ResetToToday(ReportInput input) {
  input.todayIn = input.todayOut = 0;
  input_ = input;
  past_ = SummaryTotals{};
  past_.earliest = past_.latest = input.today;
}

void SummaryModel::SetLastDays(int n, TrafficLog& log) {
  if (n < 1) n = 0;
  lastDays_ = n;
  input_.sumLastDays = static_cast<std::uint32_t>(n);
  auto& sums = past_.lines[kLastNDays];
  if (n == 1) sums = {};
  if (n <= 1 || !log.IsOpen()) return;
  const Period recent{LastNDaysStart(input_.today, n), input_.today};
  sums = {};
  log.ForEachRecord([&](const DayRecord& record, std::uint64_t) {
    if (record.kind != input_.kind || (record.kind == kInterfaceAdapter && record.id != input_.id)) return;
    const LogDate date = record.Date();
    if (date == input_.today || CompareDates(date, recent.first) < 0 || CompareDates(date, recent.last) > 0) return;
    sums.downloaded += record.received;
    sums.uploaded += record.sent;
  });
}

std::array<std::string, 3> SummaryModel::Cells(SummaryRow row, std::uint64_t todayIn, std::uint64_t todayOut) const {
  if (row == kRowLastDays && lastDays_ < 1) return {};
  if (row == kRowToday) return AmountTexts(todayIn, todayOut);
  const auto& past = past_.lines[LineOf(row)];
  return AmountTexts(past.downloaded + todayIn, past.uploaded + todayOut);
}

ReportInput SummaryModel::ExportInput(std::uint64_t todayIn, std::uint64_t todayOut) const {
  ReportInput input = input_;
  input.todayIn = todayIn;
  input.todayOut = todayOut;
  input.sumLastDays = static_cast<std::uint32_t>(lastDays_);
  return input;
}

ReportTable SummaryModel::ExportTable(std::uint64_t todayIn, std::uint64_t todayOut,
                                      const std::string& adapterName) const {
  SummaryTotals shown = past_;
  for (auto& line : shown.lines) {
    line.downloaded += todayIn;
    line.uploaded += todayOut;
  }
  return MakeSummaryTable(shown, ExportInput(todayIn, todayOut), adapterName);
}

}  // namespace veltrano
