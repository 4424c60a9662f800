// What the tray icon shows for its adapter: the tip text within the platform's 63 characters,
// the static activity icon, which row is the tray's, and what a click on the icon means.
#pragma once

#include <cstdint>
#include <string>

#include "engine/adapter_entry.h"

namespace veltrano {

constexpr std::size_t kTrayTipLimit = 63;
constexpr int kTrayIconNoTraffic = 140;  // then 141 upload only, 142 download only, 143 both

struct TrayTipSwitches {
  bool showName = true;
  bool showIp = true;
  bool unitBytes = false;
};

// Composes the tip (UTF-16, "\n" between the lines) so that the rates line always fits.
std::u16string TrayTip(const std::string& name, const std::string& ip, std::uint32_t down, std::uint32_t up,
                       const TrayTipSwitches& switches);
// The same for a row, from its newest sample (no sample: zero rates).
std::u16string TrayTipFor(const AdapterEntry& row, const TrayTipSwitches& switches);

// Resource id of the static icon for one sample's activity.
int TrayActivityIcon(std::uint32_t down, std::uint32_t up);

// Whether this row is the tray's chosen adapter (stIfType, stAdpId).
bool IsTrayAdapter(const AdapterEntry& row, std::uint32_t stIfType, const AdapterId& stAdpId);
// The chosen row, or "All Connections" when nothing matches; null only for an empty table.
const AdapterEntry* FindTrayAdapter(const AdapterList& rows, std::uint32_t stIfType, const AdapterId& stAdpId);

enum class TrayAction { kNone, kToggleWindow, kOpenMenu };
// The tray callback's event (low word of its second parameter): left button up toggles, right
// button up opens the popup menu.
TrayAction TrayActionFor(std::uint32_t mouseMessage);

}  // namespace veltrano
