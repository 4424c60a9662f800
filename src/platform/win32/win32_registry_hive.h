// The Windows registry through the wide-character Reg* functions.
#pragma once

#include "platform/registry_hive.h"

namespace veltrano {

enum class RegistryRoot { kCurrentUser, kLocalMachine };

class Win32RegistryHive : public RegistryHive {
 public:
  explicit Win32RegistryHive(RegistryRoot root) : root_(root) {}

  bool KeyExists(const std::string& keyPath) override;
  bool CreateKey(const std::string& keyPath) override;
  bool QueryValue(const std::string& keyPath, const std::string& name, RegValue& value) override;
  bool SetValue(const std::string& keyPath, const std::string& name, const RegValue& value) override;
  bool EnumerateSubkeys(const std::string& keyPath, std::vector<std::string>& names) override;
  bool EnumerateValues(const std::string& keyPath, std::vector<NamedRegValue>& values) override;
  bool DeleteValue(const std::string& keyPath, const std::string& name) override;
  bool DeleteKeyTree(const std::string& keyPath) override;

 private:
  RegistryRoot root_;
};

}  // namespace veltrano
