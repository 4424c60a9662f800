// Traffic log path resolution and the backup / use-existing file operations.
#include "engine/log_location.h"

#include "core/paths.h"
#include "core/text.h"
#include "platform/system_text.h"
#include "settings/standalone_values.h"

namespace veltrano {

const char* const kLogFileName = "qxrsum_v2.log";

namespace {

// TrafficLogFile holds at most 260 characters as each program reads it: UTF-16 code units in the
// desktop, bytes of the ANSI code page in the service. Our UTF-8 is longer for most non-ASCII
// text, so it is never the measure.
constexpr size_t kMaxPathChars = 260;

bool FitsDesktopPath(const std::string& path) { return Utf8ToUtf16(path).size() <= kMaxPathChars; }
bool FitsServicePath(const std::string& path) { return Utf8ToSystemAnsi(path).size() <= kMaxPathChars; }

constexpr int kMaxNumberedNames = 100000;

std::string DefaultLogFolder(FileSystem& files) {
  const std::string appData = files.AppDataFolder();
  if (!appData.empty()) {
    const std::string folder = appData + kPathSeparator + "Pellacor";
    if (files.IsDirectory(folder) || files.MakeDirectory(folder)) return folder + kPathSeparator;
  }
  return files.ExecutableFolder();
}

}  // namespace

LogLocation ResolveDesktopLogPath(SettingsStore& store, const Settings& settings, FileSystem& files) {
  LogLocation location;
  if (ReadTrafficLogPath(store.CurrentUser(), location.path) && FitsDesktopPath(location.path)) {
    location.customPath = true;
    return location;
  }
  location.path = DefaultLogFolder(files) + kLogFileName;
  WriteTrafficLogPath(store.CurrentUser(), location.path);
  if (settings.service.serviceEnabled) WriteTrafficLogPath(store.LocalMachine(), location.path);
  return location;
}

LogLocation ResolveServiceLogPath(RegistryHive& localMachine, FileSystem& files) {
  LogLocation location;
  if (ReadTrafficLogPath(localMachine, location.path) && FitsServicePath(location.path)) {
    location.customPath = true;
    return location;
  }
  location.path = files.ExecutableFolder() + kLogFileName;
  return location;
}

CopyResult BackupLog(FileSystem& files, const std::string& logPath, const std::string& target) {
  if (EqualsIgnoreAsciiCase(logPath, target)) return CopyResult::kSamePath;
  return files.CopyFileTo(logPath, target, false) ? CopyResult::kCopied : CopyResult::kFailed;
}

CopyResult UseExistingLog(FileSystem& files, const std::string& logPath, const std::string& source,
                          std::string& newPath) {
  if (EqualsIgnoreAsciiCase(logPath, source)) return CopyResult::kSamePath;
  std::string stem, extension;
  SplitExtension(logPath, stem, extension);
  for (int n = 1; n < kMaxNumberedNames; ++n) {
    const std::string candidate = stem + "_" + std::to_string(n) + extension;
    if (files.Exists(candidate)) continue;
    if (!files.CopyFileTo(source, candidate, true)) return CopyResult::kFailed;
    newPath = candidate;
    return CopyResult::kCopied;
  }
  return CopyResult::kFailed;
}

}  // namespace veltrano
