// Win32 registry hive. Every call opens the key it needs and closes it again: the settings
// store touches the registry at start, on save and at exit, never in a loop.
#include "platform/win32/win32_registry_hive.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

class KeyHandle {
 public:
  KeyHandle() = default;
  ~KeyHandle() {
    if (key_) RegCloseKey(key_);
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  HKEY* Out() { return &key_; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

HKEY RootKey(RegistryRoot root) { return root == RegistryRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

bool Open(RegistryRoot root, const std::string& keyPath, REGSAM access, KeyHandle& key) {
  return RegOpenKeyExW(RootKey(root), Widen(keyPath).c_str(), 0, access, key.Out()) == ERROR_SUCCESS;
}

}  // namespace

bool Win32RegistryHive::KeyExists(const std::string& keyPath) {
  KeyHandle key;
  return Open(root_, keyPath, KEY_QUERY_VALUE, key);
}

bool Win32RegistryHive::CreateKey(const std::string& keyPath) {
  KeyHandle key;
  return RegCreateKeyExW(RootKey(root_), Widen(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                         nullptr, key.Out(), nullptr) == ERROR_SUCCESS;
}

bool Win32RegistryHive::QueryValue(const std::string& keyPath, const std::string& name, RegValue& value) {
  KeyHandle key;
  if (!Open(root_, keyPath, KEY_QUERY_VALUE, key)) return false;
  const std::wstring wideName = Widen(name);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  Bytes data(size);
  if (RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(), &size) !=
      ERROR_SUCCESS)
    return false;
  data.resize(size);
  value.type = type;
  value.data = std::move(data);
  return true;
}

bool Win32RegistryHive::SetValue(const std::string& keyPath, const std::string& name, const RegValue& value) {
  KeyHandle key;
  if (!Open(root_, keyPath, KEY_SET_VALUE, key)) return false;
  return RegSetValueExW(key.Get(), Widen(name).c_str(), 0, value.type, value.data.data(),
                        static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool Win32RegistryHive::EnumerateSubkeys(const std::string& keyPath, std::vector<std::string>& names) {
  names.clear();
  KeyHandle key;
  if (!Open(root_, keyPath, KEY_ENUMERATE_SUB_KEYS, key)) return false;
  for (DWORD index = 0;; ++index) {
    wchar_t name[1024];
    DWORD length = 1024;
    if (RegEnumKeyExW(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(Narrow(name, length));
  }
  return true;
}

bool Win32RegistryHive::EnumerateValues(const std::string& keyPath, std::vector<NamedRegValue>& values) {
  values.clear();
  KeyHandle key;
  if (!Open(root_, keyPath, KEY_QUERY_VALUE, key)) return false;
  DWORD maxName = 0, maxData = 0;
  if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return false;
  std::wstring name(maxName + 1, L'\0');
  Bytes data(maxData + 1);
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueW(key.Get(), index, &name[0], &nameLength, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS)
      break;
    values.push_back({Narrow(name.data(), nameLength), {type, Bytes(data.begin(), data.begin() + dataSize)}});
  }
  return true;
}

bool Win32RegistryHive::DeleteValue(const std::string& keyPath, const std::string& name) {
  KeyHandle key;
  if (!Open(root_, keyPath, KEY_SET_VALUE, key)) return false;
  return RegDeleteValueW(key.Get(), Widen(name).c_str()) == ERROR_SUCCESS;
}

bool Win32RegistryHive::DeleteKeyTree(const std::string& keyPath) {
  if (!KeyExists(keyPath)) return false;
  return RegDeleteTreeW(RootKey(root_), Widen(keyPath).c_str()) == ERROR_SUCCESS;
}

}  // namespace veltrano
