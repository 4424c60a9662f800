// Adapter identity, naming, enumeration and the building of the adapter table.
#include "engine/adapter_table.h"

#include <cstdio>

#include "core/text.h"

namespace veltrano {
namespace {

// Adapter names of this length or shorter are not unique enough; the hardware address is used.
constexpr size_t kShortAdapterNameLength = 10;

AdapterEntry PseudoAdapter(std::int32_t kind) {
  AdapterEntry entry;
  entry.kind = kind;
  entry.displayName = entry.description = AggregateName(kind);
  return entry;
}

void ApplyLiveData(AdapterEntry& entry, const EnumeratedInterface& interface) {
  entry.ifType = interface.row.type;
  entry.prevInOctets = interface.row.inOctets;
  entry.prevOutOctets = interface.row.outOctets;
  entry.prevWide = interface.row.wideCounters;
  entry.hasPrev = true;
  entry.ipAddress = interface.ipAddress;
  entry.description = InterfaceDescription(interface.row);
}

}  // namespace

AdapterId DeriveAdapterId(const AdapterRecord& record) {
  if (record.name.size() > kShortAdapterNameLength) return AsciiUpper(record.name.substr(0, kMaxAdapterIdLength));
  std::uint8_t bytes[8] = {};
  for (std::uint32_t i = 0; i < record.addressLength && i < 8; ++i) bytes[i] = record.address[i];
  char text[17];
  std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X%02X%02X", bytes[0], bytes[1], bytes[2], bytes[3], bytes[4],
                bytes[5], bytes[6], bytes[7]);
  return text;
}

std::string DefaultInterfaceName(std::uint32_t ifType) {
  return IsDialUpType(ifType) ? "WAN" : "Unknown Connection";
}

std::string InterfaceDescription(const InterfaceRow& row) {
  const std::string text = TrimBlanks(row.description.substr(0, row.description.find('\0')));
  return text.empty() ? DefaultInterfaceName(row.type) : text;
}

std::string AdapterTitle(const AdapterEntry& entry, bool showIp) {
  if (entry.kind != kInterfaceAdapter || !showIp) return entry.displayName;
  if (entry.displayName.empty()) return entry.ipAddress;
  return entry.displayName + " [" + entry.ipAddress + "]";
}

bool EnumerateInterfaces(InterfaceSource& source, std::vector<EnumeratedInterface>& interfaces) {
  interfaces.clear();
  std::vector<AdapterRecord> records;
  if (!source.GetAdaptersInfo(records)) return false;
  for (const auto& record : records) {
    EnumeratedInterface interface;
    if (!source.GetIfEntry(record.index, interface.row)) continue;
    interface.id = DeriveAdapterId(record);
    interface.ipAddress = record.firstIpAddress;
    interfaces.push_back(std::move(interface));
  }
  return true;
}

void AdapterTable::LoadAdapterSettings(std::vector<AdapterEntry> stored, ProgramRole role) {
  rows_.clear();
  rowAtPosition_.clear();
  nextMenuIndex_ = 0;
  bool haveAll = false, haveDialUp = false, anyMonitored = false;
  for (auto& entry : stored) {
    anyMonitored = anyMonitored || entry.monitored;
    if (entry.kind == kAllConnections) {
      haveAll = true;
      rows_.push_front(std::move(entry));
    } else if (entry.kind == kDialUpConnections) {
      haveDialUp = true;
      const bool headIsAll = !rows_.empty() && rows_.front().kind == kAllConnections;
      rows_.insert(headIsAll ? std::next(rows_.begin()) : rows_.begin(), std::move(entry));
    } else if (entry.kind == kInterfaceAdapter) {
      rows_.push_back(std::move(entry));
    }
  }
  if (!haveAll) rows_.push_front(PseudoAdapter(kAllConnections));
  if (!haveDialUp) rows_.insert(std::next(rows_.begin()), PseudoAdapter(kDialUpConnections));
  if (role == ProgramRole::kDesktop && !anyMonitored) rows_.front().monitored = true;
  RefreshAdapters(false);
}

void AdapterTable::RefreshAdapters(bool addToMenus) {
  std::vector<EnumeratedInterface> interfaces;
  if (!EnumerateInterfaces(source_, interfaces)) return;
  for (size_t position = 0; position < interfaces.size(); ++position) {
    const EnumeratedInterface& interface = interfaces[position];
    if (AdapterEntry* row = MatchInterface(position, interface.id))
      ApplyLiveData(*row, interface);
    else
      AppendInterface(interface, addToMenus);
  }
}

AdapterEntry* AdapterTable::MatchInterface(size_t position, const AdapterId& id) {
  if (position >= rowAtPosition_.size()) rowAtPosition_.resize(position + 1, nullptr);
  AdapterEntry*& remembered = rowAtPosition_[position];
  if (remembered && remembered->id == id) return remembered;
  remembered = nullptr;
  for (auto row = FirstInterfaceRow(); row != rows_.end(); ++row) {
    if (row->id == id) {
      remembered = &*row;
      break;
    }
  }
  return remembered;
}

AdapterEntry* AdapterTable::FindAdapter(std::int32_t kind, const AdapterId& id) {
  for (auto& row : rows_)
    if (SameAdapter(kind, id, row)) return &row;
  return nullptr;
}

AdapterEntry& AdapterTable::AppendInterface(const EnumeratedInterface& interface, bool addToMenus) {
  AdapterEntry entry;
  entry.kind = kInterfaceAdapter;
  entry.id = AsciiUpper(interface.id);
  ApplyLiveData(entry, interface);
  entry.displayName = entry.description;
  rows_.push_back(std::move(entry));
  AdapterEntry& row = rows_.back();
  if (addToMenus) {
    row.adaptersMenuId = kAdaptersMenuFirstId + nextMenuIndex_;
    row.resetMenuId = kResetRatesMenuFirstId + nextMenuIndex_;
    ++nextMenuIndex_;
    if (onAddedToMenus_) onAddedToMenus_(row);
  }
  return row;
}

void AdapterTable::AssignMenuIds() {
  nextMenuIndex_ = 0;
  for (auto& row : rows_) {
    row.adaptersMenuId = kAdaptersMenuFirstId + nextMenuIndex_;
    row.resetMenuId = kResetRatesMenuFirstId + nextMenuIndex_;
    ++nextMenuIndex_;
  }
}

AdapterTable::AdapterTable(InterfaceSource& source) : source_(source) {
  rows_.push_back(PseudoAdapter(kAllConnections));
  rows_.push_back(PseudoAdapter(kDialUpConnections));
}

AdapterList::iterator AdapterTable::FirstInterfaceRow() {
  return std::next(rows_.begin(), 2);
}

}  // namespace veltrano
