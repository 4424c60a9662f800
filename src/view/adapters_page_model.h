// The Adapters options page as plain logic: its rows, sorting, connection types, the tray
// choice, the checks and what applying it does to panes, tray and the adapter table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/adapter_entry.h"
#include "settings/options.h"
#include "view/page_check.h"

namespace veltrano {

struct ConnectionType {
  const char* text;
  std::uint32_t bitsPerSecond;
};
constexpr int kConnectionTypeCount = 16;  // the last item is "Specify Speed"
constexpr int kSpecifySpeedIndex = 15;
extern const ConnectionType kConnectionTypes[kConnectionTypeCount];
// The preset of a stored rate, or "Specify Speed" when no preset has it.
int ConnectionTypeIndexFor(std::uint32_t bitsPerSecond);
// A fixed pane scale in bytes per second; 0 means the automatic scale.
std::uint32_t ScaleForConnectionRate(std::uint32_t bitsPerSecond);

extern const char* const kTrayTipNote;

// One row of the page's list: a copy of an adapter table row's editable values.
struct AdapterPageRow {
  int number = 0;         // "No." as shown, renumbered after sorting
  size_t tableIndex = 0;  // position in the adapter table
  std::int32_t kind = kAllConnections;
  AdapterId id;
  std::string name;
  std::string ip;
  std::string description;
  std::uint32_t connRateBps = 0;
  bool monitored = false;
};

std::vector<AdapterPageRow> AdapterPageRows(const AdapterList& table);
// "&Reset": the rows as the table stood when the sheet opened, each name back to the system
// description where there is one.
std::vector<AdapterPageRow> ResetAdapterPageRows(const AdapterList& tableAtOpen);

// A heading click: the same column again reverses the order, another column sorts ascending.
struct ListSortState {
  int column = -1;
  bool ascending = true;
  void Click(int clicked);
};

enum AdapterColumn { kAdapterNumberColumn = 0, kAdapterNameColumn = 1, kAdapterIpColumn = 2 };
// Sorts by "No." as numbers or by name or IP as text, then numbers the rows from 1.
void SortAdapterPageRows(std::vector<AdapterPageRow>& rows, const ListSortState& sort);

// Index of the tray's adapter among the rows, else 0 ("All Connections").
int TrayRowIndexFor(const std::vector<AdapterPageRow>& rows, std::uint32_t kind, const AdapterId& id);

enum class AdaptersControl { kNone, kTrayAdapter, kList, kCustomSpeed, kName };

struct AdaptersPageFields {
  std::vector<AdapterPageRow> rows;  // in page order, check boxes read back as `monitored`
  bool trayIcon = true;
  bool trayGraph = true;
  bool trayName = true;
  bool trayIp = true;
  int trayIndex = -1;
  // While a row is selected with "Specify Speed", the custom speed field as typed.
  bool customSpeedShown = false;
  std::string customSpeed;
};

// Checks the tray choice, the names, the typed custom speed and the monitored rows. When
// accepted, `tray` holds the tray group's new values (the rest of `tray` is left as it was).
PageCheck<AdaptersControl> ReadAdaptersPage(const AdaptersPageFields& fields, Options& tray);

// What applying the page does to the adapter table, the panes and the tray.
struct AdaptersApplyPlan {
  std::vector<size_t> rescale;  // table rows keeping their pane: new scale and title
  std::vector<size_t> show;     // table rows gaining a pane
  std::vector<size_t> hide;     // table rows losing their pane
  bool deleteTrayIcon = false;
};

// Copies names and connection rates into the table and the tray group into `current`, and says
// which panes change.
AdaptersApplyPlan ApplyAdaptersPage(AdapterList& table, const std::vector<AdapterPageRow>& rows, Options& current,
                                    const Options& tray);

}  // namespace veltrano
