#include "reports/report_periods.h"

#include <gtest/gtest.h>

#include "fakes/test_folder.h"

namespace veltrano {
namespace {

LogDate D(int year, int month, int day) {
  return {year, month, day};
}

int DayOfWeek(const LogDate& date) {
  return DayOfWeekFromDays(DaysFromCivil(date.year, date.month, date.day));
}

TEST(Calendar, MonthPeriodsClampTheirEndsToRealDays) {
  EXPECT_EQ(MonthPeriod(D(2008, 3, 15), 1), (Period{D(2008, 3, 1), D(2008, 3, 31)}));
  EXPECT_EQ(MonthPeriod(D(2008, 3, 15), 31), (Period{D(2008, 3, 1), D(2008, 3, 30)}));
  EXPECT_EQ(MonthPeriod(D(2008, 3, 31), 31), (Period{D(2008, 3, 31), D(2008, 4, 30)}));
  EXPECT_EQ(MonthPeriod(D(2008, 2, 29), 31), (Period{D(2008, 1, 31), D(2008, 2, 29)}));
  EXPECT_EQ(MonthPeriod(D(2008, 1, 10), 15), (Period{D(2007, 12, 15), D(2008, 1, 14)}));
  EXPECT_EQ(MonthPeriod(D(2008, 12, 20), 15), (Period{D(2008, 12, 15), D(2009, 1, 14)}));
  // Every fourth year is a leap year here, 2100 too.
  EXPECT_EQ(DaysInMonth(2100, 2), 29);
  EXPECT_EQ(MonthPeriod(D(2100, 2, 15), 30), (Period{D(2100, 1, 30), D(2100, 2, 29)}));
}

TEST(Calendar, WeeksStartOnTheChosenDayAndAreNumberedFromTheirLastDay) {
  EXPECT_EQ(WeekPeriod(D(2008, 1, 2), 3, 0), (Period{D(2007, 12, 30), D(2008, 1, 5)}));
  EXPECT_EQ(WeekPeriod(D(2008, 1, 6), 0, 0), (Period{D(2008, 1, 6), D(2008, 1, 12)}));
  EXPECT_EQ(WeekPeriod(D(2008, 1, 6), 0, 1), (Period{D(2007, 12, 31), D(2008, 1, 6)}));
  // 2008 began on a Tuesday.
  EXPECT_EQ(WeekNumber(D(2008, 1, 5), 0), 1);
  EXPECT_EQ(WeekNumber(D(2008, 1, 6), 0), 2);
  EXPECT_EQ(WeekNumber(D(2008, 1, 12), 0), 2);
  EXPECT_EQ(WeekNumber(D(2008, 1, 13), 0), 3);
  // 2006 began on a Sunday: with Sunday weeks, 1 January opens week 1.
  EXPECT_EQ(WeekNumber(D(2006, 1, 1), 0), 1);
  EXPECT_EQ(WeekNumber(D(2006, 1, 8), 0), 2);
  EXPECT_EQ(LastNDaysStart(D(2008, 3, 10), 7), D(2008, 3, 4));
  EXPECT_EQ(LastNDaysStart(D(2008, 3, 1), 2), D(2008, 2, 29));
}

class ReportRowsTest : public ::testing::Test {
 protected:
  ReportRowsTest() {
    input_.kind = kInterfaceAdapter;
    input_.id = "{NIC}";
    input_.today = D(2008, 3, 10);
    input_.todayDayOfWeek = DayOfWeek(input_.today);
    input_.todayIn = 7;
    input_.todayOut = 3;
  }

  void Add(const LogDate& date, std::uint64_t received, std::uint64_t sent, const std::string& id = "{NIC}",
           std::int32_t kind = kInterfaceAdapter) {
    LocalTime time;
    time.year = date.year, time.month = date.month, time.day = date.day, time.dayOfWeek = DayOfWeek(date);
    std::uint8_t record[kDayRecordSize];
    EncodeDayRecord(record, time, kind, id, received, sent);
    bytes_.append(reinterpret_cast<const char*>(record), kDayRecordSize);
  }

  TrafficLog& Log() {
    std::uint8_t header[kLogHeaderSize];
    EncodeLogHeader(header);
    folder_.WriteAll("log", std::string(reinterpret_cast<const char*>(header), kLogHeaderSize) + bytes_);
    LogOpenOptions options;
    options.role = LogRole::kDesktopReader;
    log_.Close();
    EXPECT_TRUE(log_.Open(folder_.Path("log"), options));
    return log_;
  }

  testing::TestFolder folder_;
  TrafficLog log_{folder_.Files()};
  std::string bytes_;
  ReportInput input_;
};

TEST_F(ReportRowsTest, WithoutRecordsEachReportShowsOnlyTheCurrentDayOrPeriod) {
  const auto daily = BuildDailyRows(input_, Log());
  ASSERT_EQ(daily.size(), 1u);
  EXPECT_TRUE(daily[0].current);
  EXPECT_EQ(daily[0].dayOfWeek, 1);
  EXPECT_EQ(RowsRange(daily), (Period{input_.today, input_.today}));
  const auto monthly = BuildMonthlyRows(input_, Log());
  ASSERT_EQ(monthly.size(), 1u);
  EXPECT_EQ(monthly[0].first, D(2008, 3, 1));
  EXPECT_EQ(monthly[0].downloaded, 7u);
}

TEST_F(ReportRowsTest, TodaysRecordIsReplacedOrSkippedInFavourOfTheLiveTotals) {
  Add(D(2008, 3, 9), 100, 10);
  Add(D(2008, 3, 10), 5, 1);  // stale: the live totals are newer
  Add(D(2008, 3, 10), 9, 9, "{OTHER}");
  const auto daily = BuildDailyRows(input_, Log());
  ASSERT_EQ(daily.size(), 2u);
  EXPECT_EQ(daily[0].downloaded, 7u);
  EXPECT_TRUE(daily[0].current);
  EXPECT_EQ(daily[1].downloaded, 100u);
  EXPECT_FALSE(daily[1].current);
  const auto weekly = BuildWeeklyRows(input_, Log());  // week of Sunday 9 March
  ASSERT_EQ(weekly.size(), 1u);
  EXPECT_EQ(weekly[0].downloaded, 107u);
  EXPECT_EQ(weekly[0].uploaded, 13u);
  const SummaryTotals summary = BuildSummary(input_, Log());
  EXPECT_EQ(summary.lines[kTotal].downloaded, 107u);
}

TEST_F(ReportRowsTest, GroupsRunsOfRecordsByPeriodAndSplitsRunsOutOfOrder) {
  Add(D(2008, 1, 30), 1, 0);
  Add(D(2008, 2, 2), 2, 0);
  Add(D(2008, 2, 20), 4, 0);
  Add(D(2008, 1, 31), 8, 0);  // the clock was set back
  Add(D(2008, 3, 2), 16, 0);
  const auto monthly = BuildMonthlyRows(input_, Log());
  ASSERT_EQ(monthly.size(), 4u);
  EXPECT_EQ(monthly[0].downloaded, 16u + 7u);
  EXPECT_TRUE(monthly[0].current);
  EXPECT_EQ(monthly[1].downloaded, 8u);
  EXPECT_EQ(monthly[2].downloaded, 6u);
  EXPECT_EQ(monthly[2].first, D(2008, 2, 1));
  EXPECT_EQ(monthly[3].downloaded, 1u);
  EXPECT_EQ(RowsRange(monthly), (Period{D(2008, 1, 1), D(2008, 3, 31)}));
}

TEST_F(ReportRowsTest, AWeekAcrossNewYearIsWeekOneOfTheNewYear) {
  input_.today = D(2008, 1, 8);
  input_.todayDayOfWeek = DayOfWeek(input_.today);
  Add(D(2007, 12, 31), 1, 0);
  Add(D(2008, 1, 2), 2, 0);
  const auto weekly = BuildWeeklyRows(input_, Log());
  ASSERT_EQ(weekly.size(), 2u);
  EXPECT_EQ(weekly[1].first, D(2007, 12, 30));
  EXPECT_EQ(weekly[1].downloaded, 3u);
  EXPECT_EQ(WeekNumber(weekly[1].last, 0), 1);
}

TEST_F(ReportRowsTest, SummarySumsEachSpanWithTodaysTraffic) {
  input_.sumLastDays = 7;
  Add(D(2007, 12, 31), 1000, 0);
  Add(D(2008, 2, 28), 100, 0);
  Add(D(2008, 3, 3), 10, 0);  // the last 7 days start on 4 March
  Add(D(2008, 3, 4), 1, 0);
  Add(D(2008, 3, 9), 1, 0);  // Sunday: this week
  Add(D(2008, 3, 9), 5, 0, "{OTHER}");
  const SummaryTotals summary = BuildSummary(input_, Log());
  EXPECT_EQ(summary.lines[kThisWeek].downloaded, 1u + 7u);
  EXPECT_EQ(summary.lines[kLastNDays].downloaded, 2u + 7u);
  EXPECT_EQ(summary.lines[kThisMonth].downloaded, 12u + 7u);
  EXPECT_EQ(summary.lines[kThisYear].downloaded, 112u + 7u);
  EXPECT_EQ(summary.lines[kTotal].downloaded, 1112u + 7u);
  EXPECT_EQ(summary.earliest, D(2007, 12, 31));
  EXPECT_EQ(summary.latest, input_.today);
  input_.sumLastDays = 1;
  EXPECT_EQ(BuildSummary(input_, Log()).lines[kLastNDays].downloaded, 7u);
}

}  // namespace
}  // namespace veltrano
