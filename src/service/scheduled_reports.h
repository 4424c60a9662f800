// The service's scheduled reports: each entry counts down once per tick and, when due, its report
// is built and written by a job on a thread of its own, from copies of everything it needs, so
// that the worker never waits for a report.
#pragma once

#include <future>
#include <string>
#include <vector>

#include "core/local_time.h"
#include "engine/adapter_entry.h"
#include "platform/file_system.h"
#include "service/service_log.h"
#include "settings/options.h"
#include "settings/scheduled_report.h"

namespace veltrano {

struct ReportJob {
  ScheduledReport entry;
  AdapterList adapters;  // as they stood when the job was made, today's totals included
  LocalTime today;
  std::uint32_t monthStartDay = 1;
  std::uint32_t weekStartDay = 0;
  std::uint32_t dateFormat = 17;
  std::uint32_t sumLastDays = 30;
  std::string logPath;
  bool failedBefore = false;  // the entry's last run failed and said so; another failure is not repeated
};

// Writes the entry's report; nothing at all when its adapter is gone. Failures and successes go
// to the service log. False when the report could not be written.
bool RunReportJob(const ReportJob& job, FileSystem& files, ServiceLog& log);

class ScheduledReports {
 public:
  ScheduledReports(FileSystem& files, ServiceLog& log) : files_(files), log_(log) {}
  ~ScheduledReports() { WaitForJobs(); }

  void SetEntries(std::vector<ScheduledReport> entries) {
    entries_ = std::move(entries);
    failed_.assign(entries_.size(), false);
  }
  bool Empty() const { return entries_.empty(); }

  // One tick: counts every entry down in list order and starts a job for each one that is due.
  void CheckScheduledReports(const AdapterList& adapters, const Options& options, const std::string& logPath,
                             const LocalTime& now);
  // Lets running jobs finish (at the end of the worker: a job still writes into the service log).
  void WaitForJobs();

 private:
  void ForgetFinishedJobs();

  FileSystem& files_;
  ServiceLog& log_;
  struct RunningJob {
    size_t entry;
    std::future<bool> written;
  };

  std::vector<ScheduledReport> entries_;
  std::vector<bool> failed_;  // per entry: its last finished job failed
  std::vector<RunningJob> jobs_;
};

}  // namespace veltrano
