// Where the traffic log lives, and the file side of the log operations of the reports window:
// backup, use an existing log (copied under a free numbered name).
#pragma once

#include <string>

#include "platform/file_system.h"
#include "settings/settings_store.h"

namespace veltrano {

extern const char* const kLogFileName;  // "qxrsum_v2.log"

struct LogLocation {
  std::string path;
  bool customPath = false;  // taken from the TrafficLogFile setting
};

// Desktop: the setting, else the per-user application data folder + "Pellacor", else the
// executable's folder. A default path is stored as the setting (and mirrored while the service is
// enabled) so that the service logs to the same file.
LogLocation ResolveDesktopLogPath(SettingsStore& store, const Settings& settings, FileSystem& files);
// Service: the machine's setting, else the executable's folder.
LogLocation ResolveServiceLogPath(RegistryHive& localMachine, FileSystem& files);

enum class CopyResult { kSamePath, kCopied, kFailed };

// Copies the open log to target, overwriting it, whichever program writes the log; nothing when
// target is the log itself.
CopyResult BackupLog(FileSystem& files, const std::string& logPath, const std::string& target);
// Copies source beside the log shown in the window (the open one or one chosen to take effect at
// the next start), under the first free "<shown path without extension>_<n><extension>", named in
// newPath. Nothing when source is the open log.
CopyResult UseExistingLog(FileSystem& files, const std::string& openLogPath, const std::string& shownLogPath,
                          const std::string& source, std::string& newPath);

}  // namespace veltrano
