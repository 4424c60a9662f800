// Values written by operations of their own, outside the save groups: the start-with-Windows Run
// value, the first-run flag, the traffic log path and the running instance's window handle.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry_hive.h"

namespace veltrano {

bool IsStartWithWindows(RegistryHive& currentUser);
// Writes "Veltrano" = exePath under the Run key, or deletes it; nothing when already as asked.
void SetStartWithWindows(RegistryHive& currentUser, bool on, const std::string& exePath);

// True once: when FirstRun is absent or non-zero it is set to 0 and the caller opens the help.
bool TakeFirstRun(RegistryHive& currentUser);

bool ReadTrafficLogPath(RegistryHive& hive, std::string& path);
void WriteTrafficLogPath(RegistryHive& hive, const std::string& path);

bool ReadMainWindowHandle(RegistryHive& currentUser, std::uint32_t& handle);

}  // namespace veltrano
