// Cost of one enumeration pass of the adapter table over 64 interfaces, against the reference of
// copying the same 64 interface records (what any pass must at least touch).
#include <benchmark/benchmark.h>

#include "engine/adapter_table.h"
#include "fakes/fake_interface_source.h"

namespace veltrano {
namespace {

constexpr int kInterfaces = 64;

testing::FakeInterfaceSource MakeSource() {
  testing::FakeInterfaceSource source;
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

}  // namespace
}  // namespace veltrano
