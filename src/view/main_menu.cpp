// Popup menu logic of the main window.
#include "view/main_menu.h"

#include "view/main_menu_ids.h"

namespace veltrano {
namespace {

const char* const kGraphOrText = "At least either graph or text should be displayed.";

struct Toggle {
  int id;
  std::uint32_t Options::*setting;
  SaveTrigger trigger;
  ToggleEffect effect;
  bool needsLayered;
};

const Toggle kToggles[] = {
    {ID_TITLE, &Options::displayTitle, SaveTrigger::kDisplaySwitchToggled, ToggleEffect::kPaneSettings, false},
    {ID_IP_ADDRESS, &Options::showIpInTitle, SaveTrigger::kUnitOrIpTitleToggled, ToggleEffect::kRetitle, false},
    {ID_GRAPH, &Options::displayGraph, SaveTrigger::kDisplaySwitchToggled, ToggleEffect::kPaneSettings, false},
    {ID_COLUMN_GRAPH, &Options::graphStyle, SaveTrigger::kGraphStyleToggled, ToggleEffect::kPaneSettings, false},
    {ID_LINE_GRAPH, &Options::graphStyle, SaveTrigger::kGraphStyleToggled, ToggleEffect::kPaneSettings, false},
    {ID_SCALE, &Options::displayScale, SaveTrigger::kDisplaySwitchToggled, ToggleEffect::kPaneSettings, false},
    {ID_SCALE_GRID, &Options::displayScaleGrid, SaveTrigger::kDisplaySwitchToggled, ToggleEffect::kPaneSettings, false},
    {ID_TIME_TEXT, &Options::displayTimeText, SaveTrigger::kDisplaySwitchToggled, ToggleEffect::kPaneSettings, false},
    {ID_TIME_GRID, &Options::displayTimeGrid, SaveTrigger::kDisplaySwitchToggled, ToggleEffect::kPaneSettings, false},
    {ID_AVG_DOWN_LINE, &Options::dispAvgDownLine, SaveTrigger::kDisplaySwitchToggled, ToggleEffect::kPaneSettings,
     false},
    {ID_AVG_UP_LINE, &Options::dispAvgUpLine, SaveTrigger::kDisplaySwitchToggled, ToggleEffect::kPaneSettings, false},
    {ID_TEXT, &Options::displayText, SaveTrigger::kDisplaySwitchToggled, ToggleEffect::kPaneSettings, false},
    {ID_MAX_RATE, &Options::displayMaxRateInText, SaveTrigger::kDisplaySwitchToggled, ToggleEffect::kPaneSettings,
     false},
    {ID_AVERAGE_SPEEDS, &Options::dispAvgValuesInText, SaveTrigger::kDisplaySwitchToggled, ToggleEffect::kPaneSettings,
     false},
    {ID_UNIT_BYTES, &Options::displayUnitByte, SaveTrigger::kUnitOrIpTitleToggled, ToggleEffect::kUnit, false},
    {ID_UNIT_BITS, &Options::displayUnitByte, SaveTrigger::kUnitOrIpTitleToggled, ToggleEffect::kUnit, false},
    {ID_ALWAYS_ON_TOP, &Options::alwaysOnTop, SaveTrigger::kWindowLookToggled, ToggleEffect::kTopmost, false},
    {ID_CAPTION, &Options::showCaption, SaveTrigger::kWindowLookToggled, ToggleEffect::kCaption, false},
    {ID_CLICK_THROUGH, &Options::enableClickThrough, SaveTrigger::kWindowLookToggled, ToggleEffect::kWindowStyle, true},
    {ID_SEMI_TRANSPARENT, &Options::semiTransparent, SaveTrigger::kWindowLookToggled, ToggleEffect::kWindowStyle, true},
};

const Toggle* FindToggle(int id) {
  for (const auto& toggle : kToggles) {
    if (toggle.id == id) return &toggle;
  }
  return nullptr;
}

}  // namespace

ToggleResult ApplyToggleCommand(Options& options, int commandId, bool layeredWindows) {
  ToggleResult result;
  const Toggle* toggle = FindToggle(commandId);
  if (!toggle) return result;
  result.known = true;
  result.trigger = toggle->trigger;
  result.effect = toggle->effect;
  if (toggle->needsLayered && !layeredWindows) return result;
  std::uint32_t& value = options.*(toggle->setting);
  const bool switchingOff = value != 0;
  if (switchingOff &&
      ((commandId == ID_GRAPH && !options.displayText) || (commandId == ID_TEXT && !options.displayGraph))) {
    result.refusal = kGraphOrText;
    return result;
  }
  // Both items of a radio pair switch to the other value.
  value = switchingOff ? 0 : 1;
  result.changed = true;
  return result;
}

std::vector<MenuItemState> ToggleMenuStates(const Options& options, bool layeredWindows) {
  std::vector<MenuItemState> states;
  for (const auto& toggle : kToggles) {
    MenuItemState state;
    state.id = toggle.id;
    const bool on = options.*(toggle.setting) != 0;
    switch (toggle.id) {
      case ID_COLUMN_GRAPH:
      case ID_UNIT_BYTES:
        state.radio = true;
        state.checked = on;
        break;
      case ID_LINE_GRAPH:
      case ID_UNIT_BITS:
        state.radio = true;
        state.checked = !on;
        break;
      default:
        state.checked = on;
    }
    if (toggle.needsLayered && !layeredWindows) {
      state.enabled = false;
      state.checked = false;
    }
    states.push_back(state);
  }
  return states;
}

const std::vector<int>& DialogCommandIds() {
  static const std::vector<int> ids = {ID_OPTIONS,         ID_TRAFFIC_REPORTS, ID_STOPWATCH, ID_RATES_RECORDER,
                                       ID_TCP_CONNECTIONS, ID_ABOUT,           ID_EXIT};
  return ids;
}

bool IsAdaptersCommand(int commandId) {
  return commandId >= ID_ADAPTERS_FIRST && commandId < ID_ADAPTERS_FIRST + ID_MENU_ROWS;
}

bool IsResetRatesCommand(int commandId) {
  return commandId >= ID_RESET_RATES_FIRST && commandId < ID_RESET_RATES_FIRST + ID_MENU_ROWS;
}

bool HasMenuItems(std::int32_t adaptersMenuId) {
  return IsAdaptersCommand(adaptersMenuId);
}

PaneToggle DecidePaneToggle(bool rowHasPane, int shownPanes) {
  if (!rowHasPane) return PaneToggle::kShow;
  return shownPanes >= 2 ? PaneToggle::kHide : PaneToggle::kRefuse;
}

std::uint32_t HotkeyLetter(std::uint32_t hotkeyChar) {
  return hotkeyChar >= 'A' && hotkeyChar <= 'Z' ? hotkeyChar : 'B';
}

MenuPoint PopupMenuPoint(int cursorX, int cursorY, int clientLeft, int clientTop, int clientRight, int clientBottom,
                         bool fromKey) {
  const bool inside = cursorX >= clientLeft && cursorX < clientRight && cursorY >= clientTop && cursorY < clientBottom;
  if (inside) return {true, cursorX, cursorY};
  if (!fromKey) return {};
  return {true, clientLeft + (clientRight - clientLeft) / 2, clientTop + (clientBottom - clientTop) / 2};
}

}  // namespace veltrano
