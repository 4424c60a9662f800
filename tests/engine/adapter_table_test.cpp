#include "engine/adapter_table.h"

#include <gtest/gtest.h>

#include "fakes/fake_interface_source.h"

namespace veltrano {
namespace {

using testing::FakeInterfaceSource;

AdapterEntry Stored(std::int32_t kind, const std::string& id = "", bool monitored = false) {
  AdapterEntry entry;
  entry.kind = kind;
  entry.id = id;
  entry.monitored = monitored;
  entry.displayName = kind == kInterfaceAdapter ? "Stored " + id : "Renamed";
  return entry;
}

std::vector<std::int32_t> Kinds(const AdapterTable& table) {
  std::vector<std::int32_t> kinds;
  for (const auto& row : table.Rows()) kinds.push_back(row.kind);
  return kinds;
}

TEST(AdapterId, UsesTheNameOnlyWhenItIsLongerThanTenCharacters) {
  AdapterRecord record;
  record.address = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 0x77, 0x88};
  record.addressLength = 6;
  record.name = "0123456789";
  EXPECT_EQ(DeriveAdapterId(record), "001A2B3C4D5E0000");  // bytes past the length count as zero
  record.name = "{0123456789";
  EXPECT_EQ(DeriveAdapterId(record), "{0123456789");
  record.name = "{4d36e972-e325-11ce}";
  EXPECT_EQ(DeriveAdapterId(record), "{4D36E972-E325-11CE}");
  record.name = "ppp0";
  record.addressLength = 0;
  EXPECT_EQ(DeriveAdapterId(record), "0000000000000000");
}

TEST(InterfaceNames, FallBackToTheTypeNameWhenTheDescriptionIsBlank) {
  InterfaceRow row;
  row.type = 23;
  row.description = std::string("  \t", 3);
  EXPECT_EQ(InterfaceDescription(row), "WAN");
  row.type = 28;
  EXPECT_EQ(InterfaceDescription(row), "WAN");
  row.type = 6;
  row.description = std::string("\0\0", 2);
  EXPECT_EQ(InterfaceDescription(row), "Unknown Connection");
  row.description = std::string(" Realtek PCIe GbE \0", 19);
  EXPECT_EQ(InterfaceDescription(row), "Realtek PCIe GbE");
}

TEST(AdapterTitle, ShowsTheAddressOfInterfacesOnlyWhenAsked) {
  AdapterEntry entry;
  entry.displayName = "LAN";
  entry.ipAddress = "10.0.0.2";
  EXPECT_EQ(AdapterTitle(entry, true), "LAN [10.0.0.2]");
  EXPECT_EQ(AdapterTitle(entry, false), "LAN");
  entry.ipAddress.clear();
  EXPECT_EQ(AdapterTitle(entry, true), "LAN []");
  entry.displayName.clear();
  entry.ipAddress = "10.0.0.2";
  EXPECT_EQ(AdapterTitle(entry, true), "10.0.0.2");
  entry.kind = kAllConnections;
  entry.displayName = "All Connections";
  EXPECT_EQ(AdapterTitle(entry, true), "All Connections");
}

TEST(LoadAdapterSettings, PutsTheAggregatesFirstWhateverTheStoredOrder) {
  FakeInterfaceSource source;
  AdapterTable table(source);
  table.LoadAdapterSettings({Stored(300, "{B}"), Stored(200), Stored(300, "{A}"), Stored(100)}, ProgramRole::kService);
  EXPECT_EQ(Kinds(table), (std::vector<std::int32_t>{100, 200, 300, 300}));
  EXPECT_EQ(std::next(table.Rows().begin(), 2)->id, "{B}");
  EXPECT_EQ(table.Rows().front().displayName, "Renamed");
}

TEST(LoadAdapterSettings, CreatesMissingAggregatesAndOneMonitoredPaneOnTheDesktop) {
  FakeInterfaceSource source;
  AdapterTable desktop(source);
  desktop.LoadAdapterSettings({Stored(300, "{A}"), Stored(200)}, ProgramRole::kDesktop);
  EXPECT_EQ(Kinds(desktop), (std::vector<std::int32_t>{100, 200, 300}));
  EXPECT_EQ(desktop.Rows().front().displayName, "All Connections");
  EXPECT_TRUE(desktop.Rows().front().monitored);

  AdapterTable withPane(source);
  withPane.LoadAdapterSettings({Stored(300, "{A}", true)}, ProgramRole::kDesktop);
  EXPECT_FALSE(withPane.Rows().front().monitored);
  EXPECT_EQ(std::next(withPane.Rows().begin())->displayName, "Dial-Up Connections");

  AdapterTable service(source);
  service.LoadAdapterSettings({}, ProgramRole::kService);
  EXPECT_EQ(Kinds(service), (std::vector<std::int32_t>{100, 200}));
  EXPECT_FALSE(service.Rows().front().monitored);
}

TEST(RefreshAdapters, FillsStoredRowsAndAppendsNewInterfacesWithABaseline) {
  FakeInterfaceSource source;
  source.Add("{AAAAAAAA-1}", 4, 6, 5000, 700, " Intel NIC ");
  source.Add("{BBBBBBBB-2}", 9, 23, 10, 20, "");
  AdapterTable table(source);
  table.LoadAdapterSettings({Stored(300, "{AAAAAAAA-1}")}, ProgramRole::kDesktop);
  ASSERT_EQ(table.Rows().size(), 4u);

  const AdapterEntry& stored = *std::next(table.Rows().begin(), 2);
  EXPECT_EQ(stored.displayName, "Stored {AAAAAAAA-1}");  // the user's name stays
  EXPECT_EQ(stored.description, "Intel NIC");
  EXPECT_EQ(stored.ifType, 6u);
  EXPECT_EQ(stored.ipAddress, "10.0.0.4");
  EXPECT_EQ(stored.prevInOctets, 5000u);
  EXPECT_EQ(stored.prevOutOctets, 700u);
  EXPECT_TRUE(stored.hasPrev);

  const AdapterEntry& found = table.Rows().back();
  EXPECT_EQ(found.id, "{BBBBBBBB-2}");
  EXPECT_EQ(found.displayName, "WAN");
  EXPECT_TRUE(found.hasPrev);
  EXPECT_EQ(found.prevOutOctets, 20u);
  EXPECT_EQ(found.dayRecordOffset, -1);
  EXPECT_EQ(found.recordInterval, 1u);
  EXPECT_EQ(found.adaptersMenuId, 0);  // start-up adds no menu items
}

TEST(RefreshAdapters, ChangesNothingWhenTheEnumerationFails) {
  FakeInterfaceSource source;
  source.Add("{AAAAAAAA-1}", 4, 6, 5000, 700);
  AdapterTable table(source);
  table.LoadAdapterSettings({}, ProgramRole::kService);
  source.interfaces[0].row.inOctets = 9999;
  source.failEnumeration = true;
  table.RefreshAdapters(false);
  EXPECT_EQ(table.Rows().back().prevInOctets, 5000u);
  EXPECT_EQ(table.Rows().size(), 3u);
}

TEST(RefreshAdapters, SkipsAnInterfaceWhoseRowCannotBeRead) {
  FakeInterfaceSource source;
  source.Add("{AAAAAAAA-1}", 4);
  source.Add("{BBBBBBBB-2}", 5);
  source.failingRows = {4};
  AdapterTable table(source);
  table.LoadAdapterSettings({}, ProgramRole::kService);
  ASSERT_EQ(table.Rows().size(), 3u);
  EXPECT_EQ(table.Rows().back().id, "{BBBBBBBB-2}");
}

TEST(RefreshAdapters, GivesInterfacesFoundLaterTheNextMenuIds) {
  FakeInterfaceSource source;
  source.Add("{AAAAAAAA-1}", 4);
  AdapterTable table(source);
  table.LoadAdapterSettings({}, ProgramRole::kDesktop);
  table.AssignMenuIds();
  std::vector<std::string> announced;
  table.SetOnAddedToMenus([&](AdapterEntry& row) { announced.push_back(row.id); });
  source.Add("{CCCCCCCC-3}", 7);
  table.RefreshAdapters(true);
  EXPECT_EQ(table.Rows().back().adaptersMenuId, 9003);
  EXPECT_EQ(table.Rows().back().resetMenuId, 9303);
  EXPECT_EQ(announced, std::vector<std::string>{"{CCCCCCCC-3}"});
  table.RefreshAdapters(true);  // known now: nothing is added twice
  EXPECT_EQ(table.Rows().size(), 4u);
}

TEST(FindAdapter, MatchesAggregatesByKindAndInterfacesByKindAndId) {
  FakeInterfaceSource source;
  source.Add("{AAAAAAAA-1}", 4);
  AdapterTable table(source);
  table.LoadAdapterSettings({}, ProgramRole::kService);
  EXPECT_EQ(table.FindAdapter(100, "ignored"), &table.Rows().front());
  EXPECT_EQ(table.FindAdapter(300, "{AAAAAAAA-1}"), &table.Rows().back());
  EXPECT_EQ(table.FindAdapter(300, "{aaaaaaaa-1}"), nullptr);
  EXPECT_EQ(table.FindAdapter(200, "{AAAAAAAA-1}"), &*std::next(table.Rows().begin()));
  EXPECT_EQ(table.FindAdapter(400, ""), nullptr);
}

}  // namespace
}  // namespace veltrano
