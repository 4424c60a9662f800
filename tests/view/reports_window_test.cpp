#include "view/reports_window.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

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
