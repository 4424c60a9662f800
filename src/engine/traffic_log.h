// The traffic log file: one writer at a time (the desktop, or the service while it is enabled),
// readers alongside. Keeps per row the offset of today's record so that a day's totals are
// rewritten in place.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/adapter_entry.h"
#include "engine/day_record.h"
#include "platform/file_system.h"
#include "platform/interface_source.h"
#include "platform/service_manager.h"

namespace veltrano {

enum class LogRole {
  kDesktopWriter,  // the desktop while the service is disabled
  kDesktopReader,  // the desktop while the service owns the log: never writes, never repairs
  kServiceWriter,
};

struct LogOpenOptions {
  LogRole role = LogRole::kDesktopWriter;
  bool customPath = false;                     // the path came from the settings: no migration
  InterfaceSource* migrationSource = nullptr;  // current interfaces, to match old records
  ServiceManager* serviceManager = nullptr;    // desktop writer: stops a service holding the file
  int maxServiceStops = 5;
};

// What happened to the writer's file at a write, for the owner to tell its user or its log.
enum class LogWriteEvent {
  kWriteFailed,   // the first failed write of a run of them: a full disk, a file made read-only
  kWriteResumed,  // the first whole write after such a run
  kRecreated,     // the file had been deleted or replaced: made again, today's records written there
};

enum class SumDirection { kReceived = 0, kSent = 1, kBoth = 2 };

class TrafficLog {
 public:
  explicit TrafficLog(FileSystem& files) : files_(files) {}

  bool Open(const std::string& path, const LogOpenOptions& options);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }
  bool IsWriter() const { return file_ && role_ != LogRole::kDesktopReader; }
  // The last write failed: today's records wait in memory for the next one.
  bool WriteFailing() const { return failing_; }
  const std::string& Path() const { return path_; }
  // Where a damaged log was kept before it was replaced; empty when none was.
  const std::string& DamagedCopyPath() const { return damagedCopy_; }
  // Told of failed and resumed writes and of a log made again; called on the writing thread.
  void SetWriteWatcher(std::function<void(LogWriteEvent)> watcher) { watcher_ = std::move(watcher); }

  // Resets every row's day totals, then takes those stored for `today`.
  void LoadToday(AdapterList& rows, const LocalTime& today);
  // Rows that joined the table after LoadToday (an interface reported late after a boot, a VPN
  // or USB adapter plugged in) take up the record stored for them today, totals and offset, as
  // if they had been there when today was loaded: one record per adapter and day, always.
  void TakeUpToday(const std::vector<AdapterEntry*>& joined, const LocalTime& today);
  // Writes every row's record for `today` (appending records for rows that have none yet) and
  // flushes to disk. Nothing without a log or in the reader role. An append that does not fit is
  // cut off again and retried at the next write; a log deleted or replaced meanwhile is made
  // again first.
  bool WriteToday(AdapterList& rows, const LocalTime& today);

  // Every whole record in file order, read in large blocks; a trailing fragment is ignored.
  void ForEachRecord(const std::function<void(const DayRecord&, std::uint64_t offset)>& visit);
  // Sum over the adapter's records dated first..last, today excluded; 0 unless first < last.
  std::uint64_t SumRange(std::int32_t kind, const AdapterId& id, const LogDate& first, const LogDate& last,
                         const LogDate& today, SumDirection direction);

  // Cuts the file back to its header (writer only) and resets every row's day totals.
  void ClearLog(AdapterList& rows);

 private:
  bool OpenFile(const LogOpenOptions& options);
  bool PrepareWriter(const LogOpenOptions& options);
  bool KeepDamagedCopy();
  bool WriteHeader();
  void MigrateOldLog(InterfaceSource& source);
  std::uint64_t AppendOffset();
  bool Recreate(AdapterList& rows, const LocalTime& today);
  bool WriteRecords(AdapterList& rows, const LocalTime& today);
  void NoteWrite(bool written);

  FileSystem& files_;
  std::unique_ptr<File> file_;
  std::string path_;
  std::string damagedCopy_;
  LogRole role_ = LogRole::kDesktopWriter;
  bool failing_ = false;
  std::function<void(LogWriteEvent)> watcher_;
};

// Rows to match a record against: the first row of the same kind (and, for interfaces, id).
AdapterEntry* FindRowForRecord(AdapterList& rows, std::int32_t kind, std::string_view id);

}  // namespace veltrano
