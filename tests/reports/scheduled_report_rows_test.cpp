#include "reports/scheduled_report_rows.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(ReportListRow, NamesTheTypeAndAdapterOrStaysEmptyForAGoneAdapter) {
  AdapterList adapters(3);
  adapters.front().kind = kAllConnections;
  adapters.front().displayName = "All Connections";
  std::next(adapters.begin())->kind = kDialUpConnections;
  adapters.back().kind = kInterfaceAdapter;
  adapters.back().id = "{NIC}";
  adapters.back().displayName = "Office LAN";

  ScheduledReport report = NewScheduledReport();
  report.filePath = "C:\\r.csv";
  ReportListRowTexts texts = ReportListRow(report, adapters);
  EXPECT_EQ(texts.reportType, "Summary Report");
  EXPECT_EQ(texts.adapter, "All Connections");
  EXPECT_EQ(texts.interval, "60 sec.");
  EXPECT_EQ(texts.file, "C:\\r.csv");

  report.reportType = 7;
  report.adapterKind = kInterfaceAdapter;
  report.adapterId = "{NIC}";
  EXPECT_EQ(ReportListRow(report, adapters).reportType, "Summary Report");
  report.reportType = kWeeklyReport;
  EXPECT_EQ(ReportListRow(report, adapters).adapter, "Office LAN");
  report.adapterId = "{GONE}";
  EXPECT_EQ(ReportListRow(report, adapters).reportType, "");
}

TEST(CheckReportDialog, StopsAtTheFirstMissingFieldInOrder) {
  ReportDialogFields fields;
  fields.interval = 0;
  EXPECT_EQ(CheckReportDialog(fields).focus, ReportDialogControl::kType);
  EXPECT_EQ(CheckReportDialog(fields).message, "Please select a report type.");
  fields.typeIndex = 0;
  EXPECT_EQ(CheckReportDialog(fields).message, "Please select an adapter.");
  fields.adapterIndex = 2;
  EXPECT_EQ(CheckReportDialog(fields).focus, ReportDialogControl::kInterval);
  EXPECT_EQ(CheckReportDialog(fields).message, "The interval seconds should be greater than or equal to 1.");
  fields.interval = 1;
  EXPECT_EQ(CheckReportDialog(fields).message, "Please enter a report file name");
  fields.file = "C:\\report.html";
  EXPECT_EQ(CheckReportDialog(fields).focus, ReportDialogControl::kNone);
}

}  // namespace
}  // namespace veltrano
