#include "settings/service_settings.h"

#include <gtest/gtest.h>

#include "fakes/registry_planting.h"
#include "fakes/test_hive.h"

namespace veltrano {
namespace {

const std::string kService = "Software\\Veltrano\\Service";
const std::string kReports = "Software\\Veltrano\\Service\\Reports";

ScheduledReport Report(std::int32_t type, std::int32_t interval, const std::string& path) {
  ScheduledReport report;
  report.reportType = type;
  report.interval = interval;
  report.countdown = 5;
  report.filePath = path;
  return report;
}

class ServiceSettingsTest : public ::testing::Test {
 protected:
  testing::TestHive hives_;
  RegistryHive& hive_ = hives_.Hive();
};

TEST_F(ServiceSettingsTest, SavingRewritesTheReportListFromScratch) {
  ServiceSettings settings;
  settings.serviceEnabled = 1;
  settings.options.notifyInService = 1;
  settings.reports = {Report(1, 60, "a.txt"), Report(2, 0, "b.csv"), Report(3, 7, "c.html")};
  SaveServiceSettings(hive_, settings);
  std::vector<NamedRegValue> values;
  ASSERT_TRUE(hive_.EnumerateValues(kReports, values));
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[0].name, "Report1");
  EXPECT_EQ(values[2].name, "Report3");
  for (const auto& value : values) {
    EXPECT_EQ(value.value.type, kRegBinary);
    EXPECT_EQ(value.value.data.size(), 796u);
  }
  EXPECT_EQ(testing::Stored(hive_, kService, "ServiceOptions").data, (Bytes{1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));

  settings.reports.pop_back();
  SaveServiceSettings(hive_, settings);
  ASSERT_TRUE(hive_.EnumerateValues(kReports, values));
  EXPECT_EQ(values.size(), 2u);

  settings.reports.clear();
  SaveServiceSettings(hive_, settings);
  EXPECT_FALSE(hive_.KeyExists(kReports));
}

TEST_F(ServiceSettingsTest, TheDesktopKeepsStoredCountdownsAndTheServiceRestartsThem) {
  ServiceSettings settings;
  settings.reports = {Report(1, 60, "a.txt"), Report(0, 0, "b.txt"), Report(0, -3, "c.txt")};
  SaveServiceSettings(hive_, settings);

  ServiceSettings desktop;
  LoadServiceSettings(hive_, ProgramRole::kDesktop, desktop);
  ASSERT_EQ(desktop.reports.size(), 3u);
  EXPECT_EQ(desktop.reports, settings.reports);

  ServiceSettings service;
  LoadServiceSettings(hive_, ProgramRole::kService, service);
  ASSERT_EQ(service.reports.size(), 3u);
  EXPECT_EQ(service.reports[0].countdown, 60);
  EXPECT_EQ(service.reports[1].interval, 1);
  EXPECT_EQ(service.reports[1].countdown, 1);
  EXPECT_EQ(service.reports[2].interval, 1);
}

TEST_F(ServiceSettingsTest, ReportEntriesAreTakenInOrderUntilTheFirstUnreadableOne) {
  const Bytes entry = EncodeScheduledReport(Report(2, 10, "x.txt"));
  testing::Plant(hive_, kReports, "A_ok", kRegBinary, entry);
  testing::Plant(hive_, kReports, "B_short", kRegBinary, Bytes{1, 0, 0, 0, 0x2C, 1, 0, 0});
  testing::Plant(hive_, kReports, "C_text", kRegSz, EncodeUtf16Bytes("not a report"));
  testing::Plant(hive_, kReports, "D_long", kRegBinary, Bytes(797, 0));
  testing::Plant(hive_, kReports, "E_after", kRegBinary, entry);
  ServiceSettings settings;
  LoadServiceSettings(hive_, ProgramRole::kDesktop, settings);
  ASSERT_EQ(settings.reports.size(), 2u);
  EXPECT_EQ(settings.reports[0].filePath, "x.txt");
  EXPECT_EQ(settings.reports[1].reportType, 1);  // a short entry reads zero-padded
  EXPECT_EQ(settings.reports[1].adapterKind, 300);
  EXPECT_EQ(settings.reports[1].filePath, "");
}

TEST_F(ServiceSettingsTest, AReportNameLongerThanThirtyOneCharactersEndsTheList) {
  const Bytes entry = EncodeScheduledReport(Report(2, 10, "x.txt"));
  testing::Plant(hive_, kReports, "Report1", kRegBinary, entry);
  testing::Plant(hive_, kReports, "Report2" + std::string(25, 'x'), kRegBinary, entry);
  testing::Plant(hive_, kReports, "Report3", kRegBinary, entry);
  ServiceSettings settings;
  LoadServiceSettings(hive_, ProgramRole::kService, settings);
  EXPECT_EQ(settings.reports.size(), 1u);
}

TEST_F(ServiceSettingsTest, MalformedServiceValuesKeepTheirDefaults) {
  testing::PlantString(hive_, kService, "ServiceEnabled", "1");
  testing::Plant(hive_, kService, "ServiceOptions", kRegBinary, Bytes{1, 0, 0, 0, 1, 0, 0, 0});
  ServiceSettings settings;
  LoadServiceSettings(hive_, ProgramRole::kService, settings);
  EXPECT_EQ(settings.serviceEnabled, 0u);
  EXPECT_EQ(settings.options, ServiceOptions{});
}

}  // namespace
}  // namespace veltrano
