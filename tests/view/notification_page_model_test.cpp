#include "view/notification_page_model.h"

#include <gtest/gtest.h>

#include "fakes/test_folder.h"

namespace veltrano {
namespace {

AdapterList Adapters() {
  AdapterList rows(3);
  auto it = rows.begin();
  it->kind = kAllConnections, it->displayName = "All Connections";
  (++it)->kind = kDialUpConnections, it->displayName = "Dial-Up Connections";
  (++it)->kind = kInterfaceAdapter, it->id = "{B2}", it->displayName = "LAN";
  return rows;
}

TEST(NotificationPageFields, PreselectTheRuleAdapterAndRoundTripIntoTheRule) {
  const AdapterList rows = Adapters();
  NotificationRule rule;
  rule.adapterKind = kInterfaceAdapter;
  rule.adapterId = "{B2}";
  rule.amount = "2147483647";
  rule.unit = 4, rule.transferType = 2, rule.periodKind = 2, rule.days = 0, rule.beepPreset = 12;
  NotificationPageFields fields = FieldsOfRule(rule, rows);
  EXPECT_EQ(fields.adapterIndex, 2);
  EXPECT_EQ(fields.days, 1);
  EXPECT_EQ(fields.beepPresetIndex, -1);  // out of the list: the page asks for one

  rule.adapterId = "{GONE}";
  EXPECT_EQ(RuleAdapterIndex(rule, rows), 0);
  EXPECT_EQ(RuleAdapterIndex(rule, {}), -1);

  fields.adapterIndex = 1;
  fields.beepPresetIndex = 4;
  fields.days = 30;
  NotificationRule stored;
  StoreFieldsInRule(fields, rows, stored);
  EXPECT_EQ(stored.version, 3u);
  EXPECT_EQ(stored.adapterKind, kDialUpConnections);
  EXPECT_EQ(stored.adapterId, "");
  EXPECT_EQ(stored.amount, "2147483647");
  EXPECT_EQ(stored.unit, 4u);
  EXPECT_EQ(stored.days, 30);
  EXPECT_EQ(stored.beepPreset, 4u);
}

TEST(SoundTest, PlaysOnlyAnAvailableWavFile) {
  testing::TestFolder folder;
  folder.WriteAll("ring.WAV", "RIFF");
  folder.WriteAll("ring.mp3", "ID3");
  EXPECT_EQ(CheckSoundTest(folder.Path("ring.WAV"), folder.Files()), "");
  EXPECT_EQ(CheckSoundTest(folder.Path("ring.mp3"), folder.Files()),
            "File '" + folder.Path("ring.mp3") + "' isn't available or isn't a WAV file.");
  EXPECT_NE(CheckSoundTest(folder.Path("gone.wav"), folder.Files()), "");
}

}  // namespace
}  // namespace veltrano
