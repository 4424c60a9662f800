// ForEachRecord over a 20 MiB log (ten years of twenty adapters), against the reference of a raw
// sequential read of the same file from the page cache; and one Tick() over 64 interfaces.
#include <benchmark/benchmark.h>

#include "bench_log.h"
#include "engine/traffic_log.h"
#include "engine/traffic_sampler.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_interface_source.h"
#include "platform/posix/posix_file_system.h"

namespace veltrano {
namespace {

const char* const kLogPath = "/tmp/veltrano-bench-qxrsum_v2.log";

void EnsureLog() {
  EnsureBenchLog(kLogPath);
}

void BM_ForEachRecord(benchmark::State& state) {
  EnsureLog();
  PosixFileSystem files;
  TrafficLog log(files);
  LogOpenOptions options;
  options.role = LogRole::kDesktopReader;
  log.Open(kLogPath, options);
  for (auto _ : state) {
    std::uint64_t sum = 0;
    log.ForEachRecord([&](const DayRecord& record, std::uint64_t) { sum += record.received + record.id.size(); });
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ForEachRecord)->Unit(benchmark::kMillisecond);

void BM_Reference_RawSequentialRead(benchmark::State& state) {
  EnsureLog();
  for (auto _ : state) benchmark::DoNotOptimize(ReadWholeFile(kLogPath));
}
BENCHMARK(BM_Reference_RawSequentialRead)->Unit(benchmark::kMillisecond);

testing::FakeInterfaceSource SixtyFourInterfaces() {
  testing::FakeInterfaceSource source;
  for (int i = 0; i < 64; ++i) source.Add("{00000000-0000-0000-0000-0000000" + std::to_string(10000 + i) + "}", i + 1);
  return source;
}

// One Tick() over 64 interfaces; subtract the enumeration reference below for the tick's own cost.
void BM_Tick64Interfaces(benchmark::State& state) {
  testing::FakeInterfaceSource source = SixtyFourInterfaces();
  testing::FakeClock clock;
  clock.Set(2026, 12, 8, 10, 0, 1);
  AdapterTable table(source);
  table.LoadAdapterSettings({}, ProgramRole::kDesktop);
  PosixFileSystem files;
  TrafficLog log(files);  // not opened: the block writes are not part of a tick's cost
  TrafficSampler sampler(ProgramRole::kDesktop, table, log, clock);
  for (auto _ : state) {
    for (auto& interface : source.interfaces) interface.row.inOctets += 1500;
    sampler.Tick();
  }
}
BENCHMARK(BM_Tick64Interfaces)->Unit(benchmark::kMicrosecond);

// The enumeration a tick starts with, through the same fake source.
void BM_Reference_Enumeration64(benchmark::State& state) {
  testing::FakeInterfaceSource source = SixtyFourInterfaces();
  std::vector<EnumeratedInterface> interfaces;
  for (auto _ : state) {
    EnumerateInterfaces(source, interfaces);
    benchmark::DoNotOptimize(interfaces.data());
  }
}
BENCHMARK(BM_Reference_Enumeration64)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace veltrano
