// The daily, weekly and monthly lists of the traffic reports window: their columns, the rows as
// built from the log with today's live totals on the current row, sorting keys, the status line
// of the selection and the table an export writes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "reports/report_export.h"
#include "reports/report_periods.h"

namespace veltrano {

enum class ListPageKind { kDaily, kWeekly, kMonthly };

enum class ColumnSort { kDate, kPeriod, kNumber, kText, kAmount };
enum class ColumnAlign { kLeft, kCenter, kRight };

struct ListColumn {
  const char* title;
  ColumnAlign align;
  int width;  // pixels
  ColumnSort sort;
};

constexpr int kListColumns = 5;
const std::array<ListColumn, kListColumns>& ListColumns(ListPageKind kind);
ReportKind ReportKindOf(ListPageKind kind);

// Sort keys of cell texts. An amount is its number times 1024, 2^20, 2^30 or 2^40 when a K, M, G
// or T (either case) follows it; a date is read in the DateFormat style as year, month, day; a
// period by its first date.
double AmountSortKey(const std::string& text);
std::int64_t DateSortKey(const std::string& text, std::uint32_t dateFormat);
int CompareCells(ColumnSort sort, std::uint32_t dateFormat, const std::string& a, const std::string& b);

// A header click sorts ascending; a second click on the same header reverses the order.
struct SortOrder {
  int column = -1;
  bool descending = false;
  void Click(int clicked) {
    descending = clicked == column ? !descending : false;
    column = clicked;
  }
};

// "Downloaded", "Uploaded", "Both" of a pair of totals.
std::array<std::string, 3> AmountTexts(std::uint64_t downloaded, std::uint64_t uploaded);
// "Selected: 0", or the count and the sums of the selected rows.
std::string SelectionStatusText(size_t selected, std::uint64_t downloaded, std::uint64_t uploaded);

class ReportListModel {
 public:
  struct Row {
    PeriodRow built;  // totals from the log, before today's live counters
    std::array<std::string, kListColumns> cells;
  };

  explicit ReportListModel(ListPageKind kind) : kind_(kind) {}

  ListPageKind Kind() const { return kind_; }
  // Reads the log once (a closed log gives today's row or period only). The input's todayIn and
  // todayOut are ignored: the live counters come with Refresh.
  void Build(ReportInput input, TrafficLog& log, std::uint64_t todayIn, std::uint64_t todayOut);
  // After the log was cleared: one row for today or the current period, without reading the log.
  void ResetToToday(ReportInput input, std::uint64_t todayIn, std::uint64_t todayOut);

  size_t Size() const { return rows_.size(); }
  const Row& At(size_t index) const { return rows_[index]; }
  // Index of the current row; Size() when there is none.
  size_t CurrentRow() const;
  // Applies today's live counters to the current row; the columns whose text changed.
  std::vector<int> Refresh(std::uint64_t todayIn, std::uint64_t todayOut);
  // The row's totals as shown: the current row with its live values.
  PeriodRow Shown(size_t index) const;

  std::string StatusText(const std::vector<size_t>& selected) const;
  // Negative, zero or positive as row a sorts before, with or after row b by the column.
  int Compare(size_t a, size_t b, int column) const;
  // The rows in the order the list shows them, for the exporters.
  ReportTable ExportTable(const std::vector<size_t>& shownOrder, const std::string& adapterName) const;
  const ReportInput& Input() const { return input_; }

 private:
  void Fill(const std::vector<PeriodRow>& newestFirst);

  ListPageKind kind_;
  ReportInput input_;
  std::vector<Row> rows_;
  Period range_;
  std::uint64_t liveIn_ = 0;
  std::uint64_t liveOut_ = 0;
};

}  // namespace veltrano
