// Typed reads and writes on a hive. A read succeeds only for a value of the expected type and a
// size its buffer takes; otherwise the caller's field keeps its default.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry_hive.h"

namespace veltrano {

// Settings root, and the key paths below it.
extern const char* const kSettingsRoot;  // "Software\Veltrano\"
std::string SettingsKey(const std::string& subkey);

bool ReadDword(RegistryHive& hive, const std::string& key, const std::string& name, std::uint32_t& value);
// REG_SZ (or REG_EXPAND_SZ) text; maxBytes 0 means any size (the size is asked first).
bool ReadString(RegistryHive& hive, const std::string& key, const std::string& name, std::string& value,
                size_t maxBytes = 0);
// REG_BINARY of exactly `size` bytes.
bool ReadBinary(RegistryHive& hive, const std::string& key, const std::string& name, size_t size, Bytes& value);

bool WriteDword(RegistryHive& hive, const std::string& key, const std::string& name, std::uint32_t value);
bool WriteString(RegistryHive& hive, const std::string& key, const std::string& name, const std::string& value);
bool WriteBinary(RegistryHive& hive, const std::string& key, const std::string& name, const Bytes& value);

}  // namespace veltrano
