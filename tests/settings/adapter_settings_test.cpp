#include "settings/adapter_settings.h"

#include <gtest/gtest.h>

#include "fakes/registry_planting.h"
#include "fakes/test_hive.h"

namespace veltrano {
namespace {

using testing::PlantDword;
using testing::PlantString;

const std::string kAdapters = "Software\\Veltrano\\AdaptersEx";

class AdapterSettingsTest : public ::testing::Test {
 protected:
  void PlantAdapter(const std::string& subkey, const std::string& id, const std::string& name = "") {
    PlantString(hive_, kAdapters + "\\" + subkey, "AdapterID", id);
    if (!name.empty()) PlantString(hive_, kAdapters + "\\" + subkey, "AdapterName", name);
  }
  testing::TestHive hives_;
  RegistryHive& hive_ = hives_.Hive();
};

TEST_F(AdapterSettingsTest, SkipsSubkeysOfUnknownKindOrWithoutId) {
  PlantAdapter("400-X", "X");
  PlantAdapter("Junk", "Y");
  PlantString(hive_, kAdapters + "\\300-NOID", "AdapterName", "No id");
  PlantAdapter("300-{a}", "{a}", "Office LAN");
  PlantAdapter("100-", "");
  const auto entries = ReadAdapterSubkeys(hive_, ProgramRole::kDesktop);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].kind, kAllConnections);
  EXPECT_EQ(entries[0].displayName, "All Connections");
  EXPECT_EQ(entries[1].kind, kInterfaceAdapter);
  EXPECT_EQ(entries[1].id, "{A}");
  EXPECT_EQ(entries[1].displayName, "Office LAN");
}

TEST_F(AdapterSettingsTest, TheServiceReadsRecordingValuesOnlyOfRecordingAdapters) {
  const std::string quiet = kAdapters + "\\300-Q", recording = kAdapters + "\\300-R";
  for (const auto& key : {quiet, recording}) {
    PlantString(hive_, key, "AdapterID", key.substr(key.size() - 1));
    PlantDword(hive_, key, "RecordInterval", 30);
    PlantDword(hive_, key, "RecordNumberOnly", 1);
    PlantString(hive_, key, "RecordFile", "C:\\rates.csv");
    PlantDword(hive_, key, "Monitored", 1);
    PlantDword(hive_, key, "ConnRatebps", 1000000);
  }
  PlantDword(hive_, recording, "RecordTrafficRates", 1);

  const auto service = ReadAdapterSubkeys(hive_, ProgramRole::kService);
  ASSERT_EQ(service.size(), 2u);
  EXPECT_EQ(service[0].recordInterval, 1u);
  EXPECT_EQ(service[0].recordFile, "");
  EXPECT_TRUE(service[1].recordRates);
  EXPECT_EQ(service[1].recordInterval, 30u);
  EXPECT_EQ(service[1].recordFlags, kRecordNumberOnlyFlag);
  EXPECT_EQ(service[1].recordFile, "C:\\rates.csv");
  EXPECT_FALSE(service[1].monitored);
  EXPECT_EQ(service[1].connRateBps, 0u);

  const auto desktop = ReadAdapterSubkeys(hive_, ProgramRole::kDesktop);
  EXPECT_EQ(desktop[0].recordInterval, 30u);
  EXPECT_TRUE(desktop[0].monitored);
  EXPECT_EQ(desktop[0].connRateBps, 1000000u);
}

TEST_F(AdapterSettingsTest, SavesIdentityAndRecordingSeparately) {
  AdapterList rows(3);
  rows.front().kind = kAllConnections;
  rows.front().displayName = "All Connections";
  rows.front().monitored = true;
  auto& lan = rows.back();
  lan.id = "{LAN}";
  lan.displayName = "LAN";
  lan.size = 0.5f;
  lan.recordRates = true;
  lan.recordInterval = 10;
  lan.recordFile = "C:\\lan.txt";
  std::next(rows.begin())->kind = kDialUpConnections;

  SaveAdapters(hive_, rows, kAdapterIdentity);
  std::vector<std::string> keys;
  ASSERT_TRUE(hive_.EnumerateSubkeys(kAdapters, keys));
  EXPECT_EQ(keys, (std::vector<std::string>{"100-", "200-", "300-{LAN}"}));
  RegValue value;
  EXPECT_FALSE(hive_.QueryValue(kAdapters + "\\300-{LAN}", "Size", value));  // no pane, no size
  EXPECT_FALSE(hive_.QueryValue(kAdapters + "\\300-{LAN}", "RecordFile", value));
  EXPECT_EQ(testing::Stored(hive_, kAdapters + "\\100-", "Monitored").data, (Bytes{1, 0, 0, 0}));

  SaveAdapters(hive_, rows, kAdapterRecording);
  const auto entries = ReadAdapterSubkeys(hive_, ProgramRole::kDesktop);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_TRUE(entries[2].recordRates);
  EXPECT_EQ(entries[2].recordInterval, 10u);
  EXPECT_EQ(entries[2].recordFile, "C:\\lan.txt");
}

TEST_F(AdapterSettingsTest, WritesTheSizeOfAnAdapterWithAPane) {
  AdapterList rows(1);
  rows.front().id = "{P}";
  rows.front().size = 0.25f;
  rows.front().pane = reinterpret_cast<GraphPane*>(&rows);  // any pane will do
  SaveAdapters(hive_, rows, kAdapterIdentity);
  const RegValue size = testing::Stored(hive_, kAdapters + "\\300-{P}", "Size");
  EXPECT_EQ(size.type, kRegBinary);
  EXPECT_EQ(size.data, (Bytes{0, 0, 0x80, 0x3E}));
  EXPECT_EQ(ReadAdapterSubkeys(hive_, ProgramRole::kDesktop)[0].size, 0.25f);
}

}  // namespace
}  // namespace veltrano
