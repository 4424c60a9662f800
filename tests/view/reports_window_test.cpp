#include "view/reports_window.h"

#include <gtest/gtest.h>

#include "fakes/fake_interface_source.h"
#include "view/crafted_log.h"
#include "view/desktop_notifier.h"

namespace veltrano {
namespace {

class CountedAlerts : public NotifierActions {
 public:
  void SendNotificationEmail(MailJob) override {}
  void LaunchProgram(const std::string&) override {}
  NextAlertChoice ShowAlert(const AlertInputs&) override {
    ++shown;
    return {1, 1};
  }
  void SaveNextAlert() override {}
  void Beep(unsigned, unsigned) override {}
  int shown = 0;
};

TEST(ReportsWindow, FindsTheRememberedAdapterOrFallsBackToTheFirstRow) {
  AdapterList rows(3);
  rows.front().kind = kAllConnections;
  std::next(rows.begin())->kind = kDialUpConnections;
  rows.back().id = "{NIC}";
  EXPECT_EQ(ReportsAdapterIndex(rows, kInterfaceAdapter, "{NIC}"), 2u);
  EXPECT_EQ(ReportsAdapterIndex(rows, kDialUpConnections, ""), 1u);
  EXPECT_EQ(ReportsAdapterIndex(rows, kInterfaceAdapter, "{GONE}"), 0u);
  EXPECT_EQ(ReportsCaption("All Connections"), "Traffic Reports - [All Connections]");
}

TEST(ReportsWindow, AChosenLogPathCountsOnlyWhenItNamesAnotherFile) {
  EXPECT_FALSE(LogPathChanged("C:\\a\\qxrsum_v2.log", "c:\\A\\QXRSUM_V2.LOG"));
  EXPECT_TRUE(LogPathChanged("C:\\a\\qxrsum_v2.log", "C:\\a\\qxrsum_v2_1.log"));
  EXPECT_FALSE(LogPathChanged("C:\\a\\qxrsum_v2.log", ""));
}

TEST(ReportsWindow, APageBuildsAgainForAnotherAdapterOrANewDay) {
  PageBuildMark mark;
  EXPECT_TRUE(mark.Needed(kAllConnections, "", {2008, 3, 10}));
  mark.Done(kAllConnections, "", {2008, 3, 10});
  EXPECT_FALSE(mark.Needed(kAllConnections, "", {2008, 3, 10}));
  EXPECT_TRUE(mark.Needed(kInterfaceAdapter, "{NIC}", {2008, 3, 10}));
  EXPECT_TRUE(mark.Needed(kAllConnections, "", {2008, 3, 11}));
}

// More than 1 KB this week, 5000 bytes of it on Friday; cleared on Saturday.
TEST(ClearTrafficLog, CutsTheLogAndArmsTheRuleAgainUnlessTheServiceWritesIt) {
  testing::CraftedLog crafted;
  crafted.Add({2008, 3, 7}, 5000, 0);
  testing::FakeInterfaceSource source;
  AdapterTable table(source);
  table.LoadAdapterSettings({}, ProgramRole::kDesktop);
  Settings settings;
  settings.options.notificationEnabled = 1;
  settings.options.notificationRule.adapterKind = kAllConnections;
  settings.options.notificationRule.amount = "1";
  settings.options.notificationRule.unit = 1;
  LocalTime today;
  today.year = 2008, today.month = 3, today.day = 8, today.dayOfWeek = 6;
  CountedAlerts alerts;
  TrafficLog& log = crafted.Open(LogRole::kDesktopWriter);
  DesktopNotifier notifier(settings, table, log, alerts);
  notifier.Arm(today);
  ASSERT_EQ(notifier.State().Armed().periodBase, 5000);
  table.Rows().front().todayIn = 100;
  const auto rearm = [&] { notifier.Arm(today); };

  EXPECT_FALSE(ClearTrafficLog(log, table.Rows(), true, rearm));
  EXPECT_EQ(crafted.Folder().ReadAll("qxrsum_v2.log").size(), 24u + 296u);
  EXPECT_EQ(table.Rows().front().todayIn, 100u);

  EXPECT_TRUE(ClearTrafficLog(log, table.Rows(), false, rearm));
  EXPECT_EQ(crafted.Folder().ReadAll("qxrsum_v2.log").size(), 24u);
  EXPECT_EQ(table.Rows().front().todayIn, 0u);
  EXPECT_EQ(notifier.State().Armed().periodBase, 0);
  table.Rows().front().todayIn = 1000;
  notifier.Tick(today);
  EXPECT_EQ(alerts.shown, 0);
}

TEST(ReportsWindow, ExportAndLogFileMessages) {
  EXPECT_EQ(ExportFormatOfFilter(1), ExportFormat::kText);
  EXPECT_EQ(ExportFormatOfFilter(3), ExportFormat::kHtml);
  EXPECT_EQ(ExportDoneQuestion(ReportKind::kSummary, "C:\\r.txt"),
            "Successfully export general traffic summary to file 'C:\\r.txt'.\n\nDo you want to open it now?");
  EXPECT_EQ(ExportCreateFailedText("C:\\x\\r.txt"), "Failed to create file 'C:\\x\\r.txt'.");
  EXPECT_EQ(UseExistingMessage(CopyResult::kCopied), LogCopyMessage::kRestartNote);
  EXPECT_EQ(UseExistingMessage(CopyResult::kSamePath), LogCopyMessage::kNone);
  EXPECT_EQ(BackupMessage(CopyResult::kCopied), LogCopyMessage::kNone);
  EXPECT_EQ(BackupMessage(CopyResult::kFailed), LogCopyMessage::kCopyFailed);
}

}  // namespace
}  // namespace veltrano
