#include <gtest/gtest.h>

#include "view/adapters_page_model.h"
#include "view/general_page_model.h"
#include "view/graph_text_page_model.h"
#include "view/number_field.h"

namespace veltrano {
namespace {

TEST(NumberField, RefusesLettersBlanksAndHugeNumbers) {
  std::int64_t value = 7;
  EXPECT_TRUE(ParseWholeNumber(" -12 ", value));
  EXPECT_EQ(value, -12);
  for (const char* text : {"", "  ", "-", "12a", "1 2", "0x10", "99999999999999999999"})
    EXPECT_FALSE(ParseWholeNumber(text, value)) << text;
  EXPECT_TRUE(ParseNumberInRange("2147483647", 0, 2147483647, value));
  EXPECT_FALSE(ParseNumberInRange("2147483648", 0, 2147483647, value));
}

GeneralPageFields GeneralFields() {
  GeneralPageFields fields;
  fields.transparencyIndex = 0;
  fields.margins = "2";
  fields.hotkeyIndex = 1;
  fields.monthStartIndex = 0;
  fields.weekStartIndex = 0;
  fields.dateFormatIndex = 0;
  return fields;
}

TEST(GeneralPage, ListsSelectTheStoredValueOrTheirFallback) {
  EXPECT_EQ(TransparencyItemText(0), "90% visible");
  EXPECT_EQ(TransparencyItemText(16), "10% visible");
  EXPECT_EQ(TransparencyIndexFor(90), 16);
  EXPECT_EQ(TransparencyIndexFor(12), 1);  // the second item: 85% visible
  EXPECT_EQ(TransparencyPercentAt(1), 15u);
  EXPECT_EQ(DateFormatIndexFor(68), 5);
  EXPECT_EQ(DateFormatIndexFor(999), 0);
}

TEST(GeneralPage, ChecksInOrderAndFocusesTheOffendingControl) {
  Options result;
  GeneralPageFields fields = GeneralFields();
  fields.values.displayGraph = fields.values.displayText = 0;
  fields.margins = "-1";
  fields.transparencyIndex = -1;
  auto check = ReadGeneralPage(fields, result);
  EXPECT_EQ(check.message, "You must select a transparency percent value.");
  EXPECT_EQ(check.focus, GeneralControl::kTransparency);

  fields.transparencyIndex = 3;
  check = ReadGeneralPage(fields, result);
  EXPECT_EQ(check.message, "The margins for rate view must be greater than or equal to 0.");
  EXPECT_EQ(check.focus, GeneralControl::kMargins);
  fields.margins = "abc";
  EXPECT_EQ(ReadGeneralPage(fields, result).focus, GeneralControl::kMargins);
  fields.margins = "1001";
  EXPECT_EQ(ReadGeneralPage(fields, result).focus, GeneralControl::kMargins);

  fields.margins = "0";
  check = ReadGeneralPage(fields, result);
  EXPECT_EQ(check.message, "At least either graph or text should be displayed.");
  EXPECT_EQ(check.focus, GeneralControl::kGraph);
  EXPECT_EQ(result.rateViewMargins, Options().rateViewMargins);  // nothing taken from a refused page

  fields.values.displayText = 1;
  ASSERT_TRUE(ReadGeneralPage(fields, result).Accepted());
  EXPECT_EQ(result.rateViewMargins, 0u);
  EXPECT_EQ(result.transparentPercent, 25u);
}

TEST(GeneralPage, UnselectedListsReadAsTheirDefaults) {
  GeneralPageFields fields = GeneralFields();
  fields.layeredWindows = false;
  fields.transparencyIndex = -1;  // no transparency list without layered windows
  fields.hotkeyIndex = fields.dateFormatIndex = fields.weekStartIndex = fields.monthStartIndex = -1;
  Options result;
  ASSERT_TRUE(ReadGeneralPage(fields, result).Accepted());
  EXPECT_EQ(result.hotkeyChar, 66u);
  EXPECT_EQ(result.dateFormat, 17u);
  EXPECT_EQ(result.weekStartDay, 0u);
  EXPECT_EQ(result.monthStartDay, 1u);
  fields.hotkeyIndex = 25, fields.monthStartIndex = 30, fields.weekStartIndex = 6, fields.dateFormatIndex = 6;
  ASSERT_TRUE(ReadGeneralPage(fields, result).Accepted());
  EXPECT_EQ(result.hotkeyChar, static_cast<std::uint32_t>('Z'));
  EXPECT_EQ(result.monthStartDay, 31u);
  EXPECT_EQ(result.weekStartDay, 6u);
  EXPECT_EQ(result.dateFormat, 85u);
}

TEST(GeneralApply, OnlyTheHotkeyLetterChangedReregistersIt) {
  const Options current;
  Options page = current;
  page.hotkeyChar = 'Q';
  GeneralApplyPlan plan = PlanGeneralApply(current, page, true, false);
  EXPECT_EQ(plan.hotkey, HotkeyAction::kReregister);
  EXPECT_EQ(plan.next.hotkeyChar, static_cast<std::uint32_t>('Q'));
  EXPECT_FALSE(plan.retitlePanes);
  EXPECT_FALSE(plan.restackPanes);
  EXPECT_EQ(plan.runValue, RunValueAction::kNone);

  Options disabled = current;
  disabled.hotkeyEnabled = 0;
  Options stillDisabled = disabled;
  stillDisabled.hotkeyChar = 'Q';
  plan = PlanGeneralApply(disabled, stillDisabled, true, false);
  EXPECT_EQ(plan.hotkey, HotkeyAction::kNone);
  EXPECT_EQ(plan.next.hotkeyChar, 0x42u);  // a letter changed while disabled is not stored

  Options enabling = stillDisabled;
  enabling.hotkeyEnabled = 1;
  plan = PlanGeneralApply(disabled, enabling, true, false);
  EXPECT_EQ(plan.hotkey, HotkeyAction::kRegister);
  EXPECT_EQ(plan.next.hotkeyChar, static_cast<std::uint32_t>('Q'));
  EXPECT_EQ(PlanGeneralApply(current, disabled, true, false).hotkey, HotkeyAction::kUnregister);
}

TEST(GeneralApply, TouchesTheRunValueOnlyWhenItDisagrees) {
  Options current;
  Options page = current;
  page.startWithWindows = 1;
  EXPECT_EQ(PlanGeneralApply(current, page, true, false).runValue, RunValueAction::kCreate);
  EXPECT_EQ(PlanGeneralApply(current, page, true, true).runValue, RunValueAction::kNone);
  page.startWithWindows = 0;
  EXPECT_EQ(PlanGeneralApply(current, page, true, true).runValue, RunValueAction::kDelete);
  EXPECT_EQ(PlanGeneralApply(current, page, true, false).runValue, RunValueAction::kNone);
}

TEST(GeneralApply, RecomputesUsageOnlyForTheRulesPeriodStart) {
  Options current;
  current.notificationEnabled = 1;
  current.notificationRule.periodKind = 1;  // month
  Options page = current;
  page.weekStartDay = 3;
  EXPECT_FALSE(PlanGeneralApply(current, page, true, false).recomputeUsage);
  page.monthStartDay = 15;
  const GeneralApplyPlan plan = PlanGeneralApply(current, page, true, false);
  EXPECT_TRUE(plan.recomputeUsage);
  EXPECT_EQ(plan.next.monthStartDay, 15u);
  EXPECT_EQ(plan.next.weekStartDay, 3u);
  current.notificationEnabled = 0;
  EXPECT_FALSE(PlanGeneralApply(current, page, true, false).recomputeUsage);
}

TEST(GeneralApply, WindowLookMarginsAndTitles) {
  Options current;
  Options page = current;
  page.showIpInTitle = 0;
  page.alwaysOnTop = 0;
  page.rateViewMargins = 8;
  page.semiTransparent = 0;
  page.transparentPercent = 40;
  page.displayGraph = 0;
  GeneralApplyPlan plan = PlanGeneralApply(current, page, true, false);
  EXPECT_TRUE(plan.retitlePanes);
  EXPECT_TRUE(plan.applyAlwaysOnTop);
  EXPECT_FALSE(plan.applyShowCaption);
  EXPECT_TRUE(plan.restackPanes);
  EXPECT_TRUE(plan.applyWindowStyle);
  EXPECT_EQ(plan.windowStylePercent, 0u);  // not semi-transparent: opaque
  EXPECT_EQ(plan.next.transparentPercent, 40u);
  EXPECT_EQ(plan.next.displayGraph, 0u);

  plan = PlanGeneralApply(current, page, false, false);  // no layered windows on this system
  EXPECT_FALSE(plan.applyWindowStyle);
  EXPECT_EQ(plan.next.semiTransparent, current.semiTransparent);
  EXPECT_EQ(plan.next.transparentPercent, current.transparentPercent);
}

GraphTextPageFields GraphFields() {
  GraphTextPageFields fields;
  fields.heightPercent = "95";
  fields.pulseWidth = "3";
  fields.pulseSpace = "1";
  fields.timeGridInterval = "30";
  return fields;
}

TEST(GraphTextPage, ChecksTheTypedNumbers) {
  Options result;
  GraphTextPageFields fields = GraphFields();
  struct Case {
    std::string GraphTextPageFields::*field;
    const char* text;
    GraphTextControl focus;
    const char* message;
  };
  const Case cases[] = {
      {&GraphTextPageFields::heightPercent, "49", GraphTextControl::kHeightPercent,
       "The maximum graph rate height percent ranges from 50 to 100."},
      {&GraphTextPageFields::heightPercent, "x", GraphTextControl::kHeightPercent,
       "The maximum graph rate height percent ranges from 50 to 100."},
      {&GraphTextPageFields::pulseWidth, "0", GraphTextControl::kPulseWidth, "The pulse width must be greater than 0."},
      {&GraphTextPageFields::pulseWidth, "-4", GraphTextControl::kPulseWidth,
       "The pulse width must be greater than 0."},
      {&GraphTextPageFields::pulseWidth, "wide", GraphTextControl::kPulseWidth, nullptr},
      {&GraphTextPageFields::pulseSpace, "-1", GraphTextControl::kPulseSpace,
       "The pulse space must be greater than or equal to 0."},
      {&GraphTextPageFields::pulseSpace, "1001", GraphTextControl::kPulseSpace, nullptr},
      {&GraphTextPageFields::timeGridInterval, "0", GraphTextControl::kTimeGridInterval,
       "The time grid interval must be greater than 0."},
      {&GraphTextPageFields::timeGridInterval, "10001", GraphTextControl::kTimeGridInterval, nullptr},
  };
  for (const Case& c : cases) {
    GraphTextPageFields bad = fields;
    bad.*c.field = c.text;
    const auto check = ReadGraphTextPage(bad, result);
    EXPECT_EQ(check.focus, c.focus) << c.text;
    if (c.message) {
      EXPECT_EQ(check.message, c.message) << c.text;
    }
    EXPECT_FALSE(check.message.empty()) << c.text;
  }
  fields.pulseSpace = "0";
  ASSERT_TRUE(ReadGraphTextPage(fields, result).Accepted());
  EXPECT_EQ(result.pulseSpace, 0u);
  EXPECT_EQ(result.pulseWidth, 3u);
}

TEST(GraphTextPage, ListsAndDefaults) {
  Options result;
  GraphTextPageFields fields = GraphFields();
  fields.graphStyleIndex = 1, fields.scaleGridStyleIndex = 4, fields.timeGridStyleIndex = 1, fields.timeFormatIndex = 2;
  ASSERT_TRUE(ReadGraphTextPage(fields, result).Accepted());
  EXPECT_EQ(result.graphStyle, 0u);
  EXPECT_EQ(result.scaleGridLineStyle, 4u);
  EXPECT_EQ(result.timeGridLineStyle, 0u);
  EXPECT_EQ(result.timeFormat, 2u);
  EXPECT_EQ(ListIndexFor(kGridStyleItems, 5, 7), 0);

  Options options;
  options.downColor = 0x123456;
  options.timeTextColor = 0;
  ResetColours(options);
  EXPECT_EQ(options.downColor, 0x0000FFu);
  EXPECT_EQ(options.timeTextColor, 0x3C3C3Cu);
  ResetFonts(options);
  EXPECT_EQ(options.scaleFont.height, 13);  // unlike the start-up default of 12
  EXPECT_EQ(options.timeTextFont.weight, 0);
  EXPECT_EQ(options.titleFont.weight, 700);
  LogFont picked = options.rateFont;
  picked.height = -15;
  EXPECT_EQ(FontFromPicker(picked).height, 15);
}

TEST(GraphTextApply, ChangesOnlyWhatThePageEdits) {
  Options current;
  Options page = current;
  page.gridColor = 1, page.pulseWidth = 9, page.rateFont.faceName = "Arial";
  page.alwaysOnTop = 0, page.downColor = 2;
  const Options next = ApplyGraphTextPage(current, page);
  EXPECT_EQ(next.gridColor, 1u);
  EXPECT_EQ(next.downColor, 2u);
  EXPECT_EQ(next.pulseWidth, 9u);
  EXPECT_EQ(next.rateFont.faceName, "Arial");
  EXPECT_EQ(next.alwaysOnTop, 1u);
}

AdapterList Table() {
  AdapterList table(3);
  auto row = table.begin();
  row->kind = kAllConnections, row->displayName = "All Connections", row->monitored = true;
  ++row;
  row->kind = kDialUpConnections, row->displayName = "Dial-Up Connections";
  ++row;
  row->id = "{NIC}", row->displayName = "eth0 renamed", row->description = "Fast NIC", row->ipAddress = "10.0.0.2";
  return table;
}

TEST(AdaptersPage, ConnectionPresetsAndTheirScale) {
  EXPECT_EQ(ConnectionTypeIndexFor(100000000), 14);
  EXPECT_EQ(ConnectionTypeIndexFor(0), 0);
  EXPECT_EQ(ConnectionTypeIndexFor(1234), kSpecifySpeedIndex);
  EXPECT_STREQ(kConnectionTypes[kSpecifySpeedIndex].text, "Specify Speed");
  EXPECT_EQ(ScaleForConnectionRate(100000000), 12500000u);
}

TEST(AdaptersPage, SortsByHeadingAndRenumbers) {
  std::vector<AdapterPageRow> rows = AdapterPageRows(Table());
  ListSortState sort;
  sort.Click(kAdapterNameColumn);
  SortAdapterPageRows(rows, sort);
  EXPECT_EQ(rows[0].name, "All Connections");
  EXPECT_EQ(rows[2].name, "eth0 renamed");
  sort.Click(kAdapterNameColumn);  // the same heading again reverses
  SortAdapterPageRows(rows, sort);
  EXPECT_EQ(rows[0].name, "eth0 renamed");
  EXPECT_EQ(rows[0].number, 1);
  EXPECT_EQ(rows[0].tableIndex, 2u);
  sort.Click(kAdapterNumberColumn);
  SortAdapterPageRows(rows, sort);
  EXPECT_EQ(rows[0].name, "eth0 renamed");  // "No." sorts the numbers as they now stand
  EXPECT_TRUE(sort.ascending);
}

TEST(AdaptersPage, ResetRestoresSystemNames) {
  const std::vector<AdapterPageRow> rows = ResetAdapterPageRows(Table());
  EXPECT_EQ(rows[2].name, "Fast NIC");
  EXPECT_EQ(rows[0].name, "All Connections");  // no description: the name stays
}

TEST(AdaptersPage, ChecksTrayNamesSpeedAndMonitoredRows) {
  AdaptersPageFields fields;
  fields.rows = AdapterPageRows(Table());
  fields.trayIndex = -1;
  Options tray;
  auto check = ReadAdaptersPage(fields, tray);
  EXPECT_EQ(check.message, "Please select an adapter for system tray.");
  EXPECT_EQ(check.focus, AdaptersControl::kTrayAdapter);

  fields.trayIcon = false;  // without the icon no tray adapter is needed
  fields.rows[2].name.clear();
  check = ReadAdaptersPage(fields, tray);
  EXPECT_EQ(check.message, "The adapter name must not be empty.");
  EXPECT_EQ(check.focus, AdaptersControl::kList);
  fields.rows[2].name.assign(300, 'n');
  EXPECT_EQ(ReadAdaptersPage(fields, tray).focus, AdaptersControl::kName);
  fields.rows[2].name = "eth0";

  fields.customSpeedShown = true;
  fields.customSpeed = "2147483648";
  EXPECT_EQ(ReadAdaptersPage(fields, tray).focus, AdaptersControl::kCustomSpeed);
  fields.customSpeed = "fast";
  EXPECT_EQ(ReadAdaptersPage(fields, tray).focus, AdaptersControl::kCustomSpeed);
  fields.customSpeed = "2147483647";

  fields.rows[0].monitored = false;  // the only monitored row unchecked
  check = ReadAdaptersPage(fields, tray);
  EXPECT_EQ(check.message, "At least one adapter should be monitored.");
  EXPECT_EQ(tray.dispIconSystray, 1u);  // nothing taken from a refused page

  fields.rows[2].monitored = true;
  fields.trayIcon = true;
  fields.trayIndex = 2;
  ASSERT_TRUE(ReadAdaptersPage(fields, tray).Accepted());
  EXPECT_EQ(tray.stIfType, 300u);
  EXPECT_EQ(tray.stAdpId, "{NIC}");
  fields.trayIndex = 1;
  ASSERT_TRUE(ReadAdaptersPage(fields, tray).Accepted());
  EXPECT_EQ(tray.stIfType, 200u);
  EXPECT_EQ(tray.stAdpId, "");
}

TEST(AdaptersApply, RescalesKeptPanesAndBatchesShowAndHide) {
  AdapterList table = Table();
  std::vector<AdapterPageRow> rows = AdapterPageRows(table);
  rows[0].connRateBps = 100000000;
  rows[1].monitored = true;
  rows[2].name = "uplink";
  Options current, tray;
  AdaptersApplyPlan plan = ApplyAdaptersPage(table, rows, current, tray);
  EXPECT_EQ(plan.rescale, std::vector<size_t>{0});
  EXPECT_EQ(plan.show, std::vector<size_t>{1});
  EXPECT_TRUE(plan.hide.empty());
  EXPECT_EQ(table.front().connRateBps, 100000000u);
  EXPECT_EQ(table.back().displayName, "uplink");
  EXPECT_FALSE(plan.deleteTrayIcon);

  rows = AdapterPageRows(table);
  rows[0].monitored = false;
  rows[0].connRateBps = 0;  // "Auto Scale" again
  tray.dispIconSystray = 0;
  plan = ApplyAdaptersPage(table, rows, current, tray);
  EXPECT_EQ(plan.hide, std::vector<size_t>{0});
  EXPECT_EQ(plan.rescale, std::vector<size_t>{1});
  EXPECT_EQ(table.front().connRateBps, 0u);
  EXPECT_TRUE(plan.deleteTrayIcon);
  EXPECT_EQ(current.dispIconSystray, 0u);
  // Switching it back on does not delete anything.
  tray.dispIconSystray = 1;
  EXPECT_FALSE(ApplyAdaptersPage(table, rows, current, tray).deleteTrayIcon);
}

}  // namespace
}  // namespace veltrano
