#include "engine/traffic_sampler.h"

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"
#include "fakes/fake_interface_source.h"
#include "fakes/test_folder.h"

namespace veltrano {
namespace {

class CountingListener : public SamplerListener {
 public:
  void OnRowSample(AdapterEntry&, std::uint32_t, std::uint32_t, const LocalTime&) override { ++rowSamples; }
  void OnTickEnd(const LocalTime&) override { ++tickEnds; }
  void OnDayChanged(const LocalTime&) override { ++dayChanges; }
  int rowSamples = 0, tickEnds = 0, dayChanges = 0;
};

class SamplerTest : public ::testing::Test {
 protected:
  void Start(ProgramRole role, size_t historyCap = 2048) {
    table_.LoadAdapterSettings({}, role);
    LogOpenOptions options;
    options.role = role == ProgramRole::kService ? LogRole::kServiceWriter : LogRole::kDesktopWriter;
    ASSERT_TRUE(log_.Open(folder_.Path("qxrsum_v2.log"), options));
    sampler_ = std::make_unique<TrafficSampler>(role, table_, log_, clock_, historyCap);
    sampler_->SetListener(&listener_);
    log_.LoadToday(table_.Rows(), clock_.now);
  }
  void TickAfter(int seconds) {
    clock_.Advance(seconds);
    sampler_->Tick();
  }
  AdapterEntry& Row(size_t index) { return *std::next(table_.Rows().begin(), static_cast<long>(index)); }
  std::uint64_t LogSize() { return folder_.ReadAll("qxrsum_v2.log").size(); }

  testing::FakeInterfaceSource source_;
  testing::FakeClock clock_;
  testing::TestFolder folder_;
  AdapterTable table_{source_};
  TrafficLog log_{folder_.Files()};
  CountingListener listener_;
  std::unique_ptr<TrafficSampler> sampler_;
};

TEST_F(SamplerTest, CountsTheNewValueWhenTheCounterWraps) {
  source_.Add("{ETH-000000}", 1, 6, 4000000000u, 0);
  clock_.Set(2026, 12, 8, 10, 0, 1);
  Start(ProgramRole::kService);
  source_.interfaces[0].row.inOctets = 1000;
  TickAfter(1);
  EXPECT_EQ(Row(2).todayIn, 1000u);
  EXPECT_EQ(Row(0).todayIn, 1000u);
}

TEST_F(SamplerTest, CountsDialUpInterfacesInBothAggregates) {
  source_.Add("{ETH-000000}", 1, 6);
  source_.Add("{PPP-000000}", 2, 23);
  clock_.Set(2026, 12, 8, 10, 0, 1);
  Start(ProgramRole::kDesktop);
  source_.interfaces[0].row.inOctets = 100;
  source_.interfaces[1].row.inOctets = 20;
  source_.interfaces[1].row.outOctets = 3;
  TickAfter(1);
  EXPECT_EQ(Row(0).todayIn, 120u);
  EXPECT_EQ(Row(1).todayIn, 20u);
  EXPECT_EQ(Row(1).todayOut, 3u);
  ASSERT_EQ(Row(0).history.size(), 1u);
  EXPECT_EQ(Row(0).history.back().received, 120u);
  EXPECT_EQ(listener_.rowSamples, 4);
  EXPECT_EQ(listener_.tickEnds, 1);
}

TEST_F(SamplerTest, AnInterfaceCountsFromTheTickAfterItWasFound) {
  clock_.Set(2026, 12, 8, 10, 0, 1);
  Start(ProgramRole::kService);
  source_.Add("{NEW-000000}", 7, 6, 5000, 5000);
  TickAfter(1);
  ASSERT_EQ(table_.Rows().size(), 3u);
  EXPECT_EQ(Row(2).todayIn, 0u);
  source_.interfaces[0].row.inOctets = 5100;
  TickAfter(1);
  EXPECT_EQ(Row(2).todayIn, 100u);
  // Gone for a tick, back with a higher counter: the first second back is not counted.
  auto saved = source_.interfaces;
  source_.interfaces.clear();
  TickAfter(1);
  EXPECT_FALSE(Row(2).hasPrev);
  EXPECT_EQ(Row(2).ipAddress, "");
  source_.interfaces = saved;
  source_.interfaces[0].row.inOctets = 9000;
  TickAfter(1);
  EXPECT_EQ(Row(2).todayIn, 100u);
  EXPECT_EQ(Row(2).ipAddress, "10.0.0.7");
}

TEST_F(SamplerTest, TheDesktopCountsNothingAfterAGapOfMoreThanThirtySeconds) {
  source_.Add("{ETH-000000}", 1);
  clock_.Set(2026, 12, 8, 10, 0, 1);
  Start(ProgramRole::kDesktop);
  source_.interfaces[0].row.inOctets = 100;
  TickAfter(30);
  EXPECT_EQ(Row(2).todayIn, 100u);
  source_.interfaces[0].row.inOctets = 300;
  TickAfter(31);
  EXPECT_EQ(Row(2).todayIn, 100u);
}

TEST_F(SamplerTest, AFailedEnumerationChangesNothingAndCallsNobody) {
  source_.Add("{ETH-000000}", 1);
  clock_.Set(2026, 12, 8, 10, 0, 1);
  Start(ProgramRole::kDesktop);
  source_.interfaces[0].row.inOctets = 100;
  source_.failEnumeration = true;
  TickAfter(1);
  EXPECT_EQ(Row(0).todayIn, 0u);
  EXPECT_EQ(listener_.rowSamples + listener_.tickEnds, 0);
}

TEST_F(SamplerTest, TheSameAdapterReportedTwiceCountsOnce) {
  source_.Add("{ETH-000000}", 1);
  source_.Add("{ETH-000000}", 1);
  clock_.Set(2026, 12, 8, 10, 0, 1);
  Start(ProgramRole::kService);
  for (auto& interface : source_.interfaces) interface.row.inOctets = 100;
  TickAfter(1);
  EXPECT_EQ(Row(0).todayIn, 100u);
}

TEST_F(SamplerTest, TheServiceWritesEveryEightSecondsAndTheDesktopEverySixteenMinutes) {
  source_.Add("{ETH-000000}", 1);
  clock_.Set(2026, 12, 8, 10, 0, 1);
  Start(ProgramRole::kService);
  TickAfter(6);  // 10:00:07
  EXPECT_EQ(LogSize(), 24u);
  TickAfter(1);  // 10:00:08
  EXPECT_EQ(LogSize(), 24u + 3 * 296);
  log_.Close();
}

TEST_F(SamplerTest, TheDesktopWritesAtSixteenMinuteBlocksAndHourChanges) {
  source_.Add("{ETH-000000}", 1);
  clock_.Set(2026, 12, 8, 10, 15, 0);
  Start(ProgramRole::kDesktop);
  TickAfter(59);  // 10:15:59
  EXPECT_EQ(LogSize(), 24u);
  TickAfter(1);  // 10:16:00
  EXPECT_EQ(LogSize(), 24u + 3 * 296);
  clock_.Set(2026, 12, 8, 10, 59, 59);
  sampler_->Tick();  // 10:59:59, a new block since 10:16
  source_.interfaces[0].row.inOctets = 50;
  TickAfter(1);  // 11:00:00, the hour changes
  log_.Close();
  AdapterList rows = table_.Rows();
  TrafficLog reader(folder_.Files());
  LogOpenOptions options;
  options.role = LogRole::kDesktopReader;
  ASSERT_TRUE(reader.Open(folder_.Path("qxrsum_v2.log"), options));
  reader.LoadToday(rows, clock_.now);
  EXPECT_EQ(std::next(rows.begin(), 2)->todayIn, 0u);  // this tick is written at the next boundary
}

TEST_F(SamplerTest, MidnightKeepsTheLastSecondsWithTheOldDay) {
  source_.Add("{ETH-000000}", 1);
  clock_.Set(2026, 12, 8, 23, 59, 55);
  Start(ProgramRole::kService);
  source_.interfaces[0].row.inOctets = 100;
  TickAfter(1);  // 23:59:56, block 7: written with 0 bytes
  source_.interfaces[0].row.inOctets = 300;
  TickAfter(4);  // 00:00:00 next day: the 23:59:56 totals are written under the 8th, then reset
  EXPECT_EQ(listener_.dayChanges, 1);
  EXPECT_EQ(Row(2).todayIn, 200u);  // the first tick of the new day counts in the new day
  TrafficLog reader(folder_.Files());
  LogOpenOptions options;
  options.role = LogRole::kDesktopReader;
  ASSERT_TRUE(reader.Open(folder_.Path("qxrsum_v2.log"), options));
  AdapterList rows = table_.Rows();
  LocalTime eighth = clock_.now;
  eighth.day = 8, eighth.month = 12;
  reader.LoadToday(rows, eighth);
  EXPECT_EQ(std::next(rows.begin(), 2)->todayIn, 100u);
}

TEST_F(SamplerTest, HistoriesNeverExceedTheCap) {
  source_.Add("{ETH-000000}", 1);
  clock_.Set(2026, 12, 8, 10, 0, 1);
  Start(ProgramRole::kDesktop, 5);
  for (int i = 1; i <= 8; ++i) {
    source_.interfaces[0].row.inOctets = 10u * i;
    TickAfter(1);
  }
  EXPECT_EQ(Row(2).history.size(), 5u);
  EXPECT_EQ(Row(2).history.back().averageReceived, 10u);
  sampler_->ResetAllRates();
  EXPECT_TRUE(Row(0).history.empty());
  EXPECT_EQ(Row(0).sampleCount, 0u);
  EXPECT_EQ(TrafficSampler::HistoryCapFor(1280), 2048u);
  EXPECT_EQ(TrafficSampler::HistoryCapFor(3840), 3840u);
}

}  // namespace
}  // namespace veltrano
