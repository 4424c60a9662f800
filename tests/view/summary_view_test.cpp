#include "view/summary_view.h"

#include <gtest/gtest.h>

#include "view/crafted_log.h"

namespace veltrano {
namespace {

using testing::CraftedLog;

TEST(SummaryTexts, TheDateLineAndTheLastDaysField) {
  LocalTime today;
  today.year = 2008, today.month = 3, today.day = 2, today.dayOfWeek = 0;
  EXPECT_EQ(UntilTodayText(today), "Until today - Sunday, March 02, 2008");
  EXPECT_EQ(ParseLastDays("7", 30), 7);
  EXPECT_EQ(ParseLastDays(" 0 ", 30), 0);
  EXPECT_EQ(ParseLastDays("-3", 30), 0);
  EXPECT_EQ(ParseLastDays("99999999999", 30), kMaxLastDays);
  EXPECT_EQ(ParseLastDays("seven", 30), 30);
  EXPECT_EQ(ParseLastDays("", 30), 30);
}

class SummaryModelTest : public ::testing::Test {
 protected:
  SummaryModelTest() {
    input_.today = {2008, 3, 10};
    input_.todayDayOfWeek = testing::DayOfWeekOf(input_.today);
    input_.sumLastDays = 7;
    log_.Add({2007, 12, 31}, 1000, 0);
    log_.Add({2008, 3, 3}, 100, 0);  // last week, outside the last 7 days
    log_.Add({2008, 3, 4}, 10, 0);
    log_.Add({2008, 3, 9}, 1, 0);
    log_.Add({2008, 3, 10}, 500, 500);  // today's stored record: the live counters stand for it
  }

  CraftedLog log_;
  ReportInput input_;
};

TEST_F(SummaryModelTest, LinesAddTodaysLiveTrafficToThePastSums) {
  SummaryModel model;
  model.Build(input_, log_.Open());
  EXPECT_EQ(model.Cells(kRowToday, 2, 1)[0], "2 B");
  EXPECT_EQ(model.Cells(kRowWeek, 2, 1)[0], "3 B");  // Sunday 9 March + today
  EXPECT_EQ(model.Cells(kRowMonth, 2, 1)[0], "113 B");
  EXPECT_EQ(model.Cells(kRowLastDays, 2, 1)[0], "13 B");  // 4 to 9 March + today
  EXPECT_EQ(model.Cells(kRowTotal, 2, 1)[0], "1.1 KB");
  EXPECT_EQ(model.Cells(kRowTotal, 2, 1)[2], "1.1 KB");
}

TEST_F(SummaryModelTest, ChangingNRescansOnlyTheLastDaysLine) {
  SummaryModel model;
  model.Build(input_, log_.Open());
  model.SetLastDays(8, log_.Log());
  EXPECT_EQ(model.Cells(kRowLastDays, 0, 0)[0], "111 B");
  model.SetLastDays(1, log_.Log());
  EXPECT_EQ(model.Cells(kRowLastDays, 4, 0)[0], "4 B");
  model.SetLastDays(0, log_.Log());
  EXPECT_EQ(model.Cells(kRowLastDays, 4, 0), (std::array<std::string, 3>{}));
  EXPECT_EQ(model.LastDays(), 0);
  EXPECT_EQ(model.Cells(kRowMonth, 0, 0)[0], "111 B");
  // Without a log the sums of N above 1 stay as they were.
  model.SetLastDays(8, log_.Log());
  log_.Log().Close();
  model.SetLastDays(3, log_.Log());
  EXPECT_EQ(model.Cells(kRowLastDays, 0, 0)[0], "111 B");
  EXPECT_EQ(model.LastDays(), 3);
}

TEST_F(SummaryModelTest, ExportsTheSameBytesAsTheServiceAndEmptiesLastDaysBelowOne) {
  for (std::uint32_t n : {7u, 1u, 0u}) {
    SummaryModel model;
    model.Build(input_, log_.Open());
    model.SetLastDays(static_cast<int>(n), log_.Log());
    ReportInput serviceInput = input_;
    serviceInput.sumLastDays = n;
    serviceInput.todayIn = 20;
    serviceInput.todayOut = 30;
    const ReportTable service = MakeSummaryTable(BuildSummary(serviceInput, log_.Log()), serviceInput, "NIC");
    for (ExportFormat format : {ExportFormat::kText, ExportFormat::kCsv, ExportFormat::kHtml})
      EXPECT_EQ(RenderReport(model.ExportTable(20, 30, "NIC"), model.ExportInput(20, 30), format),
                RenderReport(service, serviceInput, format))
          << n;
  }
}

TEST_F(SummaryModelTest, AfterClearingEveryLineShowsTodaysTraffic) {
  SummaryModel model;
  model.Build(input_, log_.Open());
  model.ResetToToday(input_);
  for (SummaryRow row : {kRowToday, kRowWeek, kRowMonth, kRowYear, kRowLastDays, kRowTotal})
    EXPECT_EQ(model.Cells(row, 5, 0)[0], "5 B") << row;
  const ReportTable table = model.ExportTable(5, 0, "x");
  EXPECT_EQ(table.rangeFirst, table.rangeLast);
}

}  // namespace
}  // namespace veltrano
