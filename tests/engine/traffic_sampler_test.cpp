#include "engine/traffic_sampler.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/fake_clock.h"
#include "fakes/fake_interface_source.h"
#include "fakes/test_folder.h"

namespace veltrano {
namespace {

class CountingListener : public SamplerListener {
 public:
  void OnRowSample(AdapterEntry& row, std::uint64_t received, std::uint64_t, const LocalTime&) override {
    ++rowSamples;
    if (row.kind == kAllConnections) lastAllReceived = received;
  }
  void OnTickEnd(const LocalTime&) override { ++tickEnds; }
  void OnDayChanged(const LocalTime&) override { ++dayChanges; }
  int rowSamples = 0, tickEnds = 0, dayChanges = 0;
  std::uint64_t lastAllReceived = 0;
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

TEST_F(SamplerTest, SixtyFourBitCountersAreCountedExactlyAcrossTwoToTheThirtyTwo) {
  source_.wideCounters = true;
  source_.Add("{ETH-000000}", 1, 6, 4000000000u, 0);
  clock_.Set(2026, 12, 8, 10, 0, 1);
  Start(ProgramRole::kService);
  source_.interfaces[0].row.inOctets = 4300000000u;  // a 32-bit counter would have wrapped here
  TickAfter(1);
  EXPECT_EQ(Row(2).todayIn, 300000000u);
  // Going backwards in 64 bits is a reset (the interface was re-created): the new value counts.
  source_.interfaces[0].row.inOctets = 1000;
  TickAfter(1);
  EXPECT_EQ(Row(2).todayIn, 300001000u);
  EXPECT_EQ(Row(0).todayIn, 300001000u);
}

TEST_F(SamplerTest, ThirtyTwoBitCountersKeepTheirWrapRule) {
  source_.Add("{ETH-000000}", 1, 6, 4000000000u, 0);
  clock_.Set(2026, 12, 8, 10, 0, 1);
  Start(ProgramRole::kService);
  source_.interfaces[0].row.inOctets = 4300000000u;  // read as 5,032,704 after the wrap
  TickAfter(1);
  EXPECT_EQ(Row(2).todayIn, 5032704u);
}

TEST_F(SamplerTest, ABaselineOfTheOtherWidthCountsNothing) {
  source_.Add("{ETH-000000}", 1, 6, 7000000000u, 0);  // read narrow: 2,705,032,704
  clock_.Set(2026, 12, 8, 10, 0, 1);
  Start(ProgramRole::kService);
  source_.interfaces[0].row.wideCounters = true;
  TickAfter(1);
  EXPECT_EQ(Row(2).todayIn, 0u);
  source_.interfaces[0].row.inOctets += 10;
  TickAfter(1);
  EXPECT_EQ(Row(2).todayIn, 10u);
}

// Past 4 GiB in one second: the 32-bit sample is clamped (never wraps), totals and the recorder's
// hand-off carry the full amount.
TEST_F(SamplerTest, ASecondAboveFourGibibytesIsClampedInTheSampleAndExactInTheTotals) {
  source_.wideCounters = true;
  source_.Add("{ETH-000000}", 1);
  clock_.Set(2026, 12, 8, 10, 0, 1);
  Start(ProgramRole::kDesktop);
  source_.interfaces[0].row.inOctets = 5000000000u;
  TickAfter(1);
  EXPECT_EQ(Row(2).todayIn, 5000000000u);
  EXPECT_EQ(Row(0).todayIn, 5000000000u);
  EXPECT_EQ(listener_.lastAllReceived, 5000000000u);
  for (size_t row : {0u, 2u}) {
    ASSERT_EQ(Row(row).history.size(), 1u);
    EXPECT_EQ(Row(row).history.back().received, 0xFFFFFFFFu);
    EXPECT_EQ(Row(row).history.back().averageReceived, 0xFFFFFFFFu);
    EXPECT_EQ(Row(row).sumIn, 5000000000u);
  }
  source_.interfaces[0].row.inOctets += 600000000u;  // 10 Gbit/s links reach such seconds
  TickAfter(1);
  EXPECT_EQ(Row(2).history.back().received, 600000000u);
  EXPECT_EQ(Row(2).history.back().averageReceived, 2800000000u);
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

// Berlin's changes: 01:59:59 CET is followed by 03:00:00 CEST in spring, and 02:59:59 CEST by
// 02:00:00 CET in autumn; neither is a gap, and a real gap still counts nothing.
TEST_F(SamplerTest, TheDesktopCountsTheSecondOfADaylightSavingChange) {
  source_.Add("{ETH-000000}", 1);
  clock_.Set(2026, 3, 29, 1, 59, 58);
  clock_.now.utcOffsetMinutes = 60;
  Start(ProgramRole::kDesktop);
  source_.interfaces[0].row.inOctets = 100;
  TickAfter(1);
  clock_.Set(2026, 3, 29, 3, 0, 0);
  clock_.now.utcOffsetMinutes = 120;
  source_.interfaces[0].row.inOctets = 300;
  sampler_->Tick();
  EXPECT_EQ(Row(2).todayIn, 300u);

  clock_.Set(2026, 10, 25, 2, 59, 59);
  clock_.now.utcOffsetMinutes = 120;
  sampler_->Tick();  // a jump of seven months: counts nothing
  EXPECT_EQ(Row(2).todayIn, 0u);
  clock_.Set(2026, 10, 25, 2, 0, 0);
  clock_.now.utcOffsetMinutes = 60;
  source_.interfaces[0].row.inOctets = 350;
  sampler_->Tick();
  EXPECT_EQ(Row(2).todayIn, 50u);
  clock_.Advance(31);
  source_.interfaces[0].row.inOctets = 400;
  sampler_->Tick();
  EXPECT_EQ(Row(2).todayIn, 50u);
  EXPECT_EQ(listener_.dayChanges, 1);
  log_.Close();
}

// A wake whose gap the clock does not show (a short sleep, or a clock set back meanwhile): the
// reset counter is not counted, and an interface renumbered while asleep joins as a new one.
TEST_F(SamplerTest, AfterAWakeTheFirstTickCountsNothingWhateverTheGap) {
  EXPECT_EQ(PowerChangeFor(0x4), PowerChange::kSuspending);  // PBT_APMSUSPEND
  for (std::uint32_t wake : {0x6u, 0x7u, 0x12u}) EXPECT_EQ(PowerChangeFor(wake), PowerChange::kResumed);
  for (std::uint32_t other : {0x0u, 0xAu, 0x8013u}) EXPECT_EQ(PowerChangeFor(other), PowerChange::kNone);

  source_.wideCounters = true;
  source_.Add("{ETH-000000}", 1, 6, 5000, 0);
  clock_.Set(2026, 12, 8, 10, 0, 1);
  Start(ProgramRole::kService);
  source_.interfaces[0].row.inOctets = 6000;
  TickAfter(1);
  sampler_->OnPowerChange(PowerChange::kSuspending);
  EXPECT_GT(LogSize(), 24u) << "the records are on disk before the machine sleeps";
  source_.interfaces[0].row.inOctets = 900;
  source_.Add("{USB-RENUMBERED}", 9, 6, 100, 0);
  sampler_->OnPowerChange(PowerChange::kResumed);
  TickAfter(5);
  EXPECT_EQ(Row(0).todayIn, 1000u);
  source_.interfaces[0].row.inOctets = 1900;
  source_.interfaces[1].row.inOctets = 150;
  TickAfter(1);
  EXPECT_EQ(Row(2).todayIn, 2000u);
  EXPECT_EQ(Row(3).todayIn, 50u);
  EXPECT_EQ(Row(0).todayIn, 2050u);
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

// An interface that the system reports only some seconds after the start (as after a boot) or
// that is plugged in during the day continues the record stored for it today.
class LateInterfaceTest : public SamplerTest {
 protected:
  // Yesterday's and today's records of the late interface and All Connections.
  void StoreEarlierRun() {
    const LocalTime yesterday = Day(7), today = Day(8);
    TrafficLog earlier(folder_.Files());
    ASSERT_TRUE(earlier.Open(folder_.Path("qxrsum_v2.log"), LogOpenOptions{}));
    AdapterList rows(3);
    rows.front().kind = kAllConnections;
    std::next(rows.begin())->kind = kDialUpConnections;
    rows.back().id = "{LATE-00000}";
    rows.back().todayIn = 7;
    ASSERT_TRUE(earlier.WriteToday(rows, yesterday));
    for (auto& row : rows) row.dayRecordOffset = -1;
    rows.back().todayIn = 1000, rows.back().todayOut = 2000;
    rows.front().todayIn = 5000;
    ASSERT_TRUE(earlier.WriteToday(rows, today));
  }
  static LocalTime Day(int day) {
    LocalTime time;
    time.year = 2026, time.month = 12, time.day = day, time.hour = 10;
    return time;
  }
  // Today's records in the file, as (id, received, sent).
  std::vector<std::tuple<std::string, std::uint64_t, std::uint64_t>> TodaysRecords() {
    TrafficLog reader(folder_.Files());
    LogOpenOptions options;
    options.role = LogRole::kDesktopReader;
    std::vector<std::tuple<std::string, std::uint64_t, std::uint64_t>> records;
    if (!reader.Open(folder_.Path("qxrsum_v2.log"), options)) return records;
    reader.ForEachRecord([&](const DayRecord& record, std::uint64_t) {
      if (record.day == 8 && record.kind == kInterfaceAdapter) records.emplace_back(record.id, record.received, record.sent);
    });
    return records;
  }
  void InterfaceShowsUp(std::uint64_t in, std::uint64_t out) {
    source_.Add("{LATE-00000}", 4, 6, in, out);
  }
};

TEST_F(LateInterfaceTest, TheServiceContinuesTodaysRecordOfAnInterfaceReportedLate) {
  StoreEarlierRun();
  clock_.Set(2026, 12, 8, 10, 0, 1);
  Start(ProgramRole::kService);
  ASSERT_EQ(table_.Rows().size(), 2u);  // nothing reported yet
  EXPECT_EQ(Row(0).todayIn, 5000u);
  TickAfter(1);
  InterfaceShowsUp(100, 100);
  TickAfter(1);
  ASSERT_EQ(table_.Rows().size(), 3u);
  EXPECT_EQ(Row(2).todayIn, 1000u);
  EXPECT_EQ(Row(2).todayOut, 2000u);
  source_.interfaces[0].row.inOctets += 10;
  TickAfter(8);  // 10:00:11: counted, then written at 10:00:16
  TickAfter(5);
  EXPECT_EQ(Row(2).todayIn, 1010u);
  EXPECT_EQ(Row(0).todayIn, 5010u);
  using Record = std::tuple<std::string, std::uint64_t, std::uint64_t>;
  EXPECT_EQ(TodaysRecords(), (std::vector<Record>{{"{LATE-00000}", 1010, 2000}}));
}

TEST_F(LateInterfaceTest, AnInterfaceWithoutARecordTodayGetsOneAppended) {
  clock_.Set(2026, 12, 8, 10, 0, 1);
  Start(ProgramRole::kDesktop);
  InterfaceShowsUp(100, 100);
  TickAfter(1);
  EXPECT_EQ(Row(2).todayIn, 0u);
  EXPECT_EQ(Row(2).dayRecordOffset, -1);
  source_.interfaces[0].row.inOctets += 10;
  TickAfter(1);
  log_.WriteToday(table_.Rows(), clock_.now);
  using Record = std::tuple<std::string, std::uint64_t, std::uint64_t>;
  EXPECT_EQ(TodaysRecords(), (std::vector<Record>{{"{LATE-00000}", 10, 0}}));
}

TEST_F(LateInterfaceTest, TheDesktopReadingAlongTakesUpTheServicesRecord) {
  StoreEarlierRun();
  clock_.Set(2026, 12, 8, 10, 0, 1);
  table_.LoadAdapterSettings({}, ProgramRole::kDesktop);
  LogOpenOptions options;
  options.role = LogRole::kDesktopReader;
  ASSERT_TRUE(log_.Open(folder_.Path("qxrsum_v2.log"), options));
  sampler_ = std::make_unique<TrafficSampler>(ProgramRole::kDesktop, table_, log_, clock_);
  log_.LoadToday(table_.Rows(), clock_.now);
  InterfaceShowsUp(100, 100);
  TickAfter(1);
  EXPECT_EQ(Row(2).todayIn, 1000u);
  EXPECT_EQ(Row(2).todayOut, 2000u);
}

// Stopped and started again the same day, the interface reported late each time: the day keeps
// one record per adapter and its totals hold everything counted.
TEST_F(LateInterfaceTest, RestartsTheSameDayKeepOneRecordWithEveryByte) {
  std::uint64_t counter = 100;
  for (int run = 0; run < 3; ++run) {
    clock_.Set(2026, 12, 8, 10, run, 1);
    source_.interfaces.clear();
    Start(ProgramRole::kService);
    TickAfter(1);
    InterfaceShowsUp(counter, 0);
    TickAfter(1);
    for (int second = 0; second < 3; ++second) {
      source_.interfaces[0].row.inOctets = counter += 1000;
      TickAfter(1);
    }
    log_.WriteToday(table_.Rows(), sampler_->LastTick());
    log_.Close();
  }
  using Record = std::tuple<std::string, std::uint64_t, std::uint64_t>;
  EXPECT_EQ(TodaysRecords(), (std::vector<Record>{{"{LATE-00000}", 9000, 0}}));
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
