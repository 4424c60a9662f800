#include "engine/traffic_log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "core/paths.h"
#include "fakes/fake_interface_source.h"
#include "fakes/full_disk_files.h"
#include "fakes/test_folder.h"

namespace veltrano {
namespace {

const std::string kHeader = std::string("NTSL\x02\0\0\0", 8) + std::string(16, '\0');

LocalTime Day(int year, int month, int day, int dayOfWeek = 0) {
  LocalTime time;
  time.year = year, time.month = month, time.day = day, time.dayOfWeek = dayOfWeek;
  return time;
}

// A day record assembled field by field, independently of the program's codec.
std::string Record(int year, int month, int day, int dayOfWeek, std::int32_t kind, const std::string& id,
                   std::uint64_t received, std::uint64_t sent) {
  std::string bytes(296, '\0');
  const auto u16 = [&](size_t at, unsigned v) { bytes[at] = char(v & 0xFF), bytes[at + 1] = char(v >> 8); };
  const auto u64 = [&](size_t at, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) bytes[at + i] = char((v >> (8 * i)) & 0xFF);
  };
  u16(0, year), u16(2, month), u16(4, day), u16(8, dayOfWeek);
  u64(12, static_cast<std::uint32_t>(kind));  // i32 kind, then the id field starts at 16
  bytes.replace(16, id.size(), id);
  u64(280, received), u64(288, sent);
  return bytes;
}

AdapterList Rows() {
  AdapterList rows(3);
  rows.front().kind = kAllConnections;
  std::next(rows.begin())->kind = kDialUpConnections;
  rows.back().id = "{NIC}";
  return rows;
}

class TrafficLogTest : public ::testing::Test {
 protected:
  bool Open(TrafficLog& log, LogRole role = LogRole::kDesktopWriter) {
    LogOpenOptions options;
    options.role = role;
    return log.Open(path_, options);
  }
  testing::TestFolder folder_;
  std::string path_ = folder_.Path("qxrsum_v2.log");
  TrafficLog log_{folder_.Files()};
};

TEST_F(TrafficLogTest, AnEmptyFileGetsExactlyTheHeader) {
  ASSERT_TRUE(Open(log_));
  log_.Close();
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log"), kHeader);
}

TEST_F(TrafficLogTest, WritesEveryRowByteForByteAndRewritesInPlace) {
  ASSERT_TRUE(Open(log_));
  AdapterList rows = Rows();
  rows.front().todayIn = 5000000000ULL;
  rows.front().todayOut = 7;
  rows.back().todayIn = 1;
  ASSERT_TRUE(log_.WriteToday(rows, Day(2026, 12, 8, 2)));
  rows.back().todayOut = 99;
  ASSERT_TRUE(log_.WriteToday(rows, Day(2026, 12, 8, 2)));
  // A row that appears in the afternoon follows the morning's records.
  rows.emplace_back();
  rows.back().id = "{LATE}";
  rows.back().todayIn = 3;
  ASSERT_TRUE(log_.WriteToday(rows, Day(2026, 12, 8, 2)));
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log"),
            kHeader + Record(2026, 12, 8, 2, 100, "", 5000000000ULL, 7) + Record(2026, 12, 8, 2, 200, "", 0, 0) +
                Record(2026, 12, 8, 2, 300, "{NIC}", 1, 99) + Record(2026, 12, 8, 2, 300, "{LATE}", 3, 0));
}

TEST_F(TrafficLogTest, LoadsTodaysTotalsAndTheLastRecordOfADayWins) {
  folder_.WriteAll("qxrsum_v2.log", kHeader + Record(2026, 12, 7, 1, 100, "", 50, 60) +
                                        Record(2026, 12, 8, 2, 300, "{NIC}", 1, 2) +
                                        Record(2026, 12, 8, 2, 300, "{NIC}", 10, 20) +
                                        Record(2026, 12, 8, 2, 300, "{GONE}", 5, 5) + "partial");
  ASSERT_TRUE(Open(log_));
  AdapterList rows = Rows();
  rows.front().todayIn = 77;
  log_.LoadToday(rows, Day(2026, 12, 8));
  EXPECT_EQ(rows.front().todayIn, 0u);
  EXPECT_EQ(rows.front().dayRecordOffset, -1);
  EXPECT_EQ(rows.back().todayIn, 10u);
  EXPECT_EQ(rows.back().todayOut, 20u);
  EXPECT_EQ(rows.back().dayRecordOffset, 24 + 2 * 296);
}

// A log past 4 GiB (sparse, so the test stays cheap): today's records go to its end and are
// rewritten there, never over old days near the start.
TEST_F(TrafficLogTest, RecordsPastFourGibibytesAreAppendedAndRewrittenAtTheirOwnOffsets) {
  const std::uint64_t records = 14510100;  // 24 + records * 296 lies just past 2^32
  const std::uint64_t end = 24 + records * 296;
  ASSERT_GT(end, 0x100000000ULL);
  const std::string yesterday = Record(2026, 12, 7, 1, 300, "{NIC}", 50, 60);
  folder_.WriteAll("qxrsum_v2.log", kHeader + yesterday);
  {
    std::unique_ptr<File> file = folder_.Files().Open(path_, FileMode::kWriter);
    ASSERT_TRUE(file && file->Truncate(end));
  }
  ASSERT_TRUE(Open(log_));
  AdapterList rows = Rows();
  rows.back().todayIn = 1;
  ASSERT_TRUE(log_.WriteToday(rows, Day(2026, 12, 8, 2)));
  EXPECT_EQ(rows.back().dayRecordOffset, static_cast<std::int64_t>(end + 2 * 296));
  rows.back().todayIn = 2;
  ASSERT_TRUE(log_.WriteToday(rows, Day(2026, 12, 8, 2)));
  log_.Close();

  std::unique_ptr<File> file = folder_.Files().Open(path_, FileMode::kReader);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Size(), end + 3 * 296);
  std::string bytes(296, '\0');
  ASSERT_EQ(file->ReadAt(24, bytes.data(), bytes.size()), 296u);
  EXPECT_EQ(bytes, yesterday);
  ASSERT_EQ(file->ReadAt(end + 2 * 296, bytes.data(), bytes.size()), 296u);
  EXPECT_EQ(bytes, Record(2026, 12, 8, 2, 300, "{NIC}", 2, 0));
}

TEST_F(TrafficLogTest, AnAppendAfterAnInterruptedWriteReplacesTheFragment) {
  folder_.WriteAll("qxrsum_v2.log", kHeader + Record(2026, 12, 7, 1, 100, "", 50, 60) + std::string(100, 'x'));
  ASSERT_TRUE(Open(log_));
  AdapterList rows = Rows();
  ASSERT_TRUE(log_.WriteToday(rows, Day(2026, 12, 8)));
  log_.Close();
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log").size(), 24u + 4 * 296);
  EXPECT_EQ(rows.front().dayRecordOffset, 24 + 296);
}

TEST_F(TrafficLogTest, AFullOrReadOnlyDiskLeavesNoPartRecordAndTheDayIsWrittenOnceItCanBe) {
  const std::string past = kHeader + Record(2026, 12, 7, 1, 100, "", 50, 60);
  folder_.WriteAll("qxrsum_v2.log", past);
  testing::FullDiskFiles disk(folder_.Files(), 296 + 100);  // one record and part of another
  TrafficLog log(disk);
  std::vector<LogWriteEvent> events;
  log.SetWriteWatcher([&](LogWriteEvent event) { events.push_back(event); });
  LogOpenOptions options;
  ASSERT_TRUE(log.Open(path_, options));
  AdapterList rows = Rows();
  rows.back().todayIn = 7;
  EXPECT_FALSE(log.WriteToday(rows, Day(2026, 12, 8, 2)));
  EXPECT_FALSE(log.WriteToday(rows, Day(2026, 12, 8, 2)));
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log"), past + Record(2026, 12, 8, 2, 100, "", 0, 0));
  EXPECT_EQ(events, std::vector<LogWriteEvent>{LogWriteEvent::kWriteFailed});

  disk.SetFree(10000);
  rows.back().todayIn = 9;
  EXPECT_TRUE(log.WriteToday(rows, Day(2026, 12, 8, 2)));
  const std::string day = Record(2026, 12, 8, 2, 100, "", 0, 0) + Record(2026, 12, 8, 2, 200, "", 0, 0) +
                          Record(2026, 12, 8, 2, 300, "{NIC}", 9, 0);
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log"), past + day);

  disk.SetReadOnly(true);
  rows.back().todayIn = 11;
  EXPECT_FALSE(log.WriteToday(rows, Day(2026, 12, 8, 2)));
  disk.SetReadOnly(false);
  EXPECT_TRUE(log.WriteToday(rows, Day(2026, 12, 8, 2)));
  log.Close();
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log"), past + day.substr(0, 2 * 296) + Record(2026, 12, 8, 2, 300, "{NIC}", 11, 0));
  EXPECT_EQ(events, (std::vector<LogWriteEvent>{LogWriteEvent::kWriteFailed, LogWriteEvent::kWriteResumed,
                                                LogWriteEvent::kWriteFailed, LogWriteEvent::kWriteResumed}));
}

TEST_F(TrafficLogTest, ALogDeletedOrReplacedWhileOpenIsMadeAgainWithTodaysTotals) {
  std::vector<LogWriteEvent> events;
  log_.SetWriteWatcher([&](LogWriteEvent event) { events.push_back(event); });
  ASSERT_TRUE(Open(log_, LogRole::kServiceWriter));
  AdapterList rows = Rows();
  rows.back().todayIn = 5;
  ASSERT_TRUE(log_.WriteToday(rows, Day(2026, 12, 8, 2)));
  std::error_code error;
  if (!std::filesystem::remove(path_, error)) GTEST_SKIP() << "the system keeps a file held without delete sharing";
  rows.back().todayIn = 6;
  ASSERT_TRUE(log_.WriteToday(rows, Day(2026, 12, 8, 2)));
  const auto day = [](std::uint64_t nic) {
    return Record(2026, 12, 8, 2, 100, "", 0, 0) + Record(2026, 12, 8, 2, 200, "", 0, 0) +
           Record(2026, 12, 8, 2, 300, "{NIC}", nic, 0);
  };
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log"), kHeader + day(6));
  EXPECT_EQ(events, std::vector<LogWriteEvent>{LogWriteEvent::kRecreated});

  // A foreign file in its place is kept aside; a log put back keeps one record per day and row.
  std::filesystem::remove(path_);
  folder_.WriteAll("qxrsum_v2.log", "not a log");
  ASSERT_TRUE(log_.WriteToday(rows, Day(2026, 12, 8, 2)));
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log.damaged"), "not a log");
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log"), kHeader + day(6));
  std::filesystem::remove(path_);
  const std::string restored = kHeader + Record(2026, 12, 7, 1, 100, "", 1, 2) + Record(2026, 12, 8, 2, 300, "{NIC}", 1, 0);
  folder_.WriteAll("qxrsum_v2.log", restored);
  ASSERT_TRUE(log_.WriteToday(rows, Day(2026, 12, 8, 2)));
  log_.Close();
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log"), restored.substr(0, 24 + 296) + Record(2026, 12, 8, 2, 300, "{NIC}", 6, 0) +
                                                  Record(2026, 12, 8, 2, 100, "", 0, 0) +
                                                  Record(2026, 12, 8, 2, 200, "", 0, 0));
}

TEST_F(TrafficLogTest, ADamagedLogIsKeptBesideBeforeItIsReplaced) {
  const std::string foreign = "MZ this is somebody else's file";
  folder_.WriteAll("qxrsum_v2.log", foreign);
  ASSERT_TRUE(Open(log_));
  EXPECT_EQ(log_.DamagedCopyPath(), path_ + ".damaged");
  log_.Close();
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log"), kHeader);
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log.damaged"), foreign);

  folder_.WriteAll("qxrsum_v2.log", std::string("NTSL\x01\0\0\0", 8) + std::string(16, '\0'));  // version 1
  ASSERT_TRUE(Open(log_, LogRole::kServiceWriter));
  EXPECT_EQ(log_.DamagedCopyPath(), path_ + ".damaged_1");
  log_.Close();
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log"), kHeader);
}

TEST_F(TrafficLogTest, TheReaderRefusesWhatTheWriterWouldRepairAndChangesNothing) {
  const std::string versionOne = std::string("NTSL\x01\0\0\0", 8) + std::string(16, '\0');
  folder_.WriteAll("qxrsum_v2.log", versionOne);
  EXPECT_FALSE(Open(log_, LogRole::kDesktopReader));
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log"), versionOne);
  folder_.WriteAll("qxrsum_v2.log", "");
  EXPECT_FALSE(Open(log_, LogRole::kDesktopReader));
  EXPECT_FALSE(log_.IsOpen());
}

TEST_F(TrafficLogTest, APathThatCannotBeCreatedFailsEveryRoleAndLeavesNoLogOpen) {
  path_ = folder_.Path("no such folder") + std::string(1, kPathSeparator) + "qxrsum_v2.log";
  for (LogRole role : {LogRole::kDesktopWriter, LogRole::kServiceWriter, LogRole::kDesktopReader}) {
    EXPECT_FALSE(Open(log_, role));
    EXPECT_FALSE(log_.IsOpen());
  }
  AdapterList rows = Rows();
  EXPECT_FALSE(log_.WriteToday(rows, Day(2026, 12, 8)));
}

TEST_F(TrafficLogTest, OneWriterAtATimeWhileReadersReadAlong) {
  ASSERT_TRUE(Open(log_, LogRole::kServiceWriter));
  TrafficLog second(folder_.Files());
  EXPECT_FALSE(Open(second, LogRole::kDesktopWriter));
  TrafficLog reader(folder_.Files());
  ASSERT_TRUE(Open(reader, LogRole::kDesktopReader));

  AdapterList rows = Rows();
  rows.back().todayIn = 42;
  ASSERT_TRUE(log_.WriteToday(rows, Day(2026, 12, 8)));
  AdapterList seen = Rows();
  reader.LoadToday(seen, Day(2026, 12, 8));
  EXPECT_EQ(seen.back().todayIn, 42u);
  EXPECT_FALSE(reader.WriteToday(seen, Day(2026, 12, 8)));
  reader.ClearLog(seen);  // the reader only forgets its totals
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log").size(), 24u + 3 * 296);
}

class StubbornService : public ServiceManager {
 public:
  ServiceState QueryState(const std::string&) override { return state; }
  bool Stop(const std::string&) override {
    ++stops;
    if (releases) holder.reset();
    return true;
  }
  ServiceState state = ServiceState::kRunning;
  bool releases = true;
  int stops = 0;
  std::unique_ptr<File> holder;
};

TEST_F(TrafficLogTest, TheDesktopStopsAServiceThatHoldsTheLog) {
  StubbornService service;
  service.holder = folder_.Files().Open(path_, FileMode::kWriter);
  LogOpenOptions options;
  options.serviceManager = &service;
  EXPECT_TRUE(log_.Open(path_, options));
  EXPECT_EQ(service.stops, 1);
  log_.Close();

  service.holder = folder_.Files().Open(path_, FileMode::kWriter);
  service.releases = false;
  service.stops = 0;
  options.maxServiceStops = 3;
  EXPECT_FALSE(log_.Open(path_, options));
  EXPECT_EQ(service.stops, 3);

  service.state = ServiceState::kStopped;
  service.stops = 0;
  EXPECT_FALSE(log_.Open(path_, options));
  EXPECT_EQ(service.stops, 0);
}

TEST_F(TrafficLogTest, SumsAnAdaptersPastDaysInRange) {
  folder_.WriteAll(
      "qxrsum_v2.log",
      kHeader + Record(2026, 11, 30, 1, 300, "{NIC}", 1, 2) + Record(2026, 12, 1, 2, 300, "{NIC}", 10, 20) +
          Record(2026, 12, 1, 2, 300, "{OTHER}", 1000, 1000) + Record(2026, 12, 1, 2, 100, "", 500, 500) +
          Record(2026, 12, 7, 1, 300, "{NIC}", 100, 200) + Record(2026, 12, 8, 2, 300, "{NIC}", 7777, 7777));
  ASSERT_TRUE(Open(log_));
  const LogDate first{2026, 12, 1}, today{2026, 12, 8};
  EXPECT_EQ(log_.SumRange(300, "{NIC}", first, today, today, SumDirection::kReceived), 110u);
  EXPECT_EQ(log_.SumRange(300, "{NIC}", first, today, today, SumDirection::kSent), 220u);
  EXPECT_EQ(log_.SumRange(300, "{NIC}", first, today, today, SumDirection::kBoth), 330u);
  EXPECT_EQ(log_.SumRange(100, "ignored", first, today, today, SumDirection::kBoth), 1000u);
  EXPECT_EQ(log_.SumRange(300, "{NIC}", today, today, today, SumDirection::kBoth), 0u);
}

TEST_F(TrafficLogTest, ClearingLeavesTheHeaderAndResetsTheDay) {
  ASSERT_TRUE(Open(log_));
  AdapterList rows = Rows();
  rows.back().todayIn = 5;
  ASSERT_TRUE(log_.WriteToday(rows, Day(2026, 12, 8)));
  log_.ClearLog(rows);
  EXPECT_EQ(rows.back().todayIn, 0u);
  EXPECT_EQ(rows.back().dayRecordOffset, -1);
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log"), kHeader);
}

TEST_F(TrafficLogTest, MigratesOldRecordsOfInterfacesThatStillExist) {
  const auto old = [](std::int32_t kind, const std::string& address, std::uint64_t received, std::uint64_t sent) {
    std::string bytes = Record(2007, 3, 4, 0, kind, "", 0, 0).substr(0, 16) + address;
    bytes.resize(24, '\0');
    for (int i = 0; i < 8; ++i) bytes += char((received >> (8 * i)) & 0xFF);
    for (int i = 0; i < 8; ++i) bytes += char((sent >> (8 * i)) & 0xFF);
    return bytes;
  };
  testing::FakeInterfaceSource source;
  source.Add("{LIVE-ADAPTER}", 5);  // hardware address 00 1A 2B 3C 4D 05
  folder_.WriteAll("qxrsum.log", old(100, "", 11, 12) + old(300, std::string("\x00\x1A\x2B\x3C\x4D\x05", 6), 21, 22) +
                                     old(300, std::string("\x00\x1A\x2B\x3C\x4D\x09", 6), 31, 32) + "tail");
  LogOpenOptions options;
  options.migrationSource = &source;
  ASSERT_TRUE(log_.Open(path_, options));
  log_.Close();
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log"),
            kHeader + Record(2007, 3, 4, 0, 100, "", 11, 12) + Record(2007, 3, 4, 0, 300, "{LIVE-ADAPTER}", 21, 22));

  std::remove(path_.c_str());
  options.customPath = true;  // a log the user chose is never filled from the old one
  ASSERT_TRUE(log_.Open(path_, options));
  log_.Close();
  EXPECT_EQ(folder_.ReadAll("qxrsum_v2.log"), kHeader);
}

}  // namespace
}  // namespace veltrano
