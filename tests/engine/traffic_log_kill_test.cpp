// A writer process killed at random moments, again and again, never leaves a log that loses its
// header or holds a record that does not parse; each restart continues from the last write.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "engine/traffic_log.h"
#include "fakes/test_folder.h"

namespace veltrano {
namespace {

LocalTime Today() {
  LocalTime today;
  today.year = 2026, today.month = 12, today.day = 8, today.dayOfWeek = 2;
  return today;
}

AdapterList RowsWithInterfaces(int interfaces) {
  AdapterList rows(2);
  rows.front().kind = kAllConnections;
  rows.back().kind = kDialUpConnections;
  for (int i = 0; i < interfaces; ++i) {
    rows.emplace_back();
    rows.back().id = "{ROW" + std::to_string(i) + "}";
  }
  return rows;
}

// The child: continues today's totals and writes them as fast as it can, adding rows as it goes.
[[noreturn]] void RunWriter(FileSystem& files, const std::string& path) {
  TrafficLog log(files);
  LogOpenOptions options;
  options.role = LogRole::kServiceWriter;
  if (!log.Open(path, options)) _exit(3);
  AdapterList rows = RowsWithInterfaces(1);
  log.LoadToday(rows, Today());
  for (int write = 0;; ++write) {
    for (auto& row : rows) row.todayIn += 1, row.todayOut += 2;
    if (write % 7 == 0 && rows.size() < 40)
      rows.emplace_back(), rows.back().id = "{ROW" + std::to_string(rows.size() - 2) + "}";
    log.WriteToday(rows, Today());
  }
}

TEST(TrafficLogUnderKill, EveryRestartFindsAValidLogAndContinuesTheDay) {
  testing::TestFolder folder;
  const std::string path = folder.Path("qxrsum_v2.log");
  std::mt19937 random(42);
  std::uint64_t lastTotal = 0;
  for (int round = 0; round < 10; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) RunWriter(folder.Files(), path);
    // A loaded machine may take longer than the whole kill delay to start the writer: the delay
    // counts from its first records.
    for (int wait = 0; wait < 500 && folder.ReadAll("qxrsum_v2.log").size() < 24 + 3 * 296; ++wait) usleep(10000);
    usleep(5000 + random() % 40000);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself: " << status;

    TrafficLog log(folder.Files());
    LogOpenOptions options;
    options.role = LogRole::kDesktopReader;
    ASSERT_TRUE(log.Open(path, options)) << "round " << round << ": header lost";
    int records = 0;
    log.ForEachRecord([&](const DayRecord& record, std::uint64_t) {
      ++records;
      EXPECT_EQ(record.Date(), LogDate::Of(Today()));
      EXPECT_TRUE(record.kind == 100 || record.kind == 200 || (record.kind == 300 && record.id.substr(0, 4) == "{ROW"));
      EXPECT_EQ(record.sent, 2 * record.received);
    });
    EXPECT_GE(records, 3);
    AdapterList rows = RowsWithInterfaces(1);
    log.LoadToday(rows, Today());
    EXPECT_GE(rows.front().todayIn, lastTotal) << "round " << round << ": the day went backwards";
    lastTotal = rows.front().todayIn;
  }
  EXPECT_GT(lastTotal, 0u);
}

}  // namespace
}  // namespace veltrano
