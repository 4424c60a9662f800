// Building each of the four reports over a 20 MiB log (ten years of twenty adapters, one record
// per adapter and day in date order), against the reference of a raw sequential read of the same
// file from the page cache.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "platform/posix/posix_file_system.h"
#include "raw_read.h"
#include "reports/report_periods.h"

namespace veltrano {
namespace {

const char* const kLogPath = "/tmp/veltrano-bench-reports.log";
constexpr int kDays = 3653;
constexpr int kAdapters = 20;

std::string InterfaceId(int adapter) {
  return "{00000000-0000-0000-0000-0000000000" + std::to_string(10 + adapter) + "}";
}

void EnsureLog() {
  static bool built = false;
  if (built) return;
  std::remove(kLogPath);
  PosixFileSystem files;
  auto file = files.Open(kLogPath, FileMode::kWriter);
  std::vector<std::uint8_t> bytes(kLogHeaderSize);
  EncodeLogHeader(bytes.data());
  std::uint8_t record[kDayRecordSize];
  const std::int64_t firstDay = DaysFromCivil(2016, 1, 1);
  for (int day = 0; day < kDays; ++day) {
    const CivilDate civil = CivilFromDays(firstDay + day);
    LocalTime date;
    date.year = civil.year, date.month = civil.month, date.day = civil.day;
    date.dayOfWeek = DayOfWeekFromDays(firstDay + day);
    for (int adapter = 0; adapter < kAdapters; ++adapter) {
      EncodeDayRecord(record, date, adapter < 2 ? 100 * (adapter + 1) : 300, adapter < 2 ? "" : InterfaceId(adapter),
                      1000u * day, 77u * adapter);
      bytes.insert(bytes.end(), record, record + kDayRecordSize);
    }
  }
  file->WriteAt(0, bytes.data(), bytes.size());
  built = true;
}

ReportInput Input() {
  ReportInput input;
  input.kind = kInterfaceAdapter;
  input.id = InterfaceId(7);
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
