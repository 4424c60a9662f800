// One entry of the service's report list, stored as a 796-byte "Report%d" value.
#pragma once

#include <cstdint>
#include <string>

#include "core/adapter_kind.h"
#include "core/byte_codec.h"

namespace veltrano {

enum ReportType : std::int32_t {
  kSummaryReport = 0,
  kDailyReport = 1,
  kWeeklyReport = 2,
  kMonthlyReport = 3,
};

struct ScheduledReport {
  static constexpr size_t kSize = 796;

  std::int32_t reportType = kSummaryReport;  // any other value runs as a summary
  std::int32_t adapterKind = kAllConnections;
  AdapterId adapterId;        // 8-bit text; empty for kinds 100 and 200
  std::int32_t interval = 0;  // seconds
  std::int32_t countdown = 0;  // seconds until the next run
  std::string filePath;       // stored as UTF-16, at most 259 code units

  bool operator==(const ScheduledReport& other) const;
};

Bytes EncodeScheduledReport(const ScheduledReport& report);
// Reads a zero-padded copy of the first 796 bytes.
ScheduledReport DecodeScheduledReport(const Bytes& bytes);

}  // namespace veltrano
