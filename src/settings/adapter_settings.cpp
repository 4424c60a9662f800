// Read and write of the per-adapter subkeys.
#include "settings/adapter_settings.h"

#include "core/text.h"
#include "settings/registry_values.h"

namespace veltrano {
namespace {

const std::string kAdaptersKey = SettingsKey("AdaptersEx");
constexpr size_t kSubkeyNameChars = 1023;

bool KindFromSubkeyName(const std::string& name, std::int32_t& kind) {
  const std::string prefix = name.substr(0, 3);
  if (prefix == "100")
    kind = kAllConnections;
  else if (prefix == "200")
    kind = kDialUpConnections;
  else if (prefix == "300")
    kind = kInterfaceAdapter;
  else
    return false;
  return true;
}

void ReadRecordingValues(RegistryHive& hive, const std::string& key, AdapterEntry& entry) {
  std::uint32_t numberOnly = 0;
  if (ReadDword(hive, key, "RecordNumberOnly", numberOnly) && numberOnly) entry.recordFlags |= kRecordNumberOnlyFlag;
  ReadDword(hive, key, "RecordInterval", entry.recordInterval);
  std::string file;
  if (ReadString(hive, key, "RecordFile", file) && !file.empty()) entry.recordFile = file;
}

}  // namespace

std::string AdapterSubkeyName(const AdapterEntry& entry) {
  return std::to_string(entry.kind) + "-" + entry.id;
}

std::vector<AdapterEntry> ReadAdapterSubkeys(RegistryHive& hive, ProgramRole role) {
  std::vector<AdapterEntry> entries;
  std::vector<std::string> names;
  if (!hive.EnumerateSubkeys(kAdaptersKey, names)) return entries;
  for (const auto& name : names) {
    AdapterEntry entry;
    if (name.size() > kSubkeyNameChars || !KindFromSubkeyName(name, entry.kind)) continue;
    const std::string key = kAdaptersKey + "\\" + name;
    if (entry.kind != kInterfaceAdapter) entry.displayName = entry.description = AggregateName(entry.kind);
    std::string displayName;
    if (ReadString(hive, key, "AdapterName", displayName) && !displayName.empty()) entry.displayName = displayName;
    std::uint32_t recordRates = 0;
    ReadDword(hive, key, "RecordTrafficRates", recordRates);
    entry.recordRates = recordRates != 0;
    if (role == ProgramRole::kDesktop || entry.recordRates) ReadRecordingValues(hive, key, entry);
    if (role == ProgramRole::kDesktop) {
      std::uint32_t monitored = 0;
      ReadDword(hive, key, "ConnRatebps", entry.connRateBps);
      ReadDword(hive, key, "Monitored", monitored);
      entry.monitored = monitored != 0;
      Bytes size;
      if (ReadBinary(hive, key, "Size", 4, size)) entry.size = GetF32(size, 0);
    }
    std::string id;
    if (!ReadString(hive, key, "AdapterID", id)) continue;
    entry.id = AsciiUpper(id.substr(0, kMaxAdapterIdLength));
    entries.push_back(std::move(entry));
  }
  return entries;
}

void SaveAdapters(RegistryHive& hive, const AdapterList& rows, std::uint32_t mask) {
  if (mask == 0) return;
  for (const auto& row : rows) {
    const std::string key = kAdaptersKey + "\\" + AdapterSubkeyName(row);
    if (!hive.CreateKey(key)) continue;
    if (mask & kAdapterIdentity) {
      WriteString(hive, key, "AdapterID", row.id);
      WriteString(hive, key, "AdapterName", row.displayName);
      WriteDword(hive, key, "ConnRatebps", row.connRateBps);
      WriteDword(hive, key, "Monitored", row.monitored ? 1 : 0);
      if (row.pane) {
        Bytes size(4, 0);
        PutF32(size, 0, row.size);
        WriteBinary(hive, key, "Size", size);
      }
    }
    if (mask & kAdapterRecording) {
      WriteDword(hive, key, "RecordTrafficRates", row.recordRates ? 1 : 0);
      WriteDword(hive, key, "RecordNumberOnly", (row.recordFlags & kRecordNumberOnlyFlag) ? 1 : 0);
      WriteDword(hive, key, "RecordInterval", row.recordInterval);
      WriteString(hive, key, "RecordFile", row.recordFile);
    }
  }
}

}  // namespace veltrano
