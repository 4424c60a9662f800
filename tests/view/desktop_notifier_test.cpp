#include "view/desktop_notifier.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "fakes/fake_interface_source.h"
#include "fakes/test_folder.h"

namespace veltrano {
namespace {

class RecordedActions : public NotifierActions {
 public:
  void SendNotificationEmail(MailJob job) override {
    calls.push_back("mail");
    jobs.push_back(std::move(job));
  }
  void LaunchProgram(const std::string& path) override { calls.push_back("run " + path); }
  NextAlertChoice ShowAlert(const AlertInputs& inputs) override {
    calls.push_back("alert");
    shown.push_back(inputs);
    if (whileShowing) whileShowing();
    return answer;
  }
  void SaveNextAlert() override { calls.push_back("save"); }
  void Beep(unsigned frequencyHz, unsigned durationMs) override {
    calls.push_back("beep " + std::to_string(frequencyHz) + "/" + std::to_string(durationMs));
  }

  std::vector<std::string> calls;
  std::vector<MailJob> jobs;
  std::vector<AlertInputs> shown;
  NextAlertChoice answer{1, 1};
  std::function<void()> whileShowing;
};

class DesktopNotifierTest : public ::testing::Test {
 protected:
  DesktopNotifierTest() : table_(source_) {
    table_.LoadAdapterSettings({}, ProgramRole::kDesktop);
    today_.year = 2008, today_.month = 3, today_.day = 8, today_.dayOfWeek = 6;
    NotificationRule& rule = settings_.options.notificationRule;
    rule.adapterKind = kAllConnections;
    rule.amount = "1";
    rule.unit = 1;  // more than 1 KB downloaded this week
    rule.sendEmail = 1;
    rule.emailAddresses = "me@example.org";
    rule.runProgram = 1;
    rule.program = "C:\\Program Files\\Tools\\warn me.exe";
    settings_.options.notificationEnabled = 1;
    settings_.email.smtpServer = "127.0.0.1";
    settings_.email.mailFrom = "meter@example.org";
    settings_.email.subject = "Usage of %a";
  }
  AdapterEntry& AllConnections() { return table_.Rows().front(); }
  void Ticks(int count) {
    for (int tick = 0; tick < count; ++tick) notifier_.Tick(today_);
  }

  testing::TestFolder folder_;
  testing::FakeInterfaceSource source_;
  AdapterTable table_;
  TrafficLog log_{folder_.Files()};
  Settings settings_;
  RecordedActions actions_;
  DesktopNotifier notifier_{settings_, table_, log_, actions_};
  LocalTime today_;
};

TEST_F(DesktopNotifierTest, AFirstFiringMailsThenRunsTheProgramThenShowsTheWindowAndSavesTheChoice) {
  notifier_.Arm(today_);
  AllConnections().todayIn = 1024;
  Ticks(3);
  EXPECT_TRUE(actions_.calls.empty());  // equal to the threshold is not more
  AllConnections().todayIn = 1025;
  actions_.answer = {1, 7};
  notifier_.Tick(today_);
  EXPECT_EQ(actions_.calls,
            (std::vector<std::string>{"mail", "run C:\\Program Files\\Tools\\warn me.exe", "alert", "save"}));
  ASSERT_EQ(actions_.jobs.size(), 1u);
  EXPECT_EQ(actions_.jobs[0].recipients, "me@example.org");
  EXPECT_EQ(actions_.jobs[0].message.substr(0, actions_.jobs[0].message.find("\r\n\r\n")),
            "From: meter@example.org\r\nTo: me@example.org\r\nSubject: Usage of All Connections");
  ASSERT_EQ(actions_.shown.size(), 1u);
  EXPECT_EQ(actions_.shown[0].watched, &AllConnections());
  EXPECT_EQ(actions_.shown[0].displayName, "All Connections");
  EXPECT_EQ(settings_.options.nextAlertType, 1u);
  EXPECT_EQ(settings_.options.nextAlertMin, 7u);
  EXPECT_EQ(notifier_.State().State(), AlertState::kAlertDismissed);
}

TEST_F(DesktopNotifierTest, ARepeatAfterNextOneMinuteShowsTheWindowOnlyAfterSixtyOneTicks) {
  notifier_.Arm(today_);
  AllConnections().todayIn = 5000;
  notifier_.Tick(today_);
  actions_.calls.clear();
  Ticks(60);
  EXPECT_TRUE(actions_.calls.empty());
  notifier_.Tick(today_);
  EXPECT_EQ(actions_.calls, (std::vector<std::string>{"alert", "save"}));
  EXPECT_EQ(actions_.jobs.size(), 1u);
  EXPECT_EQ(actions_.shown[1].choice.type, 1u);  // the stored choice is offered again

  actions_.answer = {0, 1};
  Ticks(61);
  actions_.calls.clear();
  Ticks(500);  // "No longer"
  EXPECT_TRUE(actions_.calls.empty());
}

TEST_F(DesktopNotifierTest, LeavesTheMailToTheServiceWhenItNotifiesButStillRunsTheProgram) {
  settings_.service.serviceEnabled = 1;
  settings_.service.options.notifyInService = 1;
  notifier_.Arm(today_);
  AllConnections().todayIn = 5000;
  notifier_.Tick(today_);
  EXPECT_EQ(actions_.calls, (std::vector<std::string>{"run C:\\Program Files\\Tools\\warn me.exe", "alert", "save"}));

  settings_.service.options.notifyInService = 0;  // enabled service without its switch: the desktop mails
  notifier_.Arm(today_);
  actions_.calls.clear();
  notifier_.Tick(today_);
  EXPECT_EQ(actions_.calls.front(), "mail");
}

TEST_F(DesktopNotifierTest, SendsNoMailWithoutAddressesOrWithIncompleteSettingsAndRunsNoEmptyProgram) {
  settings_.options.notificationRule.emailAddresses.clear();
  settings_.options.notificationRule.program.clear();
  notifier_.Arm(today_);
  AllConnections().todayIn = 5000;
  notifier_.Tick(today_);
  EXPECT_EQ(actions_.calls, (std::vector<std::string>{"alert", "save"}));

  settings_.options.notificationRule.emailAddresses = "me@example.org";
  settings_.email.mailFrom.clear();
  notifier_.Arm(today_);
  actions_.calls.clear();
  notifier_.Tick(today_);
  EXPECT_EQ(actions_.calls, (std::vector<std::string>{"alert", "save"}));
}

TEST_F(DesktopNotifierTest, AnAmountOfTwoBillionTerabytesNeverFires) {
  settings_.options.notificationRule.amount = "2147483647";
  settings_.options.notificationRule.unit = 4;
  notifier_.Arm(today_);
  AllConnections().todayIn = ~0ull;
  Ticks(3);
  EXPECT_TRUE(actions_.calls.empty());
}

TEST_F(DesktopNotifierTest, TicksAndAMidnightReArmWhileTheWindowIsOpenOpenNoSecondWindow) {
  notifier_.Arm(today_);
  AllConnections().todayIn = 5000;
  actions_.whileShowing = [&] {
    Ticks(3);
    notifier_.Arm(today_);
    Ticks(3);
    notifier_.ShowLastAlert(today_);
  };
  notifier_.Tick(today_);
  EXPECT_EQ(actions_.shown.size(), 1u);
  EXPECT_FALSE(notifier_.IsShowing());
}

TEST_F(DesktopNotifierTest, CtrlNBeepsUntilAnAlertWasDismissedThenReopensItWithoutMailOrProgram) {
  notifier_.ShowLastAlert(today_);
  notifier_.Arm(today_);
  notifier_.ShowLastAlert(today_);
  EXPECT_EQ(actions_.calls, (std::vector<std::string>{"beep 300/100", "beep 300/100"}));
  AllConnections().todayIn = 5000;
  actions_.answer = {0, 1};
  notifier_.Tick(today_);
  actions_.calls.clear();
  notifier_.ShowLastAlert(today_);
  EXPECT_EQ(actions_.calls, (std::vector<std::string>{"alert", "save"}));
  settings_.options.notificationEnabled = 0;
  notifier_.ShowLastAlert(today_);
  EXPECT_EQ(actions_.calls.back(), "beep 300/100");
}

TEST_F(DesktopNotifierTest, ReArmsOnACalendarChangeOnlyWhenThePeriodUsesIt) {
  notifier_.Arm(today_);
  AllConnections().todayIn = 5000;
  actions_.answer = {0, 1};
  notifier_.Tick(today_);
  settings_.options.monthStartDay = 15;
  notifier_.OnCalendarChanged(0, 1, today_);  // a week rule ignores the month start
  EXPECT_EQ(notifier_.State().State(), AlertState::kAlertDismissed);
  settings_.options.weekStartDay = 1;
  notifier_.OnCalendarChanged(0, 15, today_);
  EXPECT_EQ(notifier_.State().State(), AlertState::kArmed);

  notifier_.Tick(today_);
  settings_.options.notificationEnabled = 0;
  notifier_.OnNotificationPageApplied(today_);  // disabled: only back to Armed
  EXPECT_EQ(notifier_.State().State(), AlertState::kArmed);
  const size_t shown = actions_.shown.size();
  Ticks(5);
  EXPECT_EQ(actions_.shown.size(), shown);
}

}  // namespace
}  // namespace veltrano
