// Text-file registry hive. File format, one line each:
//   K <key path>                      a key (parents are listed before children)
//   V <type> <hex data> <value name>  a value of the key above it, in creation order
#include "platform/posix/file_registry_hive.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/text.h"

namespace veltrano {

struct FileRegistryHive::Key {
  std::string name;
  std::vector<std::unique_ptr<Key>> subkeys;  // sorted by name, ignoring ASCII case
  std::vector<NamedRegValue> values;          // creation order

  Key* Child(const std::string& childName) {
    for (auto& child : subkeys)
      if (EqualsIgnoreAsciiCase(child->name, childName)) return child.get();
    return nullptr;
  }

  Key* AddChild(const std::string& childName) {
    auto key = std::make_unique<Key>();
    key->name = childName;
    auto pos = subkeys.begin();
    while (pos != subkeys.end() && CompareIgnoreAsciiCase((*pos)->name, childName) < 0) ++pos;
    return subkeys.insert(pos, std::move(key))->get();
  }

  NamedRegValue* Value(const std::string& valueName) {
    for (auto& value : values)
      if (EqualsIgnoreAsciiCase(value.name, valueName)) return &value;
    return nullptr;
  }
};

namespace {

// As deep as the Windows registry lets a key be. The tree is freed and written out recursively,
// so a file naming a key thousands of levels deep must not build one.
constexpr size_t kMaxKeyDepth = 512;

std::vector<std::string> SplitPath(const std::string& keyPath) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : keyPath) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

std::string ToHex(const Bytes& data) {
  static const char* digits = "0123456789abcdef";
  std::string hex;
  for (std::uint8_t b : data) {
    hex += digits[b >> 4];
    hex += digits[b & 15];
  }
  return hex.empty() ? "-" : hex;
}

bool FromHex(const std::string& hex, Bytes& data) {
  data.clear();
  if (hex == "-") return true;
  if (hex.size() % 2 != 0) return false;
  for (size_t i = 0; i < hex.size(); i += 2) {
    char* end = nullptr;
    const std::string pair = hex.substr(i, 2);
    const long b = std::strtol(pair.c_str(), &end, 16);
    if (end != pair.c_str() + 2) return false;
    data.push_back(static_cast<std::uint8_t>(b));
  }
  return true;
}

}  // namespace

FileRegistryHive::FileRegistryHive(std::string filePath) : filePath_(std::move(filePath)), root_(std::make_unique<Key>()) {
  Load();
}

FileRegistryHive::~FileRegistryHive() = default;

std::string FileRegistryHive::DefaultPath(const std::string& fileName) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  std::string dir = config && *config ? config : std::string(home ? home : ".") + "/.config";
  return dir + "/veltrano/" + fileName;
}

FileRegistryHive::Key* FileRegistryHive::Find(const std::string& keyPath) {
  Key* key = root_.get();
  for (const auto& part : SplitPath(keyPath)) {
    key = key->Child(part);
    if (!key) return nullptr;
  }
  return key;
}

FileRegistryHive::Key* FileRegistryHive::FindOrCreate(const std::string& keyPath) {
  const std::vector<std::string> parts = SplitPath(keyPath);
  if (parts.size() > kMaxKeyDepth) return nullptr;
  Key* key = root_.get();
  for (const auto& part : parts) {
    if (HasLineBreak(part)) return nullptr;
    Key* child = key->Child(part);
    key = child ? child : key->AddChild(part);
  }
  return key;
}

bool FileRegistryHive::KeyExists(const std::string& keyPath) { return Find(keyPath) != nullptr; }

bool FileRegistryHive::CreateKey(const std::string& keyPath) {
  if (SplitPath(keyPath).empty()) return false;
  if (Find(keyPath)) return true;
  return FindOrCreate(keyPath) && Persist();
}

bool FileRegistryHive::QueryValue(const std::string& keyPath, const std::string& name, RegValue& value) {
  Key* key = Find(keyPath);
  NamedRegValue* found = key ? key->Value(name) : nullptr;
  if (!found) return false;
  value = found->value;
  return true;
}

bool FileRegistryHive::SetValue(const std::string& keyPath, const std::string& name, const RegValue& value) {
  Key* key = Find(keyPath);
  if (!key || HasLineBreak(name)) return false;
  if (NamedRegValue* existing = key->Value(name)) {
    existing->value = value;
  } else {
    key->values.push_back({name, value});
  }
  return Persist();
}

bool FileRegistryHive::EnumerateSubkeys(const std::string& keyPath, std::vector<std::string>& names) {
  names.clear();
  Key* key = Find(keyPath);
  if (!key) return false;
  for (const auto& child : key->subkeys) names.push_back(child->name);
  return true;
}

bool FileRegistryHive::EnumerateValues(const std::string& keyPath, std::vector<NamedRegValue>& values) {
  values.clear();
  Key* key = Find(keyPath);
  if (!key) return false;
  values = key->values;
  return true;
}

bool FileRegistryHive::DeleteValue(const std::string& keyPath, const std::string& name) {
  Key* key = Find(keyPath);
  if (!key) return false;
  for (auto it = key->values.begin(); it != key->values.end(); ++it) {
    if (EqualsIgnoreAsciiCase(it->name, name)) {
      key->values.erase(it);
      return Persist();
    }
  }
  return false;
}

bool FileRegistryHive::DeleteKeyTree(const std::string& keyPath) {
  std::vector<std::string> parts = SplitPath(keyPath);
  if (parts.empty()) return false;
  const std::string leaf = parts.back();
  parts.pop_back();
  Key* parent = root_.get();
  for (const auto& part : parts) {
    parent = parent->Child(part);
    if (!parent) return false;
  }
  for (auto it = parent->subkeys.begin(); it != parent->subkeys.end(); ++it) {
    if (EqualsIgnoreAsciiCase((*it)->name, leaf)) {
      parent->subkeys.erase(it);
      return Persist();
    }
  }
  return false;
}

void FileRegistryHive::Load() {
  std::ifstream in(filePath_, std::ios::binary);
  if (!in) return;
  Key* current = nullptr;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("K ", 0) == 0) {
      current = FindOrCreate(line.substr(2));
    } else if (line.rfind("V ", 0) == 0 && current) {
      std::istringstream fields(line.substr(2));
      std::uint32_t type = 0;
      std::string hex;
      if (!(fields >> type >> hex)) continue;
      std::string name;
      std::getline(fields, name);
      if (!name.empty() && name[0] == ' ') name.erase(0, 1);
      RegValue value{type, {}};
      if (!FromHex(hex, value.data) || current->Value(name)) continue;
      current->values.push_back({name, value});
    }
  }
}

bool FileRegistryHive::Persist() {
  std::ostringstream out;
  // Depth-first, parents before children, so that Load() rebuilds the same order.
  struct Walker {
    std::ostringstream& out;
    void Walk(const Key& key, const std::string& path) {
      if (!path.empty()) {
        out << "K " << path << '\n';
        for (const auto& value : key.values)
          out << "V " << value.value.type << ' ' << ToHex(value.value.data) << ' ' << value.name << '\n';
      }
      for (const auto& child : key.subkeys) Walk(*child, path.empty() ? child->name : path + "\\" + child->name);
    }
  } walker{out};
  walker.Walk(*root_, "");

  std::error_code ignored;
  const std::filesystem::path parent = std::filesystem::path(filePath_).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ignored);
  const std::string temp = filePath_ + ".tmp";
  {
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file << out.str();
    file.flush();
    if (!file) return false;
  }
  return std::rename(temp.c_str(), filePath_.c_str()) == 0;
}

}  // namespace veltrano
