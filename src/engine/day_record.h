// The traffic log's on-disk layout: a 24-byte header ("NTSL", version 2) and 296-byte day
// records, little-endian; and the 40-byte records of the previous format, read for migration.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/local_time.h"

namespace veltrano {

constexpr size_t kLogHeaderSize = 24;
constexpr size_t kDayRecordSize = 296;
constexpr size_t kOldRecordSize = 40;
constexpr std::uint32_t kLogVersion = 2;

// A calendar day as the records store it.
struct LogDate {
  int year = 0;
  int month = 0;
  int day = 0;

  static LogDate Of(const LocalTime& time) { return {time.year, time.month, time.day}; }
  bool operator==(const LogDate& other) const { return year == other.year && month == other.month && day == other.day; }
  bool operator!=(const LogDate& other) const { return !(*this == other); }
  bool operator<(const LogDate& other) const {
    if (year != other.year) return year < other.year;
    if (month != other.month) return month < other.month;
    return day < other.day;
  }
  bool operator<=(const LogDate& other) const { return !(other < *this); }
};

// One day record as read; `id` points into the reader's buffer and lives as long as the visit.
struct DayRecord {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t day = 0;
  std::uint16_t dayOfWeek = 0;
  std::int32_t kind = 0;
  std::string_view id;
  std::uint64_t received = 0;
  std::uint64_t sent = 0;

  LogDate Date() const { return {year, month, day}; }
};

void EncodeLogHeader(std::uint8_t* header);
bool IsValidLogHeader(const std::uint8_t* header, size_t length);

void EncodeDayRecord(std::uint8_t* record, const LocalTime& date, std::int32_t kind, const std::string& id,
                     std::uint64_t received, std::uint64_t sent);
// `record` must hold kDayRecordSize bytes.
DayRecord DecodeDayRecord(const std::uint8_t* record);

}  // namespace veltrano
