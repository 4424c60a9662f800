// Run value, first-run flag, traffic log path and instance handle.
#include "settings/standalone_values.h"

#include "core/text.h"
#include "settings/registry_values.h"

namespace veltrano {
namespace {

const std::string kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kRunValueName = "Veltrano";
const std::string kOptionsKey = SettingsKey("Options");

}  // namespace

// Other programs' values under Run may have any length; they never hide ours.
bool IsStartWithWindows(RegistryHive& currentUser) {
  std::vector<NamedRegValue> values;
  if (!currentUser.EnumerateValues(kRunKey, values)) return false;
  for (const auto& value : values)
    if (EqualsIgnoreAsciiCase(value.name, kRunValueName)) return true;
  return false;
}

void SetStartWithWindows(RegistryHive& currentUser, bool on, const std::string& exePath) {
  if (IsStartWithWindows(currentUser) == on || !currentUser.CreateKey(kRunKey)) return;
  if (on) {
    WriteString(currentUser, kRunKey, kRunValueName, exePath);
  } else {
    currentUser.DeleteValue(kRunKey, kRunValueName);
  }
}

bool TakeFirstRun(RegistryHive& currentUser) {
  if (!currentUser.CreateKey(kOptionsKey)) return false;
  std::uint32_t firstRun = 1;
  ReadDword(currentUser, kOptionsKey, "FirstRun", firstRun);
  if (firstRun == 0) return false;
  WriteDword(currentUser, kOptionsKey, "FirstRun", 0);
  return true;
}

bool ReadTrafficLogPath(RegistryHive& hive, std::string& path) {
  std::string stored;
  if (!ReadString(hive, kOptionsKey, "TrafficLogFile", stored) || stored.empty()) return false;
  path = stored;
  return true;
}

void WriteTrafficLogPath(RegistryHive& hive, const std::string& path) {
  if (hive.CreateKey(kOptionsKey)) WriteString(hive, kOptionsKey, "TrafficLogFile", path);
}

bool ReadMainWindowHandle(RegistryHive& currentUser, std::uint32_t& handle) {
  return ReadDword(currentUser, kOptionsKey, "HWND", handle);
}

}  // namespace veltrano
