// Per-adapter settings: one subkey "%d-%s" (kind, id) per adapter under "AdaptersEx".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/adapter_entry.h"
#include "platform/registry_hive.h"

namespace veltrano {

enum AdapterSaveMask : std::uint32_t {
  kAdapterIdentity = 1,   // AdapterID, AdapterName, ConnRatebps, Monitored, Size (with a pane only)
  kAdapterRecording = 4,  // RecordTrafficRates, RecordNumberOnly, RecordInterval, RecordFile
};

std::string AdapterSubkeyName(const AdapterEntry& entry);

// The stored adapters in registry order, as rows ready for the adapter table. Subkeys whose name
// does not start with "100", "200" or "300", or that have no AdapterID, are skipped. The service
// reads the recording values only of adapters that record.
std::vector<AdapterEntry> ReadAdapterSubkeys(RegistryHive& hive, ProgramRole role);
void SaveAdapters(RegistryHive& hive, const AdapterList& rows, std::uint32_t mask);

}  // namespace veltrano
