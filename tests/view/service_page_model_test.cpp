#include "view/service_page_model.h"

#include <gtest/gtest.h>

#include "fakes/test_folder.h"

namespace veltrano {
namespace {

AdapterList Table() {
  AdapterList table(3);
  auto row = table.begin();
  row->kind = kAllConnections, row->displayName = "All Connections";
  (++row)->kind = kDialUpConnections, row->displayName = "Dial-Up Connections";
  (++row)->id = "{NIC}", row->displayName = "eth0";
  return table;
}

ScheduledReport Report(std::int32_t type, std::int32_t interval, const std::string& file) {
  ScheduledReport report = NewScheduledReport();
  report.reportType = type, report.interval = interval, report.filePath = file;
  return report;
}

TEST(ReportList, SortsIntervalsAsNumbersAndTextsAsText) {
  const AdapterList table = Table();
  std::vector<ScheduledReport> reports = {Report(1, 100, "b.csv"), Report(3, 9, "a.csv"), Report(0, 20, "c.csv")};
  ListSortState sort;
  sort.Click(kReportIntervalColumn);
  SortReports(reports, table, sort);
  EXPECT_EQ(reports[0].interval, 9);
  EXPECT_EQ(reports[2].interval, 100);
  sort.Click(kReportTypeColumn);
  SortReports(reports, table, sort);
  EXPECT_EQ(reports[0].reportType, 1);  // "Daily Report" < "Monthly Report" < "Summary Report"
  EXPECT_EQ(reports[2].reportType, 0);
  sort.Click(kReportTypeColumn);
  SortReports(reports, table, sort);
  EXPECT_EQ(reports[0].reportType, 0);
}

TEST(ReportList, EditAndDeleteNeedTheServiceAndASelection) {
  EXPECT_FALSE(ServicePageEnabled(false, true).editAndDelete);
  EXPECT_FALSE(ServicePageEnabled(false, true).switchesAndList);
  EXPECT_FALSE(ServicePageEnabled(true, false).editAndDelete);
  EXPECT_TRUE(ServicePageEnabled(true, false).switchesAndList);
  EXPECT_TRUE(ServicePageEnabled(true, true).editAndDelete);
}

TEST(ReportDialog, SelectsTheRecordsAdapterOrTheFirst) {
  const AdapterList table = Table();
  ScheduledReport report = NewScheduledReport();
  report.adapterKind = kDialUpConnections;
  report.adapterId = "IGNORED";
  EXPECT_EQ(ReportAdapterIndex(report, table), 1);
  report.adapterKind = kInterfaceAdapter;
  report.adapterId = "{NIC}";
  EXPECT_EQ(ReportAdapterIndex(report, table), 2);
  report.adapterId = "{GONE}";
  EXPECT_EQ(ReportAdapterIndex(report, table), 0);
}

class ReportDialogTest : public ::testing::Test {
 protected:
  ReportDialogInput Input() {
    ReportDialogInput input;
    input.typeIndex = 2;
    input.adapterIndex = 2;
    input.interval = "60";
    input.file = folder_.Path("week.html");
    return input;
  }
  testing::TestFolder folder_;
  AdapterList table_ = Table();
};

TEST_F(ReportDialogTest, RefusesInTheDialogsOrder) {
  ScheduledReport report = NewScheduledReport();
  ReportDialogInput input = Input();
  input.typeIndex = -1;
  input.interval = "x";
  EXPECT_EQ(ReadReportDialog(input, table_, folder_.Files(), report).message, "Please select a report type.");
  input.typeIndex = 0;
  input.adapterIndex = -1;
  EXPECT_EQ(ReadReportDialog(input, table_, folder_.Files(), report).message, "Please select an adapter.");
  input.adapterIndex = 0;
  auto check = ReadReportDialog(input, table_, folder_.Files(), report);
  EXPECT_EQ(check.focus, ReportDialogControl::kInterval);
  input.interval = "32768";
  EXPECT_EQ(ReadReportDialog(input, table_, folder_.Files(), report).focus, ReportDialogControl::kInterval);
  input.interval = "0";
  EXPECT_EQ(ReadReportDialog(input, table_, folder_.Files(), report).message,
            "The interval seconds should be greater than or equal to 1.");
  input.interval = "1";
  input.file = "";
  EXPECT_EQ(ReadReportDialog(input, table_, folder_.Files(), report).message, "Please enter a report file name");
  input.file = folder_.Path("missing") + "/week.html";
  check = ReadReportDialog(input, table_, folder_.Files(), report);
  EXPECT_EQ(check.message, "The folder of the report file does not exist.");
  EXPECT_EQ(check.focus, ReportDialogControl::kFile);
  input.file = folder_.Path(std::string(300, 'w'));
  EXPECT_EQ(ReadReportDialog(input, table_, folder_.Files(), report).focus, ReportDialogControl::kFile);
  EXPECT_EQ(report, NewScheduledReport());  // nothing taken from a refused dialog
}

TEST_F(ReportDialogTest, AnEditKeepsTheCountdown) {
  ScheduledReport report = NewScheduledReport();
  report.countdown = 42;
  ASSERT_TRUE(ReadReportDialog(Input(), table_, folder_.Files(), report).Accepted());
  EXPECT_EQ(report.countdown, 42);
  EXPECT_EQ(report.reportType, kWeeklyReport);
  EXPECT_EQ(report.adapterKind, kInterfaceAdapter);
  EXPECT_EQ(report.adapterId, "{NIC}");
  EXPECT_EQ(report.interval, 60);
  EXPECT_EQ(report.filePath, folder_.Path("week.html"));

  ReportDialogInput bare = Input();
  bare.adapterIndex = 1;
  bare.file = "week.html";  // a bare name has no folder to check
  ASSERT_TRUE(ReadReportDialog(bare, table_, folder_.Files(), report).Accepted());
  EXPECT_EQ(report.adapterKind, kDialUpConnections);
  EXPECT_EQ(report.adapterId, "");
}

}  // namespace
}  // namespace veltrano
