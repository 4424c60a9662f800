// Tray tip texts within the platform's 63 characters, activity icons, the chosen row and clicks.
#include "view/tray_tip.h"

#include <gtest/gtest.h>

#include "core/text.h"
#include "reports/value_format.h"

namespace veltrano {
namespace {

// 15432 B/s each way in bits: "Dw: 123.5 kbps  Up: 123.5 kbps", 30 characters.
constexpr std::uint32_t kDown = 15432;
constexpr std::uint32_t kUp = 15432;

std::string Tip(const std::string& name, const std::string& ip, TrayTipSwitches switches = {}) {
  return Utf16ToUtf8(TrayTip(name, ip, kDown, kUp, switches));
}

const std::string kRates = "Dw: 123.5 kbps  Up: 123.5 kbps";

TEST(TrayTipText, NameAndAddressThatFitAreShownWhole) {
  ASSERT_EQ(kRates.size(), 30u);
  EXPECT_EQ(Tip("LAN", "192.168.1.10"), "LAN [192.168.1.10]\n" + kRates);
}

TEST(TrayTipText, ALongNameIsCutSoThatTheTipIsAtMost63Characters) {
  const std::string name = "Intel PRO/1000 Adapte";  // 21
  const std::string tip = Tip(name, "192.168.1.10");
  EXPECT_EQ(tip, "Intel PRO/1000 Ad [192.168.1.10]\n" + kRates);
  EXPECT_EQ(Utf8ToUtf16(tip).size(), 63u);
}

TEST(TrayTipText, WithNoRoomForTheNameTheAddressOrTheRatesAloneRemain) {
  const std::string name = "Adapter";
  const std::string ip29(29, '1');  // 59 - 30 = 29: the address still fits beside the rates
  EXPECT_EQ(Tip(name, ip29), ip29 + "\n" + kRates);
  const std::string ip30(30, '2');
  EXPECT_EQ(Tip(name, ip30), kRates);
}

TEST(TrayTipText, NameOnlyIsCutAt62CharactersWithTheRates) {
  TrayTipSwitches noIp;
  noIp.showIp = false;
  EXPECT_EQ(Tip("LAN", "192.168.1.10", noIp), "LAN\n" + kRates);
  const std::string longName(40, 'n');
  const std::string tip = Tip(longName, "192.168.1.10", noIp);
  EXPECT_EQ(tip, std::string(32, 'n') + "\n" + kRates);
  EXPECT_EQ(tip.size(), 63u);
  EXPECT_EQ(Tip(longName, ""), std::string(32, 'n') + "\n" + kRates) << "an absent interface has no address";
}

TEST(TrayTipText, AddressOnlyOrNeither) {
  TrayTipSwitches noName;
  noName.showName = false;
  const std::string tip = Tip("LAN", "192.168.1.10", noName);
  EXPECT_EQ(tip, "192.168.1.10\n" + kRates);
  EXPECT_EQ(tip.size(), 43u);
  EXPECT_EQ(Tip("LAN", std::string(33, '3'), noName), kRates);
  TrayTipSwitches neither;
  neither.showName = neither.showIp = false;
  EXPECT_EQ(Tip("LAN", "192.168.1.10", neither), kRates);
}

TEST(TrayTipText, CutsCountUtf16CharactersNotBytes) {
  const std::string name = "Ünïcödé Ädäptér Nämé Lönger";  // 27 characters, more bytes
  const std::u16string tip = TrayTip(name, "192.168.1.10", kDown, kUp, {});
  EXPECT_EQ(tip.size(), 63u);
  EXPECT_EQ(Utf16ToUtf8(tip.substr(0, 17)), "Ünïcödé Ädäptér N");
}

TEST(TrayTipText, FollowsTheByteUnitSwitch) {
  TrayTipSwitches bytes;
  bytes.unitBytes = true;
  EXPECT_EQ(Tip("LAN", "", bytes), "LAN\nDw: " + FormatRate(kDown, true) + "  Up: " + FormatRate(kUp, true));
}

TEST(TrayTipText, ARowTipComesFromItsNewestSample) {
  AdapterEntry row;
  row.displayName = "LAN";
  EXPECT_EQ(Utf16ToUtf8(TrayTipFor(row, {})), "LAN\nDw: 0 bps  Up: 0 bps");
  row.history.push_back({1, 1, 0, 0});
  row.history.push_back({kDown, kUp, 0, 0});
  EXPECT_EQ(Utf16ToUtf8(TrayTipFor(row, {})), "LAN\n" + kRates);
}

TEST(TrayActivity, OneIconPerDirectionMix) {
  EXPECT_EQ(TrayActivityIcon(0, 0), 140);
  EXPECT_EQ(TrayActivityIcon(0, 5), 141);
  EXPECT_EQ(TrayActivityIcon(5, 0), 142);
  EXPECT_EQ(TrayActivityIcon(5, 5), 143);
}

TEST(TrayAdapterChoice, MatchesAggregatesByKindAndInterfacesByKindAndId) {
  AdapterList rows(3);
  auto it = rows.begin();
  it->kind = kAllConnections;
  (++it)->kind = kDialUpConnections;
  (++it)->kind = kInterfaceAdapter;
  it->id = "{ABC}";
  EXPECT_EQ(FindTrayAdapter(rows, 200, "whatever"), &*std::next(rows.begin()));
  EXPECT_EQ(FindTrayAdapter(rows, 300, "{ABC}"), &rows.back());
  EXPECT_EQ(FindTrayAdapter(rows, 300, "{abc}"), &rows.front()) << "ids match exactly; else All Connections";
  EXPECT_EQ(FindTrayAdapter(rows, 7, ""), &rows.front());
  EXPECT_EQ(FindTrayAdapter(AdapterList{}, 100, ""), nullptr);
}

TEST(TrayClicks, LeftTogglesRightOpensTheMenuOthersAreIgnored) {
  EXPECT_EQ(TrayActionFor(0x0202), TrayAction::kToggleWindow);
  EXPECT_EQ(TrayActionFor(0x0205), TrayAction::kOpenMenu);
  EXPECT_EQ(TrayActionFor(0x0201), TrayAction::kNone);
  EXPECT_EQ(TrayActionFor(0x0200), TrayAction::kNone);
}

}  // namespace
}  // namespace veltrano
