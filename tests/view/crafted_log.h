// A traffic log written record by record for tests of the report windows.
#pragma once

#include <cstdint>
#include <string>

#include "engine/day_record.h"
#include "engine/traffic_log.h"
#include "fakes/test_folder.h"

namespace veltrano::testing {

inline int DayOfWeekOf(const LogDate& date) {
  return DayOfWeekFromDays(DaysFromCivil(date.year, date.month, date.day));
}

class CraftedLog {
 public:
  CraftedLog() {
    std::uint8_t header[kLogHeaderSize];
    EncodeLogHeader(header);
    bytes_.assign(reinterpret_cast<const char*>(header), kLogHeaderSize);
  }

  void Add(const LogDate& date, std::uint64_t received, std::uint64_t sent, std::int32_t kind = kAllConnections,
           const std::string& id = std::string()) {
    LocalTime time;
    time.year = date.year, time.month = date.month, time.day = date.day, time.dayOfWeek = DayOfWeekOf(date);
    std::uint8_t record[kDayRecordSize];
    EncodeDayRecord(record, time, kind, id, received, sent);
    bytes_.append(reinterpret_cast<const char*>(record), kDayRecordSize);
  }

  // Writes the file and opens it, by default as the desktop's reader.
  TrafficLog& Open(LogRole role = LogRole::kDesktopReader) {
    log_.Close();
    folder_.WriteAll("qxrsum_v2.log", bytes_);
    LogOpenOptions options;
    options.role = role;
    options.customPath = true;
    log_.Open(Path(), options);
    return log_;
  }

  std::string Path() const { return folder_.Path("qxrsum_v2.log"); }
  TestFolder& Folder() { return folder_; }
  TrafficLog& Log() { return log_; }

 private:
  TestFolder folder_;
  TrafficLog log_{folder_.Files()};
  std::string bytes_;
};

}  // namespace veltrano::testing
