// A registry hive kept in a text file, for the native builds: the same tree of keys and typed
// values as the Windows registry, rewritten whole (through a temporary file) after every change.
#pragma once

#include <memory>
#include <string>

#include "platform/registry_hive.h"

namespace veltrano {

class FileRegistryHive : public RegistryHive {
 public:
  // Loads the file if it exists; an unreadable or malformed file starts an empty hive.
  explicit FileRegistryHive(std::string filePath);
  ~FileRegistryHive() override;

  bool KeyExists(const std::string& keyPath) override;
  bool CreateKey(const std::string& keyPath) override;
  bool QueryValue(const std::string& keyPath, const std::string& name, RegValue& value) override;
  bool SetValue(const std::string& keyPath, const std::string& name, const RegValue& value) override;
  bool EnumerateSubkeys(const std::string& keyPath, std::vector<std::string>& names) override;
  bool EnumerateValues(const std::string& keyPath, std::vector<NamedRegValue>& values) override;
  bool DeleteValue(const std::string& keyPath, const std::string& name) override;
  bool DeleteKeyTree(const std::string& keyPath) override;

  // The per-user store: $XDG_CONFIG_HOME (or ~/.config) + "/veltrano/" + fileName.
  static std::string DefaultPath(const std::string& fileName);

 private:
  struct Key;
  Key* Find(const std::string& keyPath);
  Key* FindOrCreate(const std::string& keyPath);
  void Load();
  bool Persist();

  std::string filePath_;
  std::unique_ptr<Key> root_;
};

}  // namespace veltrano
