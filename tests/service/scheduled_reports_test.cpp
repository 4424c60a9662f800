#include "service/scheduled_reports.h"

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"
#include "fakes/test_folder.h"

namespace veltrano {
namespace {

TEST(RunReportJob, LeavesTheTargetEmptyWhenTheLogCannotBeReadAndSaysWhy) {
  testing::TestFolder folder;
  testing::FakeClock clock;
  clock.Set(2026, 12, 8, 10, 0, 0);
  ServiceLog log(clock);
  ASSERT_TRUE(log.Open(folder.Path("service.log")));
  folder.WriteAll("report.txt", "an older report");

  ReportJob job;
  job.adapters.resize(1);
  job.adapters.front().kind = kAllConnections;
  job.entry.reportType = kMonthlyReport;
  job.entry.filePath = folder.Path("report.txt");
  job.logPath = folder.Path("no-such.log");
  job.today = clock.Now();
  RunReportJob(job, folder.Files(), log);
  log.Close();

  EXPECT_EQ(folder.ReadAll("report.txt"), "");
  const std::string lines = folder.ReadAll("service.log");
  EXPECT_NE(lines.find("]: Failed to open traffic log file (" + job.logPath + ")."), std::string::npos) << lines;
}

}  // namespace
}  // namespace veltrano
