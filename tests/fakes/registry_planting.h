// Shortcuts for tests that plant raw values, of any type, where the program reads its settings.
#pragma once

#include <string>

#include "core/byte_codec.h"
#include "platform/registry_hive.h"

namespace veltrano::testing {

inline void Plant(RegistryHive& hive, const std::string& key, const std::string& name, std::uint32_t type, Bytes data) {
  hive.CreateKey(key);
  hive.SetValue(key, name, {type, std::move(data)});
}

inline void PlantDword(RegistryHive& hive, const std::string& key, const std::string& name, std::uint32_t value) {
  Bytes data(4, 0);
  PutU32(data, 0, value);
  Plant(hive, key, name, kRegDword, data);
}

inline void PlantString(RegistryHive& hive, const std::string& key, const std::string& name, const std::string& text) {
  Plant(hive, key, name, kRegSz, EncodeUtf16Bytes(text));
}

inline RegValue Stored(RegistryHive& hive, const std::string& key, const std::string& name) {
  RegValue value;
  hive.QueryValue(key, name, value);
  return value;
}

}  // namespace veltrano::testing
