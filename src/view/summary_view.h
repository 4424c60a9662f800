// The summary page of the traffic reports window: past sums read once from the log, today's live
// counters added each time the lines are shown, and the Last N line rescanned alone when N changes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/local_time.h"
#include "reports/report_export.h"
#include "reports/report_periods.h"

namespace veltrano {

constexpr int kMaxLastDays = 32767;

// "Until today - Monday, March 10, 2008".
std::string UntilTodayText(const LocalTime& today);

// The N field as typed: a number is taken (0 or less as 0, above the up-down's range as its top);
// text that is no number leaves N as it was.
int ParseLastDays(const std::string& text, int current);

enum SummaryRow { kRowToday, kRowWeek, kRowMonth, kRowYear, kRowLastDays, kRowTotal, kSummaryRows };

class SummaryModel {
 public:
  // The sums of past days (the input's today counters are ignored).
  void Build(ReportInput input, TrafficLog& log);
  // After the log was cleared: every past sum zero, the range today to today.
  void ResetToToday(ReportInput input);
  // A new N: 0 or less empties the Last N cells; otherwise only the Last N sums are read again
  // (nothing to read for N = 1). Without an open log the sums stay as they were when N > 1.
  void SetLastDays(int n, TrafficLog& log);

  int LastDays() const { return lastDays_; }
  // The three cells of each line with today's counters added; the Last N cells are empty while
  // N < 1.
  std::array<std::string, 3> Cells(SummaryRow row, std::uint64_t todayIn, std::uint64_t todayOut) const;
  // The lines as shown, for the exporters.
  ReportTable ExportTable(std::uint64_t todayIn, std::uint64_t todayOut, const std::string& adapterName) const;
  // The input the exporters need (today's counters, N in effect).
  ReportInput ExportInput(std::uint64_t todayIn, std::uint64_t todayOut) const;

 private:
  ReportInput input_;
  SummaryTotals past_;  // without today
  int lastDays_ = 0;
};

}  // namespace veltrano
