// Building each of the four reports over a 20 MiB log (ten years of twenty adapters, one record
// per adapter and day in date order), against the reference of a raw sequential read of the same
// file from the page cache.
#include <benchmark/benchmark.h>

#include "bench_log.h"
#include "platform/posix/posix_file_system.h"
#include "reports/report_periods.h"

namespace veltrano {
namespace {

const char* const kLogPath = "/tmp/veltrano-bench-reports.log";
void EnsureLog() {
  EnsureBenchLog(kLogPath);
}

ReportInput Input() {
  ReportInput input;
  input.kind = kInterfaceAdapter;
  input.id = BenchInterfaceId(7);
  input.today = {2026, 1, 2};
  input.todayDayOfWeek = 5;
  input.sumLastDays = 30;
  return input;
}

template <typename Build>
void RunReport(benchmark::State& state, Build build) {
  EnsureLog();
  PosixFileSystem files;
  TrafficLog log(files);
  LogOpenOptions options;
  options.role = LogRole::kDesktopReader;
  log.Open(kLogPath, options);
  const ReportInput input = Input();
  for (auto _ : state) benchmark::DoNotOptimize(build(input, log));
}

void BM_DailyReport(benchmark::State& state) {
  RunReport(state, BuildDailyRows);
}
void BM_WeeklyReport(benchmark::State& state) {
  RunReport(state, BuildWeeklyRows);
}
void BM_MonthlyReport(benchmark::State& state) {
  RunReport(state, BuildMonthlyRows);
}
void BM_SummaryReport(benchmark::State& state) {
  RunReport(state, BuildSummary);
}
BENCHMARK(BM_DailyReport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WeeklyReport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonthlyReport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SummaryReport)->Unit(benchmark::kMillisecond);

void BM_Reference_RawSequentialRead(benchmark::State& state) {
  EnsureLog();
  for (auto _ : state) benchmark::DoNotOptimize(ReadWholeFile(kLogPath));
}
BENCHMARK(BM_Reference_RawSequentialRead)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrano
