// Rows, sorting, checks and the apply of the Adapters options page.
#include "view/adapters_page_model.h"

#include <algorithm>
#include <iterator>

#include "view/number_field.h"

namespace veltrano {

const ConnectionType kConnectionTypes[kConnectionTypeCount] = {
    {"Auto Scale", 0},
    {"33.6 kbps (analog modems)", 33600},
    {"48.0 kbps (analog modems)", 48000},
    {"56.0 kbps (analog modems)", 56000},
    {"64 kbps (ISDN - single channel)", 64000},
    {"128 kbps (ISDN - dual channel)", 128000},
    {"256 kbps (DSL, Frame Relay)", 256000},
    {"384 kbps (DSL)", 384000},
    {"512 kbps (DSL)", 512000},
    {"768 kbps (DSL)", 768000},
    {"1.544 mbps (T1, DSL, Cable Modem)", 1544000},
    {"2 mbps (DSL, Cable Modem)", 2000000},
    {"10 mbps (DSL, Cable Modem, LAN)", 10000000},
    {"44.736 mbps (DS3)", 44736000},
    {"100 mbps (LAN)", 100000000},
    {"Specify Speed", 0},
};

const char* const kTrayTipNote = "Note: adapter name will be truncated when length of tips is greater than 64.";

int ConnectionTypeIndexFor(std::uint32_t bitsPerSecond) {
  for (int index = 0; index < kSpecifySpeedIndex; ++index)
    if (kConnectionTypes[index].bitsPerSecond == bitsPerSecond) return index;
  return kSpecifySpeedIndex;
}

std::uint32_t ScaleForConnectionRate(std::uint32_t bitsPerSecond) {
  return bitsPerSecond / 8;
}

std::vector<AdapterPageRow> AdapterPageRows(const AdapterList& table) {
  std::vector<AdapterPageRow> rows;
  for (const AdapterEntry& entry : table) {
    AdapterPageRow row;
    row.number = static_cast<int>(rows.size()) + 1;
    row.tableIndex = rows.size();
    row.kind = entry.kind;
    row.id = entry.id;
    row.name = entry.displayName;
    row.ip = entry.ipAddress;
    row.description = entry.description;
    row.connRateBps = entry.connRateBps;
    row.monitored = entry.monitored;
    rows.push_back(row);
  }
  return rows;
}

std::vector<AdapterPageRow> ResetAdapterPageRows(const AdapterList& tableAtOpen) {
  std::vector<AdapterPageRow> rows = AdapterPageRows(tableAtOpen);
  for (AdapterPageRow& row : rows)
    if (!row.description.empty()) row.name = row.description;
  return rows;
}

void ListSortState::Click(int clicked) {
  ascending = clicked == column ? !ascending : true;
  column = clicked;
}

void SortAdapterPageRows(std::vector<AdapterPageRow>& rows, const ListSortState& sort) {
  auto less = [&sort](const AdapterPageRow& a, const AdapterPageRow& b) {
    switch (sort.column) {
      case kAdapterNameColumn:
        return a.name < b.name;
      case kAdapterIpColumn:
        return a.ip < b.ip;
      default:
        return a.number < b.number;
    }
  };
  if (sort.ascending)
    std::stable_sort(rows.begin(), rows.end(), less);
  else
    std::stable_sort(rows.begin(), rows.end(),
                     [&less](const AdapterPageRow& a, const AdapterPageRow& b) { return less(b, a); });
  for (size_t index = 0; index < rows.size(); ++index) rows[index].number = static_cast<int>(index) + 1;
}

int TrayRowIndexFor(const std::vector<AdapterPageRow>& rows, std::uint32_t kind, const AdapterId& id) {
  for (size_t index = 0; index < rows.size(); ++index) {
    const AdapterPageRow& row = rows[index];
    if (static_cast<std::uint32_t>(row.kind) == kind && (kind != kInterfaceAdapter || row.id == id))
      return static_cast<int>(index);
  }
  return 0;
}

namespace {

constexpr size_t kMaxNameLength = 259;

}  // namespace

PageCheck<AdaptersControl> ReadAdaptersPage(const AdaptersPageFields& fields, Options& tray) {
  using Check = PageCheck<AdaptersControl>;
  const bool traySelected = fields.trayIndex >= 0 && static_cast<size_t>(fields.trayIndex) < fields.rows.size();
  if (fields.trayIcon && !traySelected)
    return Check::Refuse(AdaptersControl::kTrayAdapter, "Please select an adapter for system tray.");
  for (const AdapterPageRow& row : fields.rows) {
    if (row.name.empty()) return Check::Refuse(AdaptersControl::kList, "The adapter name must not be empty.");
    if (row.name.size() > kMaxNameLength)
      return Check::Refuse(AdaptersControl::kName, "The adapter name must not be longer than 259 characters.");
  }
  std::int64_t speed = 0;
  if (fields.customSpeedShown && !ParseNumberInRange(fields.customSpeed, 0, 2147483647, speed))
    return Check::Refuse(AdaptersControl::kCustomSpeed, "The custom speed must be a number from 0 to 2147483647.");
  if (std::none_of(fields.rows.begin(), fields.rows.end(), [](const AdapterPageRow& row) { return row.monitored; }))
    return Check::Refuse(AdaptersControl::kList, "At least one adapter should be monitored.");

  tray.dispIconSystray = fields.trayIcon;
  tray.showGraphInSystray = fields.trayGraph;
  tray.showAdapterNameInSystrayTips = fields.trayName;
  tray.showAdapterIpInSystrayTips = fields.trayIp;
  if (traySelected) {
    const AdapterPageRow& chosen = fields.rows[fields.trayIndex];
    tray.stIfType = static_cast<std::uint32_t>(chosen.kind);
    tray.stAdpId = chosen.kind == kInterfaceAdapter ? chosen.id : AdapterId();
  }
  return {};
}

AdaptersApplyPlan ApplyAdaptersPage(AdapterList& table, const std::vector<AdapterPageRow>& rows, Options& current,
                                    const Options& tray) {
  AdaptersApplyPlan plan;
  std::vector<const AdapterPageRow*> byTable(table.size(), nullptr);
  for (const AdapterPageRow& row : rows)
    if (row.tableIndex < byTable.size()) byTable[row.tableIndex] = &row;
  size_t index = 0;
  for (auto entry = table.begin(); entry != table.end(); ++entry, ++index) {
    const AdapterPageRow* row = byTable[index];
    if (!row) continue;
    entry->connRateBps = row->connRateBps;
    entry->displayName = row->name;
    if (row->monitored == entry->monitored) {
      if (entry->monitored) plan.rescale.push_back(index);
    } else {
      (row->monitored ? plan.show : plan.hide).push_back(index);
      entry->monitored = row->monitored;
    }
  }
  plan.deleteTrayIcon = current.dispIconSystray != 0 && tray.dispIconSystray == 0;
  current.dispIconSystray = tray.dispIconSystray;
  current.showGraphInSystray = tray.showGraphInSystray;
  current.showAdapterNameInSystrayTips = tray.showAdapterNameInSystrayTips;
  current.showAdapterIpInSystrayTips = tray.showAdapterIpInSystrayTips;
  current.stIfType = tray.stIfType;
  current.stAdpId = tray.stAdpId;
  return plan;
}

}  // namespace veltrano
