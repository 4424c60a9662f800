// Scheduled reports of the service.
#include "service/scheduled_reports.h"

#include <algorithm>
#include <chrono>

#include "engine/traffic_log.h"
#include "platform/system_text.h"
#include "reports/report_export.h"
#include "reports/report_periods.h"

namespace veltrano {
namespace {

ReportKind KindOf(std::int32_t reportType) {
  switch (reportType) {
    case kDailyReport:
      return ReportKind::kDaily;
    case kWeeklyReport:
      return ReportKind::kWeekly;
    case kMonthlyReport:
      return ReportKind::kMonthly;
    default:
      return ReportKind::kSummary;
  }
}

const char* SuccessLine(ReportKind kind) {
  switch (kind) {
    case ReportKind::kDaily:
      return "Generate daily report (%s) for %s successfully";
    case ReportKind::kWeekly:
      return "Generate weekly report (%s) for %s successfully";
    case ReportKind::kMonthly:
      return "Generate monthly report (%s) for %s successfully";
    case ReportKind::kSummary:
      break;
  }
  return "Generate summary report (%s) for %s successfully";
}

}  // namespace

// A report that fails at every due time (a full disk, a read-only folder) is told once, until one
// is written again.
bool RunReportJob(const ReportJob& job, FileSystem& files, ServiceLog& log) {
  const auto row = std::find_if(job.adapters.begin(), job.adapters.end(), [&](const AdapterEntry& entry) {
    return SameAdapter(job.entry.adapterKind, job.entry.adapterId, entry);
  });
  if (row == job.adapters.end()) return true;
  const std::string& target = job.entry.filePath;
  std::unique_ptr<File> file = files.Open(target, FileMode::kReplace);
  if (!file) {
    if (!job.failedBefore) log.Write("Failed to create file '%s'.", Utf8ToSystemAnsi(target).c_str());
    return false;
  }
  TrafficLog trafficLog(files);
  LogOpenOptions options;
  options.role = LogRole::kDesktopReader;  // beside the worker, which keeps writing
  if (!trafficLog.Open(job.logPath, options)) {
    if (!job.failedBefore) log.Write("Failed to open traffic log file (%s).", Utf8ToSystemAnsi(job.logPath).c_str());
    return false;  // the target stays empty
  }

  ReportInput input;
  input.kind = row->kind;
  input.id = row->id;
  input.todayIn = row->todayIn;
  input.todayOut = row->todayOut;
  input.today = LogDate::Of(job.today);
  input.todayDayOfWeek = job.today.dayOfWeek;
  input.weekStartDay = job.weekStartDay;
  input.monthStartDay = job.monthStartDay;
  input.sumLastDays = job.sumLastDays;
  input.dateFormat = job.dateFormat;
  const ReportKind kind = KindOf(job.entry.reportType);
  ReportTable table;
  switch (kind) {
    case ReportKind::kDaily:
      table = MakeRowsTable(kind, BuildDailyRows(input, trafficLog), input, row->displayName);
      break;
    case ReportKind::kWeekly:
      table = MakeRowsTable(kind, BuildWeeklyRows(input, trafficLog), input, row->displayName);
      break;
    case ReportKind::kMonthly:
      table = MakeRowsTable(kind, BuildMonthlyRows(input, trafficLog), input, row->displayName);
      break;
    case ReportKind::kSummary:
      table = MakeSummaryTable(BuildSummary(input, trafficLog), input, row->displayName);
      break;
  }
  if (!WriteReport(*file, table, input, FormatFromExtension(target))) {
    if (!job.failedBefore) log.Write("Failed to write file '%s'.", Utf8ToSystemAnsi(target).c_str());
    return false;
  }
  log.Write(SuccessLine(kind), Utf8ToSystemAnsi(target).c_str(), Utf8ToSystemAnsi(row->displayName).c_str());
  return true;
}

void ScheduledReports::CheckScheduledReports(const AdapterList& adapters, const Options& options,
                                             const std::string& logPath, const LocalTime& now) {
  ForgetFinishedJobs();
  for (size_t index = 0; index < entries_.size(); ++index) {
    ScheduledReport& entry = entries_[index];
    const std::int32_t countdown = entry.countdown--;
    if (countdown > 1) continue;
    ReportJob job;
    job.entry = entry;
    job.adapters = adapters;
    job.today = now;
    job.monthStartDay = options.monthStartDay;
    job.weekStartDay = options.weekStartDay;
    job.dateFormat = options.dateFormat;
    job.sumLastDays = options.sumLastDays;
    job.logPath = logPath;
    // A job that finds its target held by an earlier one of the same entry says so every time,
    // as that is over by itself; a failure that outlasts the jobs (a full or read-only disk) once.
    const bool earlierRuns = std::any_of(jobs_.begin(), jobs_.end(), [&](const RunningJob& running) {
      return running.entry == index;
    });
    job.failedBefore = failed_[index] && !earlierRuns;
    jobs_.push_back({index, std::async(std::launch::async,
                                       [this, job = std::move(job)] { return RunReportJob(job, files_, log_); })});
    entry.countdown = entry.interval;
  }
}

void ScheduledReports::ForgetFinishedJobs() {
  for (auto job = jobs_.begin(); job != jobs_.end();) {
    if (job->written.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
      failed_[job->entry] = !job->written.get();
      job = jobs_.erase(job);
    } else {
      ++job;
    }
  }
}

void ScheduledReports::WaitForJobs() {
  for (auto& job : jobs_) failed_[job.entry] = !job.written.get();
  jobs_.clear();
}

}  // namespace veltrano
