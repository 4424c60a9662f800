// The ordered table of traffic sources: "All Connections" first, "Dial-Up Connections" second,
// then the interfaces in the order they were read from the settings and then discovered. Rows are
// never removed while the program runs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/adapter_entry.h"
#include "platform/interface_source.h"

namespace veltrano {

// One adapter record of an enumeration pass, with its interface row.
struct EnumeratedInterface {
  AdapterId id;
  std::string ipAddress;
  InterfaceRow row;
};

constexpr std::int32_t kAdaptersMenuFirstId = 9000;
constexpr std::int32_t kResetRatesMenuFirstId = 9300;

AdapterId DeriveAdapterId(const AdapterRecord& record);
std::string DefaultInterfaceName(std::uint32_t ifType);
// The interface description trimmed of blanks (and of the NULs some drivers count in its length).
std::string InterfaceDescription(const InterfaceRow& row);
std::string AdapterTitle(const AdapterEntry& entry, bool showIp);

// Steps shared by the start-up refresh and the per-second tick: size query, enumeration, and one
// interface row per adapter record (records whose row cannot be read are skipped).
bool EnumerateInterfaces(InterfaceSource& source, std::vector<EnumeratedInterface>& interfaces);

class AdapterTable {
 public:
  // Starts with the two aggregates alone.
  explicit AdapterTable(InterfaceSource& source);

  bool BindInterfaceApi() { return source_.Bind(); }

  // Builds the table from the rows read from the settings, in registry order (see
  // ReadAdapterSubkeys), then refreshes it from a live enumeration.
  void LoadAdapterSettings(std::vector<AdapterEntry> stored, ProgramRole role);
  void RefreshAdapters(bool addToMenus);
  AdapterEntry* FindAdapter(std::int32_t kind, const AdapterId& id);
  // The interface row with this id, or null. The system lists its interfaces in the same order
  // pass after pass, so the row found at this position of the last pass is tried first.
  AdapterEntry* MatchInterface(size_t position, const AdapterId& id);
  AdapterEntry& AppendInterface(const EnumeratedInterface& interface, bool addToMenus);

  // Numbers every row's "Adapters" and "Reset Rates" command ids in table order.
  void AssignMenuIds();
  // Called for a row appended with addToMenus, after its command ids were assigned.
  void SetOnAddedToMenus(std::function<void(AdapterEntry&)> callback) { onAddedToMenus_ = std::move(callback); }

  AdapterList& Rows() { return rows_; }
  // Only rows from the third on are matched against enumerated interfaces.
  AdapterList::iterator FirstInterfaceRow();
  const AdapterList& Rows() const { return rows_; }
  InterfaceSource& Source() { return source_; }

 private:
  InterfaceSource& source_;
  AdapterList rows_;
  std::vector<AdapterEntry*> rowAtPosition_;  // MatchInterface's memory; null where nothing matched
  std::int32_t nextMenuIndex_ = 0;
  std::function<void(AdapterEntry&)> onAddedToMenus_;
};

}  // namespace veltrano
