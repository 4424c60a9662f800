#include "view/report_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "view/crafted_log.h"

namespace veltrano {
namespace {

using testing::CraftedLog;

TEST(ReportListSorting, AmountsSortByValueWithTheirUnit) {
  EXPECT_LT(CompareCells(ColumnSort::kAmount, 17, "900.0 KB", "1.5 MB"), 0);
  EXPECT_GT(CompareCells(ColumnSort::kAmount, 17, "1.00 TB", "999.99 GB"), 0);
  EXPECT_LT(CompareCells(ColumnSort::kAmount, 17, "999 B", "1.0 KB"), 0);
  EXPECT_EQ(AmountSortKey("1.5k"), AmountSortKey("1.5 KB"));
  EXPECT_EQ(AmountSortKey("2 g"), 2.0 * 1073741824.0);
  EXPECT_EQ(AmountSortKey(""), 0.0);
}

TEST(ReportListSorting, DatesSortByYearMonthDayInEveryStyle) {
  // 31 December 2007 before 2 January 2008, whatever comes first in the text.
  EXPECT_LT(CompareCells(ColumnSort::kDate, 34, "31/12/2007", "02/01/2008"), 0);
  EXPECT_LT(CompareCells(ColumnSort::kDate, 17, "12/31/2007", "01/02/2008"), 0);
  EXPECT_LT(CompareCells(ColumnSort::kDate, 102, "31.12.2007", "02.01.2008"), 0);
  EXPECT_LT(CompareCells(ColumnSort::kDate, 68, "2007-12-31", "2008-01-02"), 0);
  // Periods by their first date.
  EXPECT_GT(CompareCells(ColumnSort::kPeriod, 34, "01/02/2008 -- 29/02/2008", "31/01/2008 -- 28/02/2008"), 0);
  EXPECT_LT(CompareCells(ColumnSort::kNumber, 17, "9", "10"), 0);
  EXPECT_LT(CompareCells(ColumnSort::kText, 17, "Friday", "Monday"), 0);
}

TEST(ReportListSorting, ASecondClickOnTheSameHeaderReverses) {
  SortOrder order;
  order.Click(2);
  EXPECT_FALSE(order.descending);
  order.Click(2);
  EXPECT_TRUE(order.descending);
  order.Click(3);
  EXPECT_EQ(order.column, 3);
  EXPECT_FALSE(order.descending);
}

class ReportListTest : public ::testing::Test {
 protected:
  ReportListTest() {
    input_.today = {2008, 3, 10};
    input_.todayDayOfWeek = testing::DayOfWeekOf(input_.today);
    input_.dateFormat = 68;
    log_.Add({2008, 3, 1}, 1536000, 100);  // 1.46 MB
    log_.Add({2008, 3, 8}, 921600, 200);   // 900.0 KB
    log_.Add({2008, 3, 9}, 1000, 300);
    log_.Add({2008, 3, 10}, 5, 5);  // today's stored record gives way to the live totals
    log_.Add({2008, 3, 9}, 7, 7, kInterfaceAdapter, "{NIC}");
  }

  CraftedLog log_;
  ReportInput input_;
};

TEST_F(ReportListTest, TheCurrentRowFollowsTheLiveCountersAndReportsOnlyChangedCells) {
  ReportListModel daily(ListPageKind::kDaily);
  daily.Build(input_, log_.Open(), 2048, 0);
  ASSERT_EQ(daily.Size(), 4u);
  EXPECT_EQ(daily.CurrentRow(), 0u);
  EXPECT_EQ(daily.At(0).cells[0], "2008-03-10");
  EXPECT_EQ(daily.At(0).cells[1], "Monday");
  EXPECT_EQ(daily.At(0).cells[2], "2.0 KB");
  EXPECT_EQ(daily.At(0).cells[4], "2.0 KB");
  EXPECT_EQ(daily.At(3).cells[0], "2008-03-01");
  // Only "Uploaded" and "Both" change; a repeat changes nothing.
  EXPECT_EQ(daily.Refresh(2048, 1000), (std::vector<int>{3, 4}));
  EXPECT_TRUE(daily.Refresh(2048, 1000).empty());

  ReportListModel weekly(ListPageKind::kWeekly);
  weekly.Build(input_, log_.Log(), 100, 0);  // the week of Sunday 9 March: 1000 + 100 today
  EXPECT_EQ(weekly.At(0).cells[2], "1.1 KB");
  EXPECT_EQ(weekly.At(0).cells[1], "2008-03-09 -- 2008-03-15");
  EXPECT_EQ(weekly.At(0).cells[0], "11");
}

TEST_F(ReportListTest, TheStatusLineSumsTheSelectionWithTheCurrentRowsLiveValues) {
  ReportListModel daily(ListPageKind::kDaily);
  daily.Build(input_, log_.Open(), 0, 0);
  daily.Refresh(24, 0);
  EXPECT_EQ(daily.StatusText({}), "Selected: 0");
  EXPECT_EQ(daily.StatusText({0, 2}), "Selected: 2   Down: 900.0 KB   Up: 200 B   Both: 900.2 KB");
  EXPECT_EQ(daily.StatusText({0, 1, 2}), "Selected: 3   Down: 901.0 KB   Up: 500 B   Both: 901.5 KB");
}

TEST_F(ReportListTest, SortsAmountsByTheirValue) {
  ReportListModel daily(ListPageKind::kDaily);
  daily.Build(input_, log_.Open(), 0, 0);
  std::vector<size_t> order(daily.Size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return daily.Compare(a, b, 2) < 0; });
  // 0 B today, 1000 B, 900.0 KB, 1.46 MB.
  EXPECT_EQ(order, (std::vector<size_t>{0, 1, 2, 3}));
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return daily.Compare(a, b, 0) < 0; });
  EXPECT_EQ(order, (std::vector<size_t>{3, 2, 1, 0}));
}

TEST_F(ReportListTest, ExportsTheSameBytesAsTheServiceForTheSameRows) {
  for (ListPageKind kind : {ListPageKind::kDaily, ListPageKind::kWeekly, ListPageKind::kMonthly}) {
    ReportListModel model(kind);
    model.Build(input_, log_.Open(), 3000, 40);
    std::vector<size_t> order(model.Size());
    std::iota(order.begin(), order.end(), 0);
    ReportInput serviceInput = input_;
    serviceInput.todayIn = 3000;
    serviceInput.todayOut = 40;
    const auto rows = kind == ListPageKind::kDaily    ? BuildDailyRows(serviceInput, log_.Log())
                      : kind == ListPageKind::kWeekly ? BuildWeeklyRows(serviceInput, log_.Log())
                                                      : BuildMonthlyRows(serviceInput, log_.Log());
    const ReportTable service = MakeRowsTable(ReportKindOf(kind), rows, serviceInput, "All Connections");
    for (ExportFormat format : {ExportFormat::kText, ExportFormat::kCsv, ExportFormat::kHtml})
      EXPECT_EQ(RenderReport(model.ExportTable(order, "All Connections"), model.Input(), format),
                RenderReport(service, serviceInput, format));
  }
}

TEST_F(ReportListTest, AfterClearingOrWithoutALogOnlyTheCurrentDayOrPeriodIsShown) {
  ReportListModel monthly(ListPageKind::kMonthly);
  monthly.Build(input_, log_.Open(), 0, 0);
  EXPECT_EQ(monthly.Size(), 1u);  // March only
  monthly.ResetToToday(input_, 10, 0);
  ASSERT_EQ(monthly.Size(), 1u);
  EXPECT_EQ(monthly.At(0).cells[1], "2008-03-01 -- 2008-03-31");
  EXPECT_EQ(monthly.At(0).cells[2], "10 B");

  log_.Log().Close();
  ReportListModel daily(ListPageKind::kDaily);
  daily.Build(input_, log_.Log(), 9, 1);
  ASSERT_EQ(daily.Size(), 1u);
  EXPECT_EQ(daily.At(0).cells[4], "10 B");
  const ReportTable table = daily.ExportTable({0}, "x");
  EXPECT_EQ(table.rangeFirst, "2008-03-10");
  EXPECT_EQ(table.rangeLast, "2008-03-10");
}

}  // namespace
}  // namespace veltrano
