// The log the benchmarks read: ten years of twenty adapters, one record per adapter and day in
// date order (about 73,000 records, 20.9 MB), and the physical reference of reading it raw.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/day_record.h"
#include "platform/posix/posix_file_system.h"

namespace veltrano {

constexpr int kBenchDays = 3653;
constexpr int kBenchAdapters = 20;

inline std::string BenchInterfaceId(int adapter) {
  return "{00000000-0000-0000-0000-0000000000" + std::to_string(10 + adapter) + "}";
}

// Writes the log at `path` once per process.
inline void EnsureBenchLog(const char* path) {
  static bool built = false;
  if (built) return;
  std::remove(path);
  PosixFileSystem files;
  auto file = files.Open(path, FileMode::kWriter);
  std::vector<std::uint8_t> bytes(kLogHeaderSize);
  EncodeLogHeader(bytes.data());
  std::uint8_t record[kDayRecordSize];
  const std::int64_t firstDay = DaysFromCivil(2016, 1, 1);
  for (int day = 0; day < kBenchDays; ++day) {
    const CivilDate civil = CivilFromDays(firstDay + day);
    LocalTime date;
    date.year = civil.year, date.month = civil.month, date.day = civil.day;
    date.dayOfWeek = DayOfWeekFromDays(firstDay + day);
    for (int adapter = 0; adapter < kBenchAdapters; ++adapter) {
      EncodeDayRecord(record, date, adapter < 2 ? 100 * (adapter + 1) : 300,
                      adapter < 2 ? "" : BenchInterfaceId(adapter), 1000u * day, 77u * adapter);
      bytes.insert(bytes.end(), record, record + kDayRecordSize);
    }
  }
  file->WriteAt(0, bytes.data(), bytes.size());
  built = true;
}

// A raw sequential read of the whole file in 1 MiB blocks, from the page cache once it was read.
inline std::uint64_t ReadWholeFile(const char* path) {
  static std::vector<char> block(1 << 20);
  const int fd = open(path, O_RDONLY);
  std::uint64_t total = 0;
  for (ssize_t n; (n = read(fd, block.data(), block.size())) > 0;) total += static_cast<std::uint64_t>(n);
  close(fd);
  return total;
}

}  // namespace veltrano
