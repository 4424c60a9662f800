// The main window's popup menu as plain logic: what each View and window command toggles, which
// it refuses, how it is saved and shown (check marks, radio pairs, disabled items), the command
// ids of the per-adapter items, the hot key letter and where the menu opens.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/options.h"
#include "settings/settings_store.h"

namespace veltrano {

// What the main window must do after a toggle besides saving.
enum class ToggleEffect {
  kPaneSettings,  // apply the display settings to every pane
  kRetitle,       // retitle every pane
  kUnit,          // the panes' unit (and the tray tip at the next second)
  kTopmost,
  kCaption,
  kWindowStyle,  // transparency and click-through
};

struct ToggleResult {
  bool known = false;    // the id is one of the View or window toggles
  bool changed = false;  // false when refused or unavailable
  std::string refusal;   // the warning to show when refused
  SaveTrigger trigger = SaveTrigger::kDisplaySwitchToggled;
  ToggleEffect effect = ToggleEffect::kPaneSettings;
};

// Flips the setting behind a View or window command in options. Without layered windows the
// click-through and semi-transparency commands do nothing.
ToggleResult ApplyToggleCommand(Options& options, int commandId, bool layeredWindows);

struct MenuItemState {
  int id = 0;
  bool checked = false;
  bool enabled = true;
  bool radio = false;
};

// Check marks and enabled states of every toggle item for these options.
std::vector<MenuItemState> ToggleMenuStates(const Options& options, bool layeredWindows);

// The items that open a dialog: disabled while one of the program's dialogs is open.
const std::vector<int>& DialogCommandIds();

// Per-row command ids: n = 0..299 in table order.
bool IsAdaptersCommand(int commandId);
bool IsResetRatesCommand(int commandId);
// Whether a row with this "Adapters" id gets menu items (rows past the 300th do not).
bool HasMenuItems(std::int32_t adaptersMenuId);

enum class PaneToggle { kShow, kHide, kRefuse };
// Toggling a row's pane: create it, close it, or refuse closing the only pane.
PaneToggle DecidePaneToggle(bool rowHasPane, int shownPanes);

// The virtual-key code of the hot key letter: HotkeyChar when it is "A" to "Z", else "B".
std::uint32_t HotkeyLetter(std::uint32_t hotkeyChar);

struct MenuPoint {
  bool open = false;
  int x = 0;
  int y = 0;
};
// Where the popup menu opens (screen coordinates): at the cursor when it is inside the client
// area; from the "F" key with the cursor elsewhere, at the client area's centre; otherwise not.
MenuPoint PopupMenuPoint(int cursorX, int cursorY, int clientLeft, int clientTop, int clientRight, int clientBottom,
                         bool fromKey);

}  // namespace veltrano
