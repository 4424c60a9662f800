// The popup menu's toggles, refusals, check marks, per-row ids, hot key letter and placement.
#include "view/main_menu.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "view/main_menu_ids.h"

namespace veltrano {
namespace {

MenuItemState StateOf(const Options& options, int id, bool layered = true) {
  const auto states = ToggleMenuStates(options, layered);
  const auto it = std::find_if(states.begin(), states.end(), [&](const MenuItemState& s) { return s.id == id; });
  EXPECT_NE(it, states.end());
  return it == states.end() ? MenuItemState{} : *it;
}

TEST(ViewToggles, EachCommandFlipsItsSettingAndNamesItsSave) {
  Options options = DefaultOptions();
  ToggleResult result = ApplyToggleCommand(options, ID_TITLE, true);
  EXPECT_TRUE(result.known && result.changed);
  EXPECT_EQ(options.displayTitle, 0u);
  EXPECT_EQ(result.trigger, SaveTrigger::kDisplaySwitchToggled);
  EXPECT_FALSE(StateOf(options, ID_TITLE).checked);
  ApplyToggleCommand(options, ID_TITLE, true);
  EXPECT_EQ(options.displayTitle, 1u);

  result = ApplyToggleCommand(options, ID_IP_ADDRESS, true);
  EXPECT_EQ(result.trigger, SaveTrigger::kUnitOrIpTitleToggled) << "mirrored to the machine";
  EXPECT_EQ(result.effect, ToggleEffect::kRetitle);
  EXPECT_EQ(options.showIpInTitle, 0u);

  result = ApplyToggleCommand(options, ID_ALWAYS_ON_TOP, true);
  EXPECT_EQ(result.trigger, SaveTrigger::kWindowLookToggled);
  EXPECT_EQ(result.effect, ToggleEffect::kTopmost);
  EXPECT_EQ(options.alwaysOnTop, 0u);

  EXPECT_FALSE(ApplyToggleCommand(options, ID_EXIT, true).known);
  EXPECT_FALSE(ApplyToggleCommand(options, 9000, true).known);
}

TEST(ViewToggles, TheDefaultsAreCheckedAsStored) {
  const Options options = DefaultOptions();
  for (int id : {ID_TITLE, ID_IP_ADDRESS, ID_GRAPH, ID_COLUMN_GRAPH, ID_SCALE, ID_SCALE_GRID, ID_TIME_TEXT,
                 ID_TIME_GRID, ID_TEXT, ID_MAX_RATE, ID_UNIT_BITS, ID_ALWAYS_ON_TOP, ID_CAPTION, ID_SEMI_TRANSPARENT}) {
    EXPECT_TRUE(StateOf(options, id).checked) << id;
  }
  for (int id : {ID_LINE_GRAPH, ID_AVG_DOWN_LINE, ID_AVG_UP_LINE, ID_AVERAGE_SPEEDS, ID_UNIT_BYTES, ID_CLICK_THROUGH}) {
    EXPECT_FALSE(StateOf(options, id).checked) << id;
  }
}

TEST(ViewToggles, RadioPairsSwitchToTheOtherValueFromEitherItem) {
  Options options = DefaultOptions();
  ASSERT_EQ(options.graphStyle, 1u);
  EXPECT_TRUE(StateOf(options, ID_COLUMN_GRAPH).checked);
  EXPECT_FALSE(StateOf(options, ID_LINE_GRAPH).checked);
  EXPECT_TRUE(StateOf(options, ID_LINE_GRAPH).radio);
  EXPECT_EQ(ApplyToggleCommand(options, ID_LINE_GRAPH, true).trigger, SaveTrigger::kGraphStyleToggled);
  EXPECT_EQ(options.graphStyle, 0u);
  EXPECT_TRUE(StateOf(options, ID_LINE_GRAPH).checked);
  ApplyToggleCommand(options, ID_LINE_GRAPH, true);
  EXPECT_EQ(options.graphStyle, 1u);

  EXPECT_TRUE(StateOf(options, ID_UNIT_BITS).checked);
  EXPECT_EQ(ApplyToggleCommand(options, ID_UNIT_BYTES, true).effect, ToggleEffect::kUnit);
  EXPECT_EQ(options.displayUnitByte, 1u);
  EXPECT_TRUE(StateOf(options, ID_UNIT_BYTES).checked);
}

TEST(ViewToggles, GraphAndTextCannotBothBeOff) {
  Options options = DefaultOptions();
  ApplyToggleCommand(options, ID_TEXT, true);
  ASSERT_EQ(options.displayText, 0u);
  const ToggleResult refused = ApplyToggleCommand(options, ID_GRAPH, true);
  EXPECT_TRUE(refused.known);
  EXPECT_FALSE(refused.changed);
  EXPECT_EQ(refused.refusal, "At least either graph or text should be displayed.");
  EXPECT_EQ(options.displayGraph, 1u);
  EXPECT_TRUE(StateOf(options, ID_GRAPH).checked);

  EXPECT_TRUE(ApplyToggleCommand(options, ID_TEXT, true).changed) << "switching one on is always allowed";
  EXPECT_TRUE(ApplyToggleCommand(options, ID_GRAPH, true).changed);
  EXPECT_FALSE(ApplyToggleCommand(options, ID_TEXT, true).changed);
}

TEST(ViewToggles, LayeredWindowOptionsNeedThePlatform) {
  Options options = DefaultOptions();
  const ToggleResult result = ApplyToggleCommand(options, ID_SEMI_TRANSPARENT, false);
  EXPECT_TRUE(result.known);
  EXPECT_FALSE(result.changed);
  EXPECT_EQ(options.semiTransparent, 1u);
  EXPECT_FALSE(StateOf(options, ID_SEMI_TRANSPARENT, false).enabled);
  EXPECT_FALSE(StateOf(options, ID_SEMI_TRANSPARENT, false).checked);
  EXPECT_TRUE(StateOf(options, ID_SEMI_TRANSPARENT, true).checked);

  EXPECT_TRUE(ApplyToggleCommand(options, ID_CLICK_THROUGH, true).changed);
  EXPECT_EQ(options.enableClickThrough, 1u);
}

TEST(MenuIds, PerRowCommandsCoverThreeHundredRowsEach) {
  EXPECT_TRUE(IsAdaptersCommand(9000));
  EXPECT_TRUE(IsAdaptersCommand(9299));
  EXPECT_FALSE(IsAdaptersCommand(9300));
  EXPECT_TRUE(IsResetRatesCommand(9300));
  EXPECT_TRUE(IsResetRatesCommand(9599));
  EXPECT_FALSE(IsResetRatesCommand(9600));
  EXPECT_FALSE(IsResetRatesCommand(ID_RESET_ALL_RATES));
  EXPECT_TRUE(HasMenuItems(9299));
  EXPECT_FALSE(HasMenuItems(9300)) << "the 301st row would take a Reset Rates id";
}

TEST(PaneToggleDecision, ShowsHidesOrRefusesTheOnlyPane) {
  EXPECT_EQ(DecidePaneToggle(false, 1), PaneToggle::kShow);
  EXPECT_EQ(DecidePaneToggle(true, 2), PaneToggle::kHide);
  EXPECT_EQ(DecidePaneToggle(true, 1), PaneToggle::kRefuse);
}

TEST(HotkeyLetter, OnlyLettersAToZElseB) {
  EXPECT_EQ(HotkeyLetter('A'), 'A');
  EXPECT_EQ(HotkeyLetter('Z'), 'Z');
  EXPECT_EQ(HotkeyLetter('a'), 'B');
  EXPECT_EQ(HotkeyLetter(0), 'B');
  EXPECT_EQ(HotkeyLetter(0x70), 'B') << "F1 is no letter";
}

TEST(PopupMenuPlacement, AtTheCursorInsideElseTheCentreForTheKeyOnly) {
  MenuPoint point = PopupMenuPoint(150, 120, 100, 100, 300, 200, false);
  EXPECT_TRUE(point.open);
  EXPECT_EQ(point.x, 150);
  EXPECT_FALSE(PopupMenuPoint(50, 120, 100, 100, 300, 200, false).open);
  point = PopupMenuPoint(50, 120, 100, 100, 300, 200, true);
  EXPECT_TRUE(point.open);
  EXPECT_EQ(point.x, 200);
  EXPECT_EQ(point.y, 150);
}

}  // namespace
}  // namespace veltrano
