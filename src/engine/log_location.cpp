// Traffic log path resolution and the backup / use-existing file operations.
#include "engine/log_location.h"

#include <cstdint>
#include <memory>
#include <vector>

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

namespace {

// Copies through a reading handle that shares reading and writing, which Windows grants beside
// the log's writer (a plain file copy shares only reading, and is refused while a writer holds
// the file). A folder or an unreadable source fails; so does a short copy.
bool CopySharingWriters(FileSystem& files, const std::string& source, const std::string& target, FileMode targetMode) {
  if (files.IsDirectory(source)) return false;
  std::unique_ptr<File> in = files.Open(source, FileMode::kReader);
  if (!in) return false;
  const std::uint64_t size = in->Size();
  std::unique_ptr<File> out = files.Open(target, targetMode);
  if (!out) return false;
  std::vector<std::uint8_t> block(1 << 20);
  std::uint64_t offset = 0;
  for (;;) {
    const size_t read = in->ReadAt(offset, block.data(), block.size());
    if (read > 0 && !out->WriteAt(offset, block.data(), read)) return false;
    offset += read;
    if (read < block.size()) break;
  }
  return offset >= size && out->Flush();
}

}  // namespace

CopyResult BackupLog(FileSystem& files, const std::string& logPath, const std::string& target) {
  if (EqualsIgnoreAsciiCase(logPath, target)) return CopyResult::kSamePath;
  return CopySharingWriters(files, logPath, target, FileMode::kReplace) ? CopyResult::kCopied : CopyResult::kFailed;
}

CopyResult UseExistingLog(FileSystem& files, const std::string& openLogPath, const std::string& shownLogPath,
                          const std::string& source, std::string& newPath) {
  if (EqualsIgnoreAsciiCase(openLogPath, source)) return CopyResult::kSamePath;
  std::string stem, extension;
  SplitExtension(shownLogPath, stem, extension);
  for (int n = 1; n < kMaxNumberedNames; ++n) {
    const std::string candidate = stem + "_" + std::to_string(n) + extension;
    if (files.Exists(candidate)) continue;
    if (!CopySharingWriters(files, source, candidate, FileMode::kCreateNew)) return CopyResult::kFailed;
    newPath = candidate;
    return CopyResult::kCopied;
  }
  return CopyResult::kFailed;
}

}  // namespace veltrano
