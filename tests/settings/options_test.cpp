#include "settings/options.h"

#include <gtest/gtest.h>

#include "fakes/registry_planting.h"
#include "fakes/test_hive.h"
#include "settings/registry_values.h"

namespace veltrano {
namespace {

using testing::Plant;
using testing::PlantDword;
using testing::PlantString;

const std::string kOptions = "Software\\Veltrano\\Options";

class OptionsTest : public ::testing::Test {
 protected:
  Options LoadDesktop() {
    Options options = DefaultOptions();
    LoadDesktopOptions(hive_, options);
    return options;
  }
  testing::TestHive hives_;
  RegistryHive& hive_ = hives_.Hive();
};

TEST_F(OptionsTest, AnEmptyRegistryGivesTheDefaults) {
  const Options options = LoadDesktop();
  EXPECT_EQ(options.monthStartDay, 1u);
  EXPECT_EQ(options.transparentPercent, 10u);
  EXPECT_EQ(options.hotkeyChar, 0x42u);
  EXPECT_EQ(options.dateFormat, 17u);
  EXPECT_EQ(options.graphBkgColor, 0xDEDBADu);
  EXPECT_EQ(options.timeTextFont.faceName, "Tahoma");
  EXPECT_EQ(options.timeTextFont.weight, 700);
  EXPECT_EQ(options.rateFont.height, 13);
  EXPECT_EQ(options.stIfType, 100u);
  EXPECT_EQ(options.sumLastDays, 30u);
  EXPECT_EQ(options.nextAlertMin, 5u);
  EXPECT_EQ(options.notificationRule.days, 1);
  EXPECT_EQ(options.wndPosition, WndPosition{});
  EXPECT_FALSE(hive_.KeyExists(kOptions));  // reading creates nothing
}

TEST_F(OptionsTest, ReadRulesBringStoredValuesIntoRange) {
  struct Case {
    const char* name;
    std::uint32_t stored;
    std::uint32_t Options::*field;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {"WeekStartDay", 7, &Options::weekStartDay, 0},
      {"WeekStartDay", 6, &Options::weekStartDay, 6},
      {"MonthStartDay", 0, &Options::monthStartDay, 1},
      {"MonthStartDay", 32, &Options::monthStartDay, 1},
      {"MonthStartDay", 31, &Options::monthStartDay, 31},
      {"TransparentPercent", 5, &Options::transparentPercent, 10},
      {"TransparentPercent", 95, &Options::transparentPercent, 90},
      {"TransparentPercent", 0xFFFFFFFF, &Options::transparentPercent, 10},
      {"NextAlertMin", 0, &Options::nextAlertMin, 1},
      {"NextAlertType", 2, &Options::nextAlertType, 0},
      {"RateViewMargins", 0xFFFFFFFF, &Options::rateViewMargins, 2},
      {"RateViewMargins", 0, &Options::rateViewMargins, 0},
      // A pane steps its grid and labels by these: zero or negative steps would never end.
      {"PulseWidth", 0, &Options::pulseWidth, 3},
      {"PulseWidth", 0xFFFFFFFF, &Options::pulseWidth, 3},
      {"PulseWidth", 1, &Options::pulseWidth, 1},
      {"PulseSpace", 0xFFFFFFFF, &Options::pulseSpace, 0},
      {"PulseSpace", 0, &Options::pulseSpace, 0},
      {"TimeGridIntervalSec", 0, &Options::timeGridIntervalSec, 30},
      {"TimeGridIntervalSec", 0x80000000, &Options::timeGridIntervalSec, 30},
      {"TimeGridIntervalSec", 1, &Options::timeGridIntervalSec, 1},
      {"ScaleGridLineStyle", 5, &Options::scaleGridLineStyle, 2},
      {"ScaleGridLineStyle", 0xFFFFFFFF, &Options::scaleGridLineStyle, 2},
      {"ScaleGridLineStyle", 4, &Options::scaleGridLineStyle, 4},
      {"TimeGridLineStyle", 5, &Options::timeGridLineStyle, 2},
      {"TimeGridLineStyle", 0, &Options::timeGridLineStyle, 0},
  };
  for (const auto& c : cases) {
    PlantDword(hive_, kOptions, c.name, c.stored);
    EXPECT_EQ(LoadDesktop().*c.field, c.expected) << c.name << " stored as " << c.stored;
  }
}

TEST_F(OptionsTest, TextAndGraphCannotBothBeOff) {
  PlantDword(hive_, kOptions, "DisplayText", 0);
  PlantDword(hive_, kOptions, "DisplayGraph", 0);
  const Options options = LoadDesktop();
  EXPECT_EQ(options.displayText, 1u);
  EXPECT_EQ(options.displayGraph, 1u);
  PlantDword(hive_, kOptions, "DisplayGraph", 1);
  EXPECT_EQ(LoadDesktop().displayText, 0u);
}

TEST_F(OptionsTest, ValuesOfTheWrongTypeOrSizeKeepTheirDefaults) {
  PlantString(hive_, kOptions, "MonthStartDay", "15");
  Plant(hive_, kOptions, "DateFormat", kRegBinary, Bytes{5, 0, 0, 0});
  Plant(hive_, kOptions, "HotkeyChar", kRegDword, Bytes{0x43, 0});
  Plant(hive_, kOptions, "RateFontU", kRegBinary, Bytes(91, 1));
  Plant(hive_, kOptions, "TitleFontU", kRegBinary, Bytes(93, 1));
  Plant(hive_, kOptions, "ScaleFontU", kRegDword, Bytes(4, 1));
  Plant(hive_, kOptions, "WndPosition", kRegBinary, Bytes(15, 1));
  PlantDword(hive_, kOptions, "STAdpID", 5);
  const Options options = LoadDesktop();
  const Options defaults = DefaultOptions();
  EXPECT_EQ(options.monthStartDay, 1u);
  EXPECT_EQ(options.dateFormat, 17u);
  EXPECT_EQ(options.hotkeyChar, 0x42u);
  EXPECT_EQ(options.rateFont, defaults.rateFont);
  EXPECT_EQ(options.titleFont, defaults.titleFont);
  EXPECT_EQ(options.scaleFont, defaults.scaleFont);
  EXPECT_EQ(options.wndPosition, WndPosition{});
  EXPECT_EQ(options.stAdpId, "");
}

TEST_F(OptionsTest, TrayAdapterIdIsUpperCasedAndBounded) {
  PlantString(hive_, kOptions, "STAdpID", "{abc-def}");
  EXPECT_EQ(LoadDesktop().stAdpId, "{ABC-DEF}");
  PlantString(hive_, kOptions, "STAdpID", std::string(600, 'a'));
  EXPECT_EQ(LoadDesktop().stAdpId, std::string(259, 'A'));
  PlantString(hive_, kOptions, "STAdpID", std::string(1100, 'a'));  // beyond the 2048-byte buffer
  EXPECT_EQ(LoadDesktop().stAdpId, "");
}

TEST_F(OptionsTest, ARuleOfAnotherVersionIsRejectedAndSwitchesNotificationOff) {
  NotificationRule rule;
  rule.amount = "10";
  rule.days = 9;
  Bytes bytes = EncodeNotificationRule(rule);
  PutU32(bytes, 0, 1);
  PlantDword(hive_, kOptions, "NotificationEnabled", 1);
  Plant(hive_, kOptions, "NotificationEx2U", kRegBinary, bytes);
  Options options = LoadDesktop();
  EXPECT_EQ(options.notificationEnabled, 0u);
  EXPECT_EQ(options.notificationRule.amount, "");
  EXPECT_EQ(options.notificationRule.days, 1);

  PutU32(bytes, 0, 2);
  Plant(hive_, kOptions, "NotificationEx2U", kRegBinary, bytes);
  options = LoadDesktop();
  EXPECT_EQ(options.notificationEnabled, 1u);
  EXPECT_EQ(options.notificationRule.amount, "10");
  EXPECT_EQ(options.notificationRule.days, 9);
}

// Such an amount would fire at once or never convert; the switch goes off for this run only.
TEST_F(OptionsTest, ARuleWithANegativeOrNonFiniteAmountIsSwitchedOffInMemoryOnly) {
  for (const char* amount : {"-5", "inf", "nan"}) {
    NotificationRule rule;
    rule.version = 3;
    rule.amount = amount;
    PlantDword(hive_, kOptions, "NotificationEnabled", 1);
    Plant(hive_, kOptions, "NotificationEx2U", kRegBinary, EncodeNotificationRule(rule));
    const Options options = LoadDesktop();
    EXPECT_EQ(options.notificationEnabled, 0u) << amount;
    EXPECT_EQ(options.notificationRule.amount, amount);  // the page shows it, and refuses it
    Options service = DefaultOptions();
    LoadServiceOptions(hive_, service);
    EXPECT_EQ(service.notificationEnabled, 0u) << amount;
    std::uint32_t stored = 0;
    ASSERT_TRUE(ReadDword(hive_, kOptions, "NotificationEnabled", stored));
    EXPECT_EQ(stored, 1u);
  }
}

TEST_F(OptionsTest, ARuleOfTheWrongSizeIsRejected) {
  PlantDword(hive_, kOptions, "NotificationEnabled", 1);
  Bytes bytes = EncodeNotificationRule(NotificationRule{});
  bytes.resize(1000);
  Plant(hive_, kOptions, "NotificationEx2U", kRegBinary, bytes);
  EXPECT_EQ(LoadDesktop().notificationEnabled, 0u);
}

TEST_F(OptionsTest, TheDayCountIsAtLeastOne) {
  NotificationRule rule;
  rule.days = -4;
  Plant(hive_, kOptions, "NotificationEx2U", kRegBinary, EncodeNotificationRule(rule));
  EXPECT_EQ(LoadDesktop().notificationRule.days, 1);
}

TEST_F(OptionsTest, SavingWritesExactlyTheGroupsAsked) {
  Options options = DefaultOptions();
  options.weekStartDay = 1;
  SaveOptions(hive_, options, 0);
  EXPECT_FALSE(hive_.KeyExists(kOptions));

  SaveOptions(hive_, options, kGroupGeneral | kGroupSummaryDays);
  std::vector<NamedRegValue> values;
  ASSERT_TRUE(hive_.EnumerateValues(kOptions, values));
  EXPECT_EQ(values.size(), 16u);  // fifteen general values and SumLastDays
  for (const auto& value : values) EXPECT_EQ(value.value.type, kRegDword) << value.name;
  EXPECT_EQ(testing::Stored(hive_, kOptions, "WeekStartDay").data, (Bytes{1, 0, 0, 0}));
  EXPECT_FALSE(hive_.QueryValue(kOptions, "DisplayTitle", values[0].value));
}

TEST_F(OptionsTest, EverySavedValueReadsBackUnchanged) {
  Options options = DefaultOptions();
  options.weekStartDay = 3;
  options.monthStartDay = 25;
  options.displayUnitByte = 1;
  options.dispAvgUpLine = 1;
  options.pulseWidth = 5;
  options.upColor = 0x123456;
  options.rateFont.faceName = "Courier New";
  options.rateFont.height = -11;
  options.stAdpId = "{ID}";
  options.stIfType = 300;
  options.notificationEnabled = 1;
  options.notificationRule.amount = "2.5";
  options.notificationRule.days = 12;
  options.nextAlertType = 1;
  options.nextAlertMin = 15;
  options.sumLastDays = 60;
  options.wndPosition = {-10, 20, 400, 300};
  options.stopwatchAlwaysOnTop = 1;
  SaveOptions(hive_, options, 0xFFFFFFFF & ~kGroupInstance);
  Options loaded = LoadDesktop();
  loaded.notificationRule.version = 0;
  EXPECT_EQ(EncodeNotificationRule(loaded.notificationRule), EncodeNotificationRule(options.notificationRule));
  EXPECT_EQ(loaded.rateFont, options.rateFont);
  EXPECT_EQ(loaded.wndPosition, options.wndPosition);
  EXPECT_EQ(loaded.stAdpId, "{ID}");
  for (auto field : {&Options::weekStartDay, &Options::monthStartDay, &Options::displayUnitByte, &Options::dispAvgUpLine,
                     &Options::pulseWidth, &Options::upColor, &Options::stIfType, &Options::notificationEnabled,
                     &Options::nextAlertType, &Options::nextAlertMin, &Options::sumLastDays,
                     &Options::stopwatchAlwaysOnTop})
    EXPECT_EQ(loaded.*field, options.*field);
}

TEST_F(OptionsTest, TheServiceReadsOnlyItsOwnValues) {
  RegistryHive& machine = hives_.OtherHive();
  for (const char* name : {"WeekStartDay", "DateFormat", "SumLastDays", "ShowIPInTitle", "DisplayUnitByte"})
    PlantDword(machine, kOptions, name, 4);
  PlantDword(machine, kOptions, "MonthStartDay", 40);
  PlantDword(machine, kOptions, "RateViewMargins", 7);
  PlantDword(machine, kOptions, "PulseWidth", 9);
  Options options = DefaultOptions();
  LoadServiceOptions(machine, options);
  EXPECT_EQ(options.weekStartDay, 4u);
  EXPECT_EQ(options.dateFormat, 4u);
  EXPECT_EQ(options.sumLastDays, 4u);
  EXPECT_EQ(options.showIpInTitle, 4u);
  EXPECT_EQ(options.displayUnitByte, 4u);
  EXPECT_EQ(options.monthStartDay, 1u);
  EXPECT_EQ(options.rateViewMargins, 2u);
  EXPECT_EQ(options.pulseWidth, 3u);
}

}  // namespace
}  // namespace veltrano
