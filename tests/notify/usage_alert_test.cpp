#include "notify/usage_alert.h"

#include <gtest/gtest.h>

#include <limits>

#include "fakes/fake_interface_source.h"
#include "fakes/test_folder.h"
#include "notify/notification_mail.h"

namespace veltrano {
namespace {

LocalTime Day(int year, int month, int day) {
  LocalTime time;
  time.year = year, time.month = month, time.day = day;
  time.dayOfWeek = DayOfWeekFromDays(DaysFromCivil(year, month, day));
  return time;
}

NotificationRule Rule(const std::string& amount, std::uint32_t unit, std::uint32_t periodKind, std::int32_t days = 1) {
  NotificationRule rule;
  rule.version = 3;
  rule.adapterKind = kAllConnections;
  rule.amount = amount;
  rule.unit = unit;
  rule.periodKind = periodKind;
  rule.days = days;
  return rule;
}

TEST(Threshold, ReadsTheAmountUpToTheFirstCharacterThatCannotContinueIt) {
  EXPECT_EQ(ThresholdBytes(Rule("1.5", 1, 0)), 1536);
  EXPECT_EQ(ThresholdBytes(Rule("1.5.3", 1, 0)), 1536);
  EXPECT_EQ(ThresholdBytes(Rule("10", 3, 0)), 10LL << 30);
  EXPECT_EQ(ThresholdBytes(Rule("0.5", 9, 0)), 0);  // an unknown unit counts as bytes
  EXPECT_EQ(ThresholdBytes(Rule("", 2, 0)), 0);
}

// 2^63 bytes and more have no signed 64-bit value: such a limit is never reached, and neither is
// one whose amount is no usable number.
TEST(Threshold, AByteCountBeyondSigned64BitsBecomesALimitNeverReached) {
  constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(ThresholdBytes(Rule("2147483647", 4, 0)), kNever);
  EXPECT_EQ(ThresholdBytes(Rule("8388608", 4, 0)), kNever);  // exactly 2^63
  EXPECT_EQ(ThresholdBytes(Rule("8388607", 4, 0)), 8388607LL << 40);
  for (const char* amount : {"-5", "inf", "nan", "-inf"})
    EXPECT_EQ(ThresholdBytes(Rule(amount, 1, 0)), kNever) << amount;
  EXPECT_TRUE(HasUsableAmount(Rule("0", 0, 0)));
  EXPECT_FALSE(HasUsableAmount(Rule("-0.5", 0, 0)));
  EXPECT_FALSE(HasUsableAmount(Rule("nan", 0, 0)));
}

class UsageRuleTest : public ::testing::Test {
 protected:
  UsageRuleTest() : table_(source_) {
    table_.LoadAdapterSettings({}, ProgramRole::kService);
    LogOpenOptions options;
    options.role = LogRole::kServiceWriter;
    EXPECT_TRUE(log_.Open(folder_.Path("log"), options));
  }
  // A record for All Connections on `day`.
  void Store(const LocalTime& day, std::uint64_t received) {
    AdapterList rows = table_.Rows();
    rows.front().todayIn = received;
    log_.LoadToday(rows, day);
    rows.front().todayIn = received;
    log_.WriteToday(rows, day);
  }

  testing::TestFolder folder_;
  testing::FakeInterfaceSource source_;
  AdapterTable table_;
  TrafficLog log_{folder_.Files()};
  CalendarSettings calendar_;
};

TEST_F(UsageRuleTest, TheBaseCountsPastDaysOfThePeriodAndTodayComesFromTheLiveTotals) {
  const LocalTime today = Day(2008, 3, 10);
  Store(Day(2008, 3, 2), 100);  // last week
  Store(Day(2008, 3, 9), 1000);
  Store(today, 5000);  // never read: today is live
  table_.Rows().front().todayIn = 24;
  const NotificationRule rule = Rule("1048", 0, 0);  // this week, from Sunday 9 March
  ArmedRule armed = ArmRule(rule, table_, log_, today, calendar_);
  EXPECT_EQ(armed.periodBase, 1000);
  EXPECT_FALSE(armed.Exceeded(rule));  // 1024 is not more than 1048
  table_.Rows().front().todayIn = 49;
  EXPECT_TRUE(armed.Exceeded(rule));

  const NotificationRule today_only = Rule("1", 0, 2, 1);
  EXPECT_EQ(ArmRule(today_only, table_, log_, today, calendar_).periodBase, 0);
  EXPECT_EQ(PeriodText(today_only, today, calendar_), "1 days (03/10/2008 -- 03/10/2008)");
  EXPECT_EQ(PeriodText(rule, today, calendar_), "week (03/09/2008 -- 03/10/2008)");
}

// Byte counts from the log are untrusted: sums stop at the largest signed 64-bit value.
TEST_F(UsageRuleTest, TotalsFromAnUntrustedLogSaturateInsteadOfOverflowing) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  const LocalTime today = Day(2008, 3, 10);
  Store(Day(2008, 3, 9), std::numeric_limits<std::uint64_t>::max());
  NotificationRule rule = Rule("1", 0, 1);
  const ArmedRule armed = ArmRule(rule, table_, log_, today, calendar_);
  EXPECT_EQ(armed.periodBase, kMax);
  EXPECT_TRUE(armed.Exceeded(rule));

  AdapterEntry& row = table_.Rows().front();
  row.todayIn = 1;
  EXPECT_EQ(PeriodTotal(rule, kMax, row), kMax);
  rule.transferType = 2;
  row.todayIn = row.todayOut = std::numeric_limits<std::uint64_t>::max();
  EXPECT_EQ(PeriodTotal(rule, 0, row), kMax);
  row.todayIn = row.todayOut = 1ull << 62;
  EXPECT_EQ(PeriodTotal(rule, 5, row), kMax);
  row.todayIn = row.todayOut = 7;
  EXPECT_EQ(PeriodTotal(rule, 5, row), 19);

  rule.amount = "2147483647";
  rule.unit = 4;
  EXPECT_FALSE(ArmRule(rule, table_, log_, today, calendar_).Exceeded(rule));
}

TEST_F(UsageRuleTest, TheDesktopAlertsOnceThenRepeatsOnlyAfterTheChosenMinutes) {
  const NotificationRule rule = Rule("10", 0, 1);
  table_.Rows().front().todayIn = 11;
  DesktopUsageAlert alert;
  alert.Arm(rule, table_, log_, Day(2008, 3, 10), calendar_);
  EXPECT_EQ(alert.Check(rule, 1), DesktopUsageAlert::Action::kAlert);
  alert.OnAlertShown();
  EXPECT_EQ(alert.Check(rule, 1), DesktopUsageAlert::Action::kNone);  // the window is open
  alert.OnAlertClosed(DesktopUsageAlert::kNextMinutes, 1);
  for (int tick = 0; tick < 60; ++tick) EXPECT_EQ(alert.Check(rule, 1), DesktopUsageAlert::Action::kNone);
  EXPECT_EQ(alert.Check(rule, 1), DesktopUsageAlert::Action::kRepeatAlert);
  alert.OnAlertShown();
  alert.OnAlertClosed(DesktopUsageAlert::kNoLonger, 1);
  for (int tick = 0; tick < 200; ++tick) EXPECT_EQ(alert.Check(rule, 0), DesktopUsageAlert::Action::kNone);
  EXPECT_TRUE(alert.CanShowLastAlert());
}

TEST(NotificationMail, FillsTheTagsInOrderOverHeadersAndBody) {
  EmailSettings settings;
  settings.smtpServer = "smtp.example.org";
  settings.mailFrom = "meter@example.org";
  settings.subject = "Usage on %a";
  NotificationRule rule = Rule("10", 3, 0);
  rule.emailAddresses = "me@example.org, you@example.org";
  NotificationFacts facts{"LAN [10.0.0.10]", "week (03/09/2008 -- 03/10/2008)", 12LL << 30};
  const std::string message = ComposeNotificationMessage(settings, rule, facts);
  EXPECT_EQ(
      message.substr(0, message.find("\r\n\r\n") + 4),
      "From: meter@example.org\r\nTo: me@example.org, you@example.org\r\nSubject: Usage on LAN [10.0.0.10]\r\n\r\n");
  EXPECT_NE(message.find("Hi,\r\n\r\nMore than 10 GB have been downloaded through LAN [10.0.0.10] in last week "
                         "(03/09/2008 -- 03/10/2008).\r\n\r\nBytes downloaded so far: 12.00 GB\r\n"),
            std::string::npos);

  ASSERT_TRUE(MakeNotificationJob(settings, rule, facts).has_value());
  settings.serverRequiresAuth = 1;
  EXPECT_FALSE(MakeNotificationJob(settings, rule, facts).has_value());  // no account name
}

}  // namespace
}  // namespace veltrano
