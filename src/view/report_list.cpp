// Rows, sorting and status of the report lists.
#include "view/report_list.h"

#include <cctype>
#include <cstdlib>

#include "core/text.h"
#include "reports/value_format.h"

namespace veltrano {
namespace {

constexpr int kAmountWidth = 100;

int CompareValues(double a, double b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// The whole numbers of a text in the order they appear: "03/02/2008" gives 3, 2, 2008.
std::vector<long> NumbersIn(const std::string& text, size_t limit) {
  std::vector<long> numbers;
  for (size_t i = 0; i < text.size() && numbers.size() < limit;) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
      ++i;
      continue;
    }
    long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
      value = value < 100000000 ? value * 10 + (text[i] - '0') : value;
    numbers.push_back(value);
  }
  return numbers;
}

}  // namespace

const std::array<ListColumn, kListColumns>& ListColumns(ListPageKind kind) {
  static const std::array<ListColumn, kListColumns> daily = {{
      {"Date", ColumnAlign::kLeft, 95, ColumnSort::kDate},
      {"Day", ColumnAlign::kLeft, 95, ColumnSort::kText},
      {"Downloaded", ColumnAlign::kRight, kAmountWidth, ColumnSort::kAmount},
      {"Uploaded", ColumnAlign::kRight, kAmountWidth, ColumnSort::kAmount},
      {"Both", ColumnAlign::kRight, kAmountWidth, ColumnSort::kAmount},
  }};
  static const std::array<ListColumn, kListColumns> weekly = {{
      {"#", ColumnAlign::kLeft, 30, ColumnSort::kNumber},
      {"Week", ColumnAlign::kCenter, 160, ColumnSort::kPeriod},
      {"Downloaded", ColumnAlign::kRight, kAmountWidth, ColumnSort::kAmount},
      {"Uploaded", ColumnAlign::kRight, kAmountWidth, ColumnSort::kAmount},
      {"Both", ColumnAlign::kRight, kAmountWidth, ColumnSort::kAmount},
  }};
  static const std::array<ListColumn, kListColumns> monthly = {{
      {"#", ColumnAlign::kLeft, 30, ColumnSort::kNumber},
      {"Month", ColumnAlign::kCenter, 160, ColumnSort::kPeriod},
      {"Downloaded", ColumnAlign::kRight, kAmountWidth, ColumnSort::kAmount},
      {"Uploaded", ColumnAlign::kRight, kAmountWidth, ColumnSort::kAmount},
      {"Both", ColumnAlign::kRight, kAmountWidth, ColumnSort::kAmount},
  }};
  switch (kind) {
    case ListPageKind::kWeekly:
      return weekly;
    case ListPageKind::kMonthly:
      return monthly;
    case ListPageKind::kDaily:
      break;
  }
  return daily;
}

ReportKind ReportKindOf(ListPageKind kind) {
  switch (kind) {
    case ListPageKind::kWeekly:
      return ReportKind::kWeekly;
    case ListPageKind::kMonthly:
      return ReportKind::kMonthly;
    case ListPageKind::kDaily:
      break;
  }
  return ReportKind::kDaily;
}

double AmountSortKey(const std::string& text) {
  const char* start = text.c_str();
  char* end = nullptr;
  double value = std::strtod(start, &end);
  if (end == start) return 0.0;
  while (*end == ' ') ++end;
  switch (std::toupper(static_cast<unsigned char>(*end))) {
    case 'K':
      return value * 1024.0;
    case 'M':
      return value * 1048576.0;
    case 'G':
      return value * 1073741824.0;
    case 'T':
      return value * 1099511627776.0;
  }
  return value;
}

std::int64_t DateSortKey(const std::string& text, std::uint32_t dateFormat) {
  const std::vector<long> n = NumbersIn(text, 3);
  if (n.size() < 3) return 0;
  long year, month, day;
  switch (dateFormat) {
    case 34:
    case 102:
      day = n[0], month = n[1], year = n[2];
      break;
    case 51:
    case 68:
    case 85:
      year = n[0], month = n[1], day = n[2];
      break;
    default:
      month = n[0], day = n[1], year = n[2];
      break;
  }
  return static_cast<std::int64_t>(year) * 10000 + month * 100 + day;
}

int CompareCells(ColumnSort sort, std::uint32_t dateFormat, const std::string& a, const std::string& b) {
  switch (sort) {
    case ColumnSort::kAmount:
      return CompareValues(AmountSortKey(a), AmountSortKey(b));
    case ColumnSort::kDate:
    case ColumnSort::kPeriod:  // a period "first -- last" sorts by its first date
      return CompareValues(static_cast<double>(DateSortKey(a, dateFormat)),
                           static_cast<double>(DateSortKey(b, dateFormat)));
    case ColumnSort::kNumber:
      return CompareValues(std::atof(a.c_str()), std::atof(b.c_str()));
    case ColumnSort::kText:
      break;
  }
  return a.compare(b);
}

std::array<std::string, 3> AmountTexts(std::uint64_t downloaded, std::uint64_t uploaded) {
  return {FormatVolume(static_cast<std::int64_t>(downloaded), true),
          FormatVolume(static_cast<std::int64_t>(uploaded), true),
          FormatVolume(static_cast<std::int64_t>(downloaded + uploaded), true)};
}

std::string SelectionStatusText(size_t selected, std::uint64_t downloaded, std::uint64_t uploaded) {
  if (selected == 0) return "Selected: 0";
  const auto amounts = AmountTexts(downloaded, uploaded);
  return StringPrintf("Selected: %d   Down: %s   Up: %s   Both: %s", static_cast<int>(selected), amounts[0].c_str(),
                      amounts[1].c_str(), amounts[2].c_str());
}

void ReportListModel::Build(ReportInput input, TrafficLog& log, std::uint64_t todayIn, std::uint64_t todayOut) {
  input.todayIn = input.todayOut = 0;
  input_ = input;
  switch (kind_) {
    case ListPageKind::kDaily:
      Fill(BuildDailyRows(input, log));
      break;
    case ListPageKind::kWeekly:
      Fill(BuildWeeklyRows(input, log));
      break;
    case ListPageKind::kMonthly:
      Fill(BuildMonthlyRows(input, log));
      break;
  }
  Refresh(todayIn, todayOut);
}

void ReportListModel::ResetToToday(ReportInput input, std::uint64_t todayIn, std::uint64_t todayOut) {
  input.todayIn = input.todayOut = 0;
  input_ = input;
  PeriodRow row;
  row.current = true;
  row.dayOfWeek = input.todayDayOfWeek;
  Period period{input.today, input.today};
  if (kind_ == ListPageKind::kWeekly)
    period = WeekPeriod(input.today, input.todayDayOfWeek, static_cast<int>(input.weekStartDay));
  if (kind_ == ListPageKind::kMonthly) period = MonthPeriod(input.today, static_cast<int>(input.monthStartDay));
  row.first = period.first;
  row.last = period.last;
  Fill({row});
  Refresh(todayIn, todayOut);
}

void ReportListModel::Fill(const std::vector<PeriodRow>& newestFirst) {
  const ReportTable table = MakeRowsTable(ReportKindOf(kind_), newestFirst, input_, std::string());
  rows_.clear();
  for (size_t i = 0; i < newestFirst.size(); ++i) {
    Row row;
    row.built = newestFirst[i];
    for (int c = 0; c < kListColumns && c < static_cast<int>(table.rows[i].size()); ++c)
      row.cells[c] = table.rows[i][c];
    rows_.push_back(std::move(row));
  }
  range_ = RowsRange(newestFirst);
  liveIn_ = liveOut_ = 0;
}

size_t ReportListModel::CurrentRow() const {
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].built.current) return i;
  return rows_.size();
}

PeriodRow ReportListModel::Shown(size_t index) const {
  PeriodRow row = rows_[index].built;
  if (!row.current) return row;
  if (kind_ == ListPageKind::kDaily) {
    row.downloaded = liveIn_;
    row.uploaded = liveOut_;
  } else {
    row.downloaded += liveIn_;
    row.uploaded += liveOut_;
  }
  return row;
}

std::vector<int> ReportListModel::Refresh(std::uint64_t todayIn, std::uint64_t todayOut) {
  std::vector<int> changed;
  const size_t current = CurrentRow();
  if (current == rows_.size()) return changed;
  liveIn_ = todayIn;
  liveOut_ = todayOut;
  const PeriodRow shown = Shown(current);
  const auto amounts = AmountTexts(shown.downloaded, shown.uploaded);
  for (int i = 0; i < 3; ++i) {
    std::string& cell = rows_[current].cells[2 + i];
    if (cell == amounts[i]) continue;
    cell = amounts[i];
    changed.push_back(2 + i);
  }
  return changed;
}

std::string ReportListModel::StatusText(const std::vector<size_t>& selected) const {
  std::uint64_t downloaded = 0, uploaded = 0;
  size_t count = 0;
  for (size_t index : selected) {
    if (index >= rows_.size()) continue;
    const PeriodRow row = Shown(index);
    downloaded += row.downloaded;
    uploaded += row.uploaded;
    ++count;
  }
  return SelectionStatusText(count, downloaded, uploaded);
}

int ReportListModel::Compare(size_t a, size_t b, int column) const {
  if (column < 0 || column >= kListColumns || a >= rows_.size() || b >= rows_.size()) return 0;
  // The texts decide, as the user sees them (amounts as their rounded values).
  return CompareCells(ListColumns(kind_)[column].sort, input_.dateFormat, rows_[a].cells[column],
                      rows_[b].cells[column]);
}

ReportTable ReportListModel::ExportTable(const std::vector<size_t>& shownOrder, const std::string& adapterName) const {
  ReportTable table;
  table.kind = ReportKindOf(kind_);
  table.adapterName = adapterName;
  table.rangeFirst = FormatDate(input_.dateFormat, range_.first.year, range_.first.month, range_.first.day);
  table.rangeLast = FormatDate(input_.dateFormat, range_.last.year, range_.last.month, range_.last.day);
  for (size_t index : shownOrder)
    if (index < rows_.size()) table.rows.emplace_back(rows_[index].cells.begin(), rows_[index].cells.end());
  return table;
}

}  // namespace veltrano
