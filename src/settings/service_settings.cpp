// Load and save of the "Service" key and its report list.
#include "settings/service_settings.h"

#include "settings/registry_values.h"

namespace veltrano {
namespace {

const std::string kServiceKey = SettingsKey("Service");
const std::string kReportsKey = SettingsKey("Service\\Reports");

// The reader's buffers: a longer name or value ends the enumeration.
constexpr size_t kReportNameChars = 31;

void LoadReports(RegistryHive& hive, ProgramRole role, std::vector<ScheduledReport>& reports) {
  reports.clear();
  std::vector<NamedRegValue> values;
  if (!hive.EnumerateValues(kReportsKey, values)) return;
  for (const auto& value : values) {
    if (value.name.size() > kReportNameChars || value.value.data.size() > ScheduledReport::kSize) break;
    if (value.value.type != kRegBinary) continue;
    ScheduledReport report = DecodeScheduledReport(value.value.data);
    if (role == ProgramRole::kService) {
      if (report.interval <= 0) report.interval = 1;
      report.countdown = report.interval;
    }
    reports.push_back(report);
  }
}

}  // namespace

void LoadServiceSettings(RegistryHive& hive, ProgramRole role, ServiceSettings& settings) {
  ReadDword(hive, kServiceKey, "ServiceEnabled", settings.serviceEnabled);
  Bytes options;
  if (ReadBinary(hive, kServiceKey, "ServiceOptions", ServiceOptions::kSize, options))
    settings.options = DecodeServiceOptions(options);
  LoadReports(hive, role, settings.reports);
}

void SaveServiceSettings(RegistryHive& hive, const ServiceSettings& settings) {
  if (!hive.CreateKey(kServiceKey)) return;
  WriteDword(hive, kServiceKey, "ServiceEnabled", settings.serviceEnabled);
  ServiceOptions options = settings.options;
  options.marker = 1;
  WriteBinary(hive, kServiceKey, "ServiceOptions", EncodeServiceOptions(options));
  hive.DeleteKeyTree(kReportsKey);
  if (settings.reports.empty() || !hive.CreateKey(kReportsKey)) return;
  for (size_t i = 0; i < settings.reports.size(); ++i)
    WriteBinary(hive, kReportsKey, "Report" + std::to_string(i + 1), EncodeScheduledReport(settings.reports[i]));
}

}  // namespace veltrano
