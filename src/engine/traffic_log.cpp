// Opening, repair, migration and the day-record bookkeeping of the traffic log.
#include "engine/traffic_log.h"

#include <array>
#include <cstring>
#include <vector>

#include "core/byte_codec.h"
#include "engine/adapter_table.h"

namespace veltrano {
namespace {

// Records per block read: about a megabyte, a whole number of records.
constexpr size_t kRecordsPerBlock = 3542;
constexpr size_t kCopyChunk = 1 << 20;
constexpr int kMaxDamagedCopies = 1000;

std::string OldLogPath(const std::string& path) {
  const std::string current = "qxrsum_v2.log";
  const size_t at = path.rfind(current);
  if (at == std::string::npos) return {};
  return path.substr(0, at) + "qxrsum.log" + path.substr(at + current.size());
}

void ResetDayTotals(AdapterList& rows) {
  for (auto& row : rows) {
    row.todayIn = row.todayOut = 0;
    row.dayRecordOffset = -1;
  }
}

}  // namespace

AdapterEntry* FindRowForRecord(AdapterList& rows, std::int32_t kind, std::string_view id) {
  for (auto& row : rows)
    if (SameAdapter(kind, id, row)) return &row;
  return nullptr;
}

bool TrafficLog::Open(const std::string& path, const LogOpenOptions& options) {
  Close();
  path_ = path;
  role_ = options.role;
  damagedCopy_.clear();
  failing_ = false;
  if (!OpenFile(options)) return false;
  if (role_ == LogRole::kDesktopReader) {
    std::uint8_t header[kLogHeaderSize];
    if (file_->Size() == 0 || !IsValidLogHeader(header, file_->ReadAt(0, header, sizeof header))) {
      Close();
      return false;
    }
    return true;
  }
  if (!PrepareWriter(options)) {
    Close();
    return false;
  }
  return true;
}

void TrafficLog::Close() {
  file_.reset();
}

// The desktop writer may find the file held by a service that has not yet let go of it.
bool TrafficLog::OpenFile(const LogOpenOptions& options) {
  const FileMode mode = role_ == LogRole::kDesktopReader ? FileMode::kReader : FileMode::kWriter;
  for (int stops = 0;; ++stops) {
    file_ = files_.Open(path_, mode);
    if (file_) return true;
    if (role_ != LogRole::kDesktopWriter || !options.serviceManager || stops >= options.maxServiceStops) return false;
    const ServiceState state = options.serviceManager->QueryState(kServiceName);
    if (state != ServiceState::kStartPending && state != ServiceState::kRunning) return false;
    options.serviceManager->Stop(kServiceName);
  }
}

bool TrafficLog::PrepareWriter(const LogOpenOptions& options) {
  if (file_->Size() == 0) {
    if (!WriteHeader()) return false;
    if (role_ == LogRole::kDesktopWriter && !options.customPath && options.migrationSource)
      MigrateOldLog(*options.migrationSource);
    return true;
  }
  std::uint8_t header[kLogHeaderSize];
  if (IsValidLogHeader(header, file_->ReadAt(0, header, sizeof header))) return true;
  // A damaged or foreign file is replaced by an empty log, but its bytes are kept beside it.
  return KeepDamagedCopy() && file_->Truncate(0) && WriteHeader();
}

bool TrafficLog::KeepDamagedCopy() {
  for (int n = 0; n < kMaxDamagedCopies; ++n) {
    const std::string name = path_ + ".damaged" + (n == 0 ? std::string() : "_" + std::to_string(n));
    if (files_.Exists(name)) continue;
    std::unique_ptr<File> copy = files_.Open(name, FileMode::kCreateNew);
    if (!copy) return false;
    std::vector<std::uint8_t> chunk(kCopyChunk);
    const std::uint64_t size = file_->Size();
    for (std::uint64_t offset = 0; offset < size;) {
      const size_t read = file_->ReadAt(offset, chunk.data(), chunk.size());
      if (read == 0 || !copy->WriteAt(offset, chunk.data(), read)) return false;
      offset += read;
    }
    if (!copy->Flush()) return false;
    damagedCopy_ = name;
    return true;
  }
  return false;
}

bool TrafficLog::WriteHeader() {
  std::uint8_t header[kLogHeaderSize];
  EncodeLogHeader(header);
  return file_->WriteAt(0, header, sizeof header) && file_->Flush();
}

// Old records carry the hardware address; today's interfaces give the id that address now has.
void TrafficLog::MigrateOldLog(InterfaceSource& source) {
  const std::string oldPath = OldLogPath(path_);
  std::unique_ptr<File> old = oldPath.empty() ? nullptr : files_.Open(oldPath, FileMode::kReader);
  if (!old) return;
  std::vector<AdapterRecord> adapters;
  if (!source.GetAdaptersInfo(adapters)) return;

  std::uint64_t appendAt = AppendOffset();
  std::array<std::uint8_t, kOldRecordSize> oldRecord;
  for (std::uint64_t offset = 0; old->ReadAt(offset, oldRecord.data(), kOldRecordSize) == kOldRecordSize;
       offset += kOldRecordSize) {
    const auto kind = static_cast<std::int32_t>(LoadU32(oldRecord.data() + 12));
    std::string id;
    if (kind != kAllConnections && kind != kDialUpConnections) {
      const AdapterRecord* match = nullptr;
      for (const auto& adapter : adapters) {
        std::array<std::uint8_t, 8> address{};
        std::memcpy(address.data(), adapter.address.data(), adapter.addressLength < 8 ? adapter.addressLength : 8);
        if (std::memcmp(address.data(), oldRecord.data() + 16, 8) == 0) {
          match = &adapter;
          break;
        }
      }
      if (!match) continue;
      id = DeriveAdapterId(*match);
    }
    std::uint8_t record[kDayRecordSize] = {};
    std::memcpy(record, oldRecord.data(), 12);  // the date block is the same
    StoreU32(record + 12, static_cast<std::uint32_t>(kind));
    std::memcpy(record + 16, id.data(), id.size() < 260 ? id.size() : 259);
    std::memcpy(record + 280, oldRecord.data() + 24, 16);  // received, sent
    if (!file_->WriteAt(appendAt, record, kDayRecordSize)) break;
    appendAt += kDayRecordSize;
  }
  file_->Flush();
}

// The end of the last whole record: a fragment left by an interrupted append is overwritten.
std::uint64_t TrafficLog::AppendOffset() {
  const std::uint64_t size = file_->Size();
  if (size < kLogHeaderSize) return kLogHeaderSize;
  return kLogHeaderSize + (size - kLogHeaderSize) / kDayRecordSize * kDayRecordSize;
}

void TrafficLog::LoadToday(AdapterList& rows, const LocalTime& today) {
  ResetDayTotals(rows);
  if (!file_) return;
  const LogDate date = LogDate::Of(today);
  ForEachRecord([&](const DayRecord& record, std::uint64_t offset) {
    if (record.Date() != date) return;
    if (AdapterEntry* row = FindRowForRecord(rows, record.kind, record.id)) {
      row->todayIn = record.received;
      row->todayOut = record.sent;
      row->dayRecordOffset = static_cast<std::int64_t>(offset);
    }
  });
}

void TrafficLog::TakeUpToday(const std::vector<AdapterEntry*>& joined, const LocalTime& today) {
  if (!file_ || joined.empty()) return;
  const LogDate date = LogDate::Of(today);
  ForEachRecord([&](const DayRecord& record, std::uint64_t offset) {
    if (record.Date() != date) return;
    for (AdapterEntry* row : joined) {
      if (!SameAdapter(record.kind, record.id, *row)) continue;
      row->todayIn = record.received;
      row->todayOut = record.sent;
      row->dayRecordOffset = static_cast<std::int64_t>(offset);
      return;
    }
  });
}

bool TrafficLog::WriteToday(AdapterList& rows, const LocalTime& today) {
  if (!IsWriter()) return false;
  bool detached = !file_->IsStillAt(path_);
  const bool recreated = detached && Recreate(rows, today);
  if (recreated) detached = false;
  // Records written into a file that no longer has a name would be lost with it.
  const bool written = WriteRecords(rows, today) && !detached;
  NoteWrite(written);
  if (recreated && watcher_) watcher_(LogWriteEvent::kRecreated);
  return written;
}

// Records already in the file are rewritten in place; new ones are appended one after another.
// An append that does not fit (a full disk) is cut back off, so the file never ends in part of a
// record, and the rows without a record try again at the next write with their totals.
bool TrafficLog::WriteRecords(AdapterList& rows, const LocalTime& today) {
  std::uint64_t appendAt = AppendOffset();
  bool ok = true;
  bool appending = true;
  for (auto& row : rows) {
    std::uint8_t record[kDayRecordSize];
    EncodeDayRecord(record, today, row.kind, row.id, row.todayIn, row.todayOut);
    if (row.dayRecordOffset >= 0) {
      ok = file_->WriteAt(static_cast<std::uint64_t>(row.dayRecordOffset), record, kDayRecordSize) && ok;
      continue;
    }
    if (appending && file_->WriteAt(appendAt, record, kDayRecordSize)) {
      row.dayRecordOffset = static_cast<std::int64_t>(appendAt);
      appendAt += kDayRecordSize;
      continue;
    }
    if (appending) file_->Truncate(appendAt);
    appending = false;
    ok = false;
  }
  return file_->Flush() && ok;
}

// The file was deleted or replaced while it was open (by a user, a disk cleaner): the log is made
// again at its path as at start-up, where a foreign file is kept aside. Today's totals are the
// ones counted in memory; they take up any records of today that a restored log already holds.
bool TrafficLog::Recreate(AdapterList& rows, const LocalTime& today) {
  std::unique_ptr<File> old = std::move(file_);
  LogOpenOptions options;
  options.role = role_;
  options.customPath = true;  // nothing to migrate into a log made again
  damagedCopy_.clear();
  if (!OpenFile(options) || !PrepareWriter(options)) {
    file_ = std::move(old);
    return false;
  }
  for (auto& row : rows) row.dayRecordOffset = -1;
  const LogDate date = LogDate::Of(today);
  ForEachRecord([&](const DayRecord& record, std::uint64_t offset) {
    if (record.Date() != date) return;
    if (AdapterEntry* row = FindRowForRecord(rows, record.kind, record.id))
      row->dayRecordOffset = static_cast<std::int64_t>(offset);
  });
  return true;
}

// A run of failures is told once, and so is its end: a full disk fails every write until freed.
void TrafficLog::NoteWrite(bool written) {
  if (written == !failing_) return;
  failing_ = !written;
  if (watcher_) watcher_(written ? LogWriteEvent::kWriteResumed : LogWriteEvent::kWriteFailed);
}

void TrafficLog::ForEachRecord(const std::function<void(const DayRecord&, std::uint64_t offset)>& visit) {
  if (!file_) return;
  std::vector<std::uint8_t> block(kRecordsPerBlock * kDayRecordSize);
  for (std::uint64_t offset = kLogHeaderSize;;) {
    const size_t read = file_->ReadAt(offset, block.data(), block.size());
    const size_t whole = read / kDayRecordSize;
    for (size_t i = 0; i < whole; ++i)
      visit(DecodeDayRecord(block.data() + i * kDayRecordSize), offset + i * kDayRecordSize);
    if (read < block.size()) return;
    offset += read;
  }
}

std::uint64_t TrafficLog::SumRange(std::int32_t kind, const AdapterId& id, const LogDate& first, const LogDate& last,
                                   const LogDate& today, SumDirection direction) {
  if (!(first < last)) return 0;
  std::uint64_t sum = 0;
  ForEachRecord([&](const DayRecord& record, std::uint64_t) {
    const LogDate date = record.Date();
    if (record.kind != kind || (kind == kInterfaceAdapter && record.id != id)) return;
    if (date < first || last < date || date == today) return;
    if (direction != SumDirection::kSent) sum += record.received;
    if (direction != SumDirection::kReceived) sum += record.sent;
  });
  return sum;
}

void TrafficLog::ClearLog(AdapterList& rows) {
  if (IsWriter() && file_->Truncate(kLogHeaderSize)) file_->Flush();
  ResetDayTotals(rows);
}

}  // namespace veltrano
