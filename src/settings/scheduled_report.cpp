// Codec of the 796-byte report list entry.
#include "settings/scheduled_report.h"

namespace veltrano {
namespace {

constexpr size_t kType = 0, kKind = 4, kId = 8, kIdSize = 260, kInterval = 268, kCountdown = 272, kPath = 276,
                 kPathSize = 520;
static_assert(kId + kIdSize == kInterval, "the id field is 260 bytes");
static_assert(kPath + kPathSize == ScheduledReport::kSize, "a report entry is 796 bytes");

}  // namespace

bool ScheduledReport::operator==(const ScheduledReport& other) const {
  return EncodeScheduledReport(*this) == EncodeScheduledReport(other);
}

Bytes EncodeScheduledReport(const ScheduledReport& report) {
  Bytes bytes(ScheduledReport::kSize, 0);
  PutI32(bytes, kType, report.reportType);
  PutI32(bytes, kKind, report.adapterKind);
  PutCharField(bytes, kId, kIdSize, report.adapterId);
  PutI32(bytes, kInterval, report.interval);
  PutI32(bytes, kCountdown, report.countdown);
  PutWideField(bytes, kPath, kPathSize, report.filePath);
  return bytes;
}

ScheduledReport DecodeScheduledReport(const Bytes& bytes) {
  ScheduledReport report;
  report.reportType = GetI32(bytes, kType);
  report.adapterKind = GetI32(bytes, kKind);
  report.adapterId = GetCharField(bytes, kId, kIdSize);
  report.interval = GetI32(bytes, kInterval);
  report.countdown = GetI32(bytes, kCountdown);
  report.filePath = GetWideField(bytes, kPath, kPathSize);
  return report;
}

}  // namespace veltrano
