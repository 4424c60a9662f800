// The registry as the settings store sees it: one hive (current user or local machine) whose
// keys are addressed by backslash-separated paths. Names of keys and values compare without
// regard to ASCII case; subkeys enumerate in name order, values in the order the registry keeps
// them (creation order on Windows and in the file store, name order under Wine).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_codec.h"

namespace veltrano {

enum RegType : std::uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
  kRegQword = 11,
};

// A value as the registry holds it: its type and raw bytes (REG_SZ data is UTF-16LE).
struct RegValue {
  std::uint32_t type = kRegNone;
  Bytes data;
};

struct NamedRegValue {
  std::string name;
  RegValue value;
};

class RegistryHive {
 public:
  virtual ~RegistryHive() = default;

  virtual bool KeyExists(const std::string& keyPath) = 0;
  // Opens or creates the key and any missing parent.
  virtual bool CreateKey(const std::string& keyPath) = 0;
  virtual bool QueryValue(const std::string& keyPath, const std::string& name, RegValue& value) = 0;
  // The key must exist, as a key handle opened for set-value access must.
  virtual bool SetValue(const std::string& keyPath, const std::string& name, const RegValue& value) = 0;
  virtual bool EnumerateSubkeys(const std::string& keyPath, std::vector<std::string>& names) = 0;
  virtual bool EnumerateValues(const std::string& keyPath, std::vector<NamedRegValue>& values) = 0;
  virtual bool DeleteValue(const std::string& keyPath, const std::string& name) = 0;
  virtual bool DeleteKeyTree(const std::string& keyPath) = 0;
};

}  // namespace veltrano
