// Tray tip composition and the small decisions around the tray icon.
#include "view/tray_tip.h"

#include "core/text.h"
#include "reports/value_format.h"

namespace veltrano {
namespace {

constexpr std::uint32_t kLeftButtonUp = 0x0202;
constexpr std::uint32_t kRightButtonUp = 0x0205;

std::u16string Cut(const std::u16string& text, long length) {
  return length <= 0 ? std::u16string() : text.substr(0, static_cast<size_t>(length));
}

}  // namespace

std::u16string TrayTip(const std::string& displayName, const std::string& ipAddress, std::uint32_t down,
                       std::uint32_t up, const TrayTipSwitches& switches) {
  const std::u16string name = switches.showName ? Utf8ToUtf16(displayName) : std::u16string();
  const std::u16string ip = switches.showIp ? Utf8ToUtf16(ipAddress) : std::u16string();
  const std::u16string rates =
      Utf8ToUtf16("Dw: " + FormatRate(down, switches.unitBytes) + "  Up: " + FormatRate(up, switches.unitBytes));
  const long a = static_cast<long>(name.size());
  const long b = static_cast<long>(ip.size());
  const long c = static_cast<long>(rates.size());
  if (a > 0 && b > 0) {
    std::u16string shown = name;
    if (a + b + c >= 60) {
      const long room = 59 - c - b;
      if (room <= 0) return b == 59 - c ? ip + u"\n" + rates : rates;
      shown = Cut(name, room);
    }
    return shown + u" [" + ip + u"]\n" + rates;
  }
  if (a > 0) return (a + c > 62 ? Cut(name, 62 - c) : name) + u"\n" + rates;
  if (b > 0) return b + c < 63 ? ip + u"\n" + rates : rates;
  return rates;
}

std::u16string TrayTipFor(const AdapterEntry& row, const TrayTipSwitches& switches) {
  const RateSample newest = row.history.empty() ? RateSample{} : row.history.back();
  return TrayTip(row.displayName, row.ipAddress, newest.received, newest.sent, switches);
}

int TrayActivityIcon(std::uint32_t down, std::uint32_t up) {
  return kTrayIconNoTraffic + (down != 0 ? 2 : 0) + (up != 0 ? 1 : 0);
}

bool IsTrayAdapter(const AdapterEntry& row, std::uint32_t stIfType, const AdapterId& stAdpId) {
  if (static_cast<std::uint32_t>(row.kind) != stIfType) return false;
  return row.kind != kInterfaceAdapter || row.id == stAdpId;
}

const AdapterEntry* FindTrayAdapter(const AdapterList& rows, std::uint32_t stIfType, const AdapterId& stAdpId) {
  const AdapterEntry* all = nullptr;
  for (const auto& row : rows) {
    if (IsTrayAdapter(row, stIfType, stAdpId)) return &row;
    if (!all && row.kind == kAllConnections) all = &row;
  }
  return all ? all : (rows.empty() ? nullptr : &rows.front());
}

TrayAction TrayActionFor(std::uint32_t mouseMessage) {
  switch (mouseMessage & 0xFFFF) {
    case kLeftButtonUp:
      return TrayAction::kToggleWindow;
    case kRightButtonUp:
      return TrayAction::kOpenMenu;
  }
  return TrayAction::kNone;
}

}  // namespace veltrano
