// The "Service" key: the enable switch, the service options and the scheduled report list.
#pragma once

#include <cstdint>
#include <vector>

#include "core/adapter_kind.h"
#include "platform/registry_hive.h"
#include "settings/binary_records.h"
#include "settings/scheduled_report.h"

namespace veltrano {

struct ServiceSettings {
  std::uint32_t serviceEnabled = 0;
  ServiceOptions options;
  std::vector<ScheduledReport> reports;
};

// The service also makes every interval at least 1 and starts each countdown at its interval.
void LoadServiceSettings(RegistryHive& hive, ProgramRole role, ServiceSettings& settings);
// Stamps the options marker, then rewrites the report list from scratch ("Report1", ...).
void SaveServiceSettings(RegistryHive& hive, const ServiceSettings& settings);

}  // namespace veltrano
