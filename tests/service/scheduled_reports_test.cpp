#include "service/scheduled_reports.h"

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"
#include "fakes/full_disk_files.h"
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

TEST(ScheduledReports, AReportThatDoesNotFitLeavesAnEmptyFileAndIsToldOnceUntilOneIsWritten) {
  testing::TestFolder folder;
  testing::FakeClock clock;
  clock.Set(2026, 12, 8, 10, 0, 0);
  ServiceLog log(clock);
  ASSERT_TRUE(log.Open(folder.Path("service.log")));
  folder.WriteAll("log.log", std::string("NTSL\x02", 5) + std::string(19, '\0'));
  testing::FullDiskFiles disk(folder.Files(), 100);

  ScheduledReport entry;
  entry.reportType = kDailyReport;
  entry.adapterKind = kAllConnections;
  entry.interval = 1;
  entry.filePath = folder.Path("daily.txt");
  ScheduledReports reports(disk, log);
  reports.SetEntries({entry});
  AdapterList adapters(1);
  adapters.front().kind = kAllConnections;
  const auto tick = [&] {
    reports.CheckScheduledReports(adapters, Options{}, folder.Path("log.log"), clock.Now());
    reports.WaitForJobs();
  };
  for (int i = 0; i < 3; ++i) {
    tick();
    EXPECT_EQ(folder.ReadAll("daily.txt"), "") << "no report cut off where the disk filled";
  }
  disk.SetFree(1 << 20);
  tick();
  log.Close();

  const std::string lines = folder.ReadAll("service.log");
  const std::string failed = "]: Failed to write file '" + entry.filePath + "'.";
  ASSERT_NE(lines.find(failed), std::string::npos) << lines;
  EXPECT_EQ(lines.find(failed, lines.find(failed) + 1), std::string::npos) << lines;
  EXPECT_NE(lines.find("]: Generate daily report (" + entry.filePath + ")"), std::string::npos) << lines;
  EXPECT_NE(folder.ReadAll("daily.txt").find("Daily Traffic Report"), std::string::npos);
}

// Paths and adapter names reach the service log in the system code page, where "é" is E9.
TEST(RunReportJob, WritesPathsAndAdapterNamesInTheSystemCodePage) {
  testing::TestFolder folder;
  testing::FakeClock clock;
  clock.Set(2026, 12, 8, 10, 0, 0);
  ServiceLog log(clock);
  ASSERT_TRUE(log.Open(folder.Path("service.log")));
  folder.WriteAll("log.log", std::string("NTSL\x02", 5) + std::string(19, '\0'));

  ReportJob job;
  job.adapters.resize(1);
  job.adapters.front().kind = kAllConnections;
  job.adapters.front().displayName = "R\xC3\xA9seau";
  job.entry.reportType = kDailyReport;
  job.entry.filePath = folder.Path(std::string("d\xC3\xA9") + "bit.txt");
  job.logPath = folder.Path("log.log");
  job.today = clock.Now();
  RunReportJob(job, folder.Files(), log);
  job.logPath = folder.Path(std::string("journ\xC3\xA9") + "e.log");
  RunReportJob(job, folder.Files(), log);
  log.Close();

  const std::string lines = folder.ReadAll("service.log");
  EXPECT_NE(lines.find("]: Generate daily report (" + folder.Path(std::string("d\xE9") + "bit.txt") +
                       ") for R\xE9seau successfully"),
            std::string::npos)
      << lines;
  EXPECT_NE(lines.find("]: Failed to open traffic log file (" + folder.Path(std::string("journ\xE9") + "e.log") + ")."),
            std::string::npos)
      << lines;
}

}  // namespace
}  // namespace veltrano
