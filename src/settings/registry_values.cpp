// Typed registry reads and writes.
#include "settings/registry_values.h"

namespace veltrano {

const char* const kSettingsRoot = "Software\\Veltrano\\";

std::string SettingsKey(const std::string& subkey) { return kSettingsRoot + subkey; }

bool ReadDword(RegistryHive& hive, const std::string& key, const std::string& name, std::uint32_t& value) {
  RegValue raw;
  if (!hive.QueryValue(key, name, raw) || raw.type != kRegDword || raw.data.size() != 4) return false;
  value = GetU32(raw.data, 0);
  return true;
}

bool ReadString(RegistryHive& hive, const std::string& key, const std::string& name, std::string& value,
                size_t maxBytes) {
  RegValue raw;
  if (!hive.QueryValue(key, name, raw) || (raw.type != kRegSz && raw.type != kRegExpandSz)) return false;
  if (maxBytes != 0 && raw.data.size() > maxBytes) return false;
  value = DecodeUtf16Bytes(raw.data);
  return true;
}

bool ReadBinary(RegistryHive& hive, const std::string& key, const std::string& name, size_t size, Bytes& value) {
  RegValue raw;
  if (!hive.QueryValue(key, name, raw) || raw.type != kRegBinary || raw.data.size() != size) return false;
  value = std::move(raw.data);
  return true;
}

bool WriteDword(RegistryHive& hive, const std::string& key, const std::string& name, std::uint32_t value) {
  RegValue raw{kRegDword, Bytes(4, 0)};
  PutU32(raw.data, 0, value);
  return hive.SetValue(key, name, raw);
}

bool WriteString(RegistryHive& hive, const std::string& key, const std::string& name, const std::string& value) {
  return hive.SetValue(key, name, {kRegSz, EncodeUtf16Bytes(value)});
}

bool WriteBinary(RegistryHive& hive, const std::string& key, const std::string& name, const Bytes& value) {
  return hive.SetValue(key, name, {kRegBinary, value});
}

}  // namespace veltrano
