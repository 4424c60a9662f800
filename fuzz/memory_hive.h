// A registry hive held in memory, with the file hive's rules (names without regard to ASCII
// case, subkeys in name order, values in creation order): where a fuzz target saves settings
// thousands of times a second and compares what was written.
#pragma once

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/text.h"
#include "platform/registry_hive.h"

namespace veltrano::fuzz {

class MemoryHive : public RegistryHive {
 public:
  bool KeyExists(const std::string& keyPath) override { return keys_.count(Normal(keyPath)) != 0; }

  bool CreateKey(const std::string& keyPath) override {
    std::string path;
    for (const auto& part : Parts(keyPath)) {
      path += (path.empty() ? "" : "\\") + AsciiUpper(part);
      keys_.emplace(path, Key{});
    }
    return !path.empty();
  }

  bool QueryValue(const std::string& keyPath, const std::string& name, RegValue& value) override {
    const NamedRegValue* found = Find(keyPath, name);
    if (found) value = found->value;
    return found != nullptr;
  }

  bool SetValue(const std::string& keyPath, const std::string& name, const RegValue& value) override {
    auto key = keys_.find(Normal(keyPath));
    if (key == keys_.end()) return false;
    if (NamedRegValue* existing = Find(keyPath, name)) {
      existing->value = value;
    } else {
      key->second.values.push_back({name, value});
    }
    return true;
  }

  bool EnumerateSubkeys(const std::string& keyPath, std::vector<std::string>& names) override {
    names.clear();
    const std::string parent = Normal(keyPath);
    if (!keys_.count(parent)) return false;
    for (const auto& [path, key] : keys_) {
      if (path.size() <= parent.size() + 1 || path.compare(0, parent.size(), parent) != 0 ||
          path[parent.size()] != '\\' || path.find('\\', parent.size() + 1) != std::string::npos)
        continue;
      names.push_back(path.substr(parent.size() + 1));
    }
    return true;
  }

  bool EnumerateValues(const std::string& keyPath, std::vector<NamedRegValue>& values) override {
    values.clear();
    auto key = keys_.find(Normal(keyPath));
    if (key == keys_.end()) return false;
    values = key->second.values;
    return true;
  }

  bool DeleteValue(const std::string& keyPath, const std::string& name) override {
    auto key = keys_.find(Normal(keyPath));
    if (key == keys_.end()) return false;
    auto& values = key->second.values;
    for (auto it = values.begin(); it != values.end(); ++it) {
      if (EqualsIgnoreAsciiCase(it->name, name)) {
        values.erase(it);
        return true;
      }
    }
    return false;
  }

  bool DeleteKeyTree(const std::string& keyPath) override {
    const std::string path = Normal(keyPath);
    if (path.empty() || !keys_.erase(path)) return false;
    for (auto it = keys_.lower_bound(path + "\\"); it != keys_.end() && it->first.compare(0, path.size() + 1, path + "\\") == 0;)
      it = keys_.erase(it);
    return true;
  }

  // Every key and value in a fixed order, to compare two hives.
  std::string Dump() const {
    std::ostringstream out;
    for (const auto& [path, key] : keys_) {
      out << "K " << path << '\n';
      for (const auto& value : key.values) {
        out << "V " << value.value.type << ' ' << AsciiUpper(value.name) << ' ';
        for (auto byte : value.value.data) out << static_cast<int>(byte) << ',';
        out << '\n';
      }
    }
    return out.str();
  }

 private:
  struct Key {
    std::vector<NamedRegValue> values;
  };

  static std::vector<std::string> Parts(const std::string& keyPath) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : keyPath + "\\") {
      if (c != '\\') {
        part += c;
      } else if (!part.empty()) {
        parts.push_back(part);
        part.clear();
      }
    }
    return parts;
  }

  static std::string Normal(const std::string& keyPath) {
    std::string path;
    for (const auto& part : Parts(keyPath)) path += (path.empty() ? "" : "\\") + AsciiUpper(part);
    return path;
  }

  NamedRegValue* Find(const std::string& keyPath, const std::string& name) {
    auto key = keys_.find(Normal(keyPath));
    if (key == keys_.end()) return nullptr;
    for (auto& value : key->second.values)
      if (EqualsIgnoreAsciiCase(value.name, name)) return &value;
    return nullptr;
  }

  std::map<std::string, Key> keys_;  // by upper-case path
};

}  // namespace veltrano::fuzz
