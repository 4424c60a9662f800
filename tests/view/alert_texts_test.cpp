#include "view/alert_texts.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

LocalTime Day(int year, int month, int day) {
  LocalTime time;
  time.year = year, time.month = month, time.day = day;
  time.dayOfWeek = DayOfWeekFromDays(DaysFromCivil(year, month, day));
  return time;
}

NotificationRule Rule(const std::string& amount, std::uint32_t unit, std::uint32_t transfer, std::uint32_t period,
                      std::int32_t days = 1) {
  NotificationRule rule;
  rule.amount = amount, rule.unit = unit, rule.transferType = transfer, rule.periodKind = period, rule.days = days;
  return rule;
}

TEST(AlertMessage, NamesAmountUnitTransferAdapterAndPeriodFromItsFirstDayToToday) {
  const CalendarSettings calendar{0, 1, 17};  // weeks from Sunday, months from the 1st, MM/DD/YYYY
  const LocalTime saturday = Day(2008, 3, 8);
  EXPECT_EQ(AlertMessage(Rule("10", 3, 0, 0), "LAN", saturday, calendar),
            "Dear user, more than 10 GB have been downloaded through \"LAN\" in last week (03/02/2008 -- 03/08/2008).");
  EXPECT_EQ(
      AlertMessage(Rule("1.5", 1, 1, 1), "Wi-Fi", saturday, calendar),
      "Dear user, more than 1.5 KB have been uploaded through \"Wi-Fi\" in last month (03/01/2008 -- 03/08/2008).");
  EXPECT_EQ(AlertMessage(Rule("700", 0, 2, 2, 3), "All Connections", saturday, calendar),
            "Dear user, more than 700 Bytes have been downloaded and uploaded through \"All Connections\" in last "
            "3 days (03/06/2008 -- 03/08/2008).");
  EXPECT_EQ(
      AlertMessage(Rule("2", 2, 0, 2, 1), "LAN", saturday, calendar),
      "Dear user, more than 2 MB have been downloaded through \"LAN\" in last 1 days (03/08/2008 -- 03/08/2008).");
  EXPECT_EQ(AlertMessage(Rule("1", 4, 0, 1), "LAN", saturday, {0, 10, 17}),
            "Dear user, more than 1 TB have been downloaded through \"LAN\" in last month (02/10/2008 -- 03/08/2008).");
}

TEST(RunningTotal, AddsTheLiveTotalsOfTheTransferTypeToTheBaseInByteNotation) {
  AdapterEntry watched;
  watched.todayIn = 200ull << 20;
  watched.todayOut = 900;
  const std::int64_t base = 11LL << 30;
  EXPECT_EQ(RunningTotalText(Rule("10", 3, 0, 0), base, watched), "Downloaded so far: 11.20 GB");
  EXPECT_EQ(RunningTotalText(Rule("10", 3, 1, 0), 0, watched), "Uploaded so far: 900 B");
  EXPECT_EQ(RunningTotalText(Rule("10", 3, 2, 0), 1000, watched), "Downloaded and uploaded so far: 200.00 MB");
  watched.todayIn = 5ull << 40;
  EXPECT_EQ(RunningTotalText(Rule("1", 4, 0, 0), 0, watched), "Downloaded so far: 5.00 TB");
}

TEST(NextAlertChoice, RefusesNextWithNoMinutesAndAcceptsNoLongerWithAnyValue) {
  EXPECT_EQ(CheckNextAlertChoice(1, 0), "Minutes up to next alert should be greater than 0.");
  EXPECT_EQ(CheckNextAlertChoice(1, ParseNextMinutes("")), kNextMinutesRefusal);
  EXPECT_EQ(CheckNextAlertChoice(1, ParseNextMinutes("-3")), kNextMinutesRefusal);
  EXPECT_EQ(CheckNextAlertChoice(1, ParseNextMinutes("1")), "");
  EXPECT_EQ(ParseNextMinutes("32767"), 32767);
  EXPECT_EQ(CheckNextAlertChoice(0, 0), "");
  EXPECT_EQ(CheckNextAlertChoice(0, ParseNextMinutes("x")), "");
}

}  // namespace
}  // namespace veltrano
