// Cost of one enumeration pass of the adapter table over 64 interfaces, against the reference of
// copying the same 64 interface records (what any pass must at least touch); and one sampler tick
// over 64 interfaces with 64-bit counters against the same tick with 32-bit counters.
#include <benchmark/benchmark.h>

#include "engine/adapter_table.h"
#include "engine/traffic_sampler.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_interface_source.h"

namespace veltrano {
namespace {

constexpr int kInterfaces = 64;

testing::FakeInterfaceSource MakeSource(bool wideCounters = false) {
  testing::FakeInterfaceSource source;
  source.wideCounters = wideCounters;
  for (int i = 0; i < kInterfaces; ++i)
    source.Add("{00000000-0000-0000-0000-" + std::to_string(100000 + i) + "}", i + 1);
  return source;
}

void BM_RefreshAdapters(benchmark::State& state) {
  testing::FakeInterfaceSource source = MakeSource();
  AdapterTable table(source);
  table.LoadAdapterSettings({}, ProgramRole::kService);
  for (auto _ : state) {
    table.RefreshAdapters(false);
    benchmark::DoNotOptimize(table.Rows().back().prevInOctets);
  }
}
BENCHMARK(BM_RefreshAdapters);

void BM_Reference_CopyRecords(benchmark::State& state) {
  testing::FakeInterfaceSource source = MakeSource();
  std::vector<AdapterRecord> records;
  for (auto _ : state) {
    source.GetAdaptersInfo(records);
    benchmark::DoNotOptimize(records.data());
  }
}
BENCHMARK(BM_Reference_CopyRecords);

// A tick never opens a file here: the log is not open, so block writes cost nothing.
class NoFiles : public FileSystem {
 public:
  std::unique_ptr<File> Open(const std::string&, FileMode) override { return nullptr; }
  bool Exists(const std::string&) override { return false; }
  bool IsDirectory(const std::string&) override { return false; }
  bool MakeDirectory(const std::string&) override { return false; }
  bool IsAvailableFile(const std::string&) override { return false; }
  bool CopyFileTo(const std::string&, const std::string&, bool) override { return false; }
  std::string AppDataFolder() override { return {}; }
  std::string ExecutableFolder() override { return {}; }
};

// The desktop's tick (histories, averages) with 1.2 GB per second on every interface, so the
// 32-bit counters wrap every few ticks; the fake's enumeration is part of the time (see below).
void TickOver64Interfaces(benchmark::State& state, bool wideCounters) {
  testing::FakeInterfaceSource source = MakeSource(wideCounters);
  testing::FakeClock clock;
  clock.Set(2026, 12, 8, 10, 0, 1);
  AdapterTable table(source);
  table.LoadAdapterSettings({}, ProgramRole::kDesktop);
  NoFiles files;
  TrafficLog log(files);
  TrafficSampler sampler(ProgramRole::kDesktop, table, log, clock);
  for (auto _ : state) {
    for (auto& interface : source.interfaces) interface.row.inOctets += 1200000000u;
    sampler.Tick();
  }
  benchmark::DoNotOptimize(table.Rows().front().todayIn);
}

void BM_Tick64Interfaces_64BitCounters(benchmark::State& state) {
  TickOver64Interfaces(state, true);
}
BENCHMARK(BM_Tick64Interfaces_64BitCounters)->Unit(benchmark::kMicrosecond);

void BM_Tick64Interfaces_32BitCounters(benchmark::State& state) {
  TickOver64Interfaces(state, false);
}
BENCHMARK(BM_Tick64Interfaces_32BitCounters)->Unit(benchmark::kMicrosecond);

// The enumeration a tick starts with, through the same fake source: the system's share.
void BM_Reference_Enumeration64(benchmark::State& state) {
  testing::FakeInterfaceSource source = MakeSource(true);
  std::vector<EnumeratedInterface> interfaces;
  for (auto _ : state) {
    EnumerateInterfaces(source, interfaces);
    benchmark::DoNotOptimize(interfaces.data());
  }
}
BENCHMARK(BM_Reference_Enumeration64)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace veltrano
