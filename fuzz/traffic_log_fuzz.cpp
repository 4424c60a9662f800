// The traffic log read from whatever bytes are on disk, in each role: the desktop as writer (with
// repair and migration of an old log), the desktop as reader, the service as writer; then today's
// totals, a write and a reload, the period sums and the reports built over the same file.
//
// Input: flags, today (u16 year, month, day, day of week), the first day of the summed period
// (u16 year, month, day), a calendar byte (week and month start days, sum direction, and with
// the flags' bit 7 the watched row), the number of last days, the old log's length (u16) and
// bytes, and the rest as the log file.
#include <cstring>
#include <iterator>
#include <map>

#include "core/byte_codec.h"
#include "engine/adapter_table.h"
#include "engine/traffic_log.h"
#include "fakes/fake_interface_source.h"
#include "fuzz_support.h"
#include "platform/posix/posix_file_system.h"
#include "reports/report_periods.h"

namespace veltrano::fuzz {
namespace {

enum Flags : std::uint8_t {
  kRoleMask = 3,         // 0 and 3 desktop writer, 1 desktop reader, 2 service writer
  kCustomPath = 4,
  kNoLogFile = 8,
  kEnumerationFails = 16,
  kClearAtEnd = 32,
  kOldLogPresent = 64,
};

LogRole RoleOf(std::uint8_t flags) {
  switch (flags & kRoleMask) {
    case 1:
      return LogRole::kDesktopReader;
    case 2:
      return LogRole::kServiceWriter;
    default:
      return LogRole::kDesktopWriter;
  }
}

std::string Header() {
  std::string header(kLogHeaderSize, '\0');
  EncodeLogHeader(reinterpret_cast<std::uint8_t*>(header.data()));
  return header;
}

bool HasValidHeader(const std::string& bytes) {
  return IsValidLogHeader(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

DayRecord RecordAt(const std::string& bytes, size_t offset) {
  return DecodeDayRecord(reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset);
}

// What the migration must append: the old records of the aggregates, and those whose hardware
// address belongs to a current interface, under that interface's id.
std::string ExpectedMigration(const std::string& old, const testing::FakeInterfaceSource& source) {
  std::string out;
  for (size_t at = 0; at + kOldRecordSize <= old.size(); at += kOldRecordSize) {
    const auto* record = reinterpret_cast<const std::uint8_t*>(old.data()) + at;
    const auto kind = static_cast<std::int32_t>(LoadU32(record + 12));
    std::string id;
    if (kind != kAllConnections && kind != kDialUpConnections) {
      bool found = false;
      for (const auto& interface : source.interfaces) {
        std::uint8_t address[8] = {};
        std::memcpy(address, interface.record.address.data(), interface.record.addressLength);
        if (std::memcmp(address, record + 16, 8) == 0) {
          id = DeriveAdapterId(interface.record);
          found = true;
          break;
        }
      }
      if (!found) continue;
    }
    std::string migrated(kDayRecordSize, '\0');
    std::memcpy(migrated.data(), record, 12);
    std::memcpy(migrated.data() + 12, record + 12, 4);
    std::memcpy(migrated.data() + 16, id.data(), id.size());
    std::memcpy(migrated.data() + 280, record + 24, 16);
    out += migrated;
  }
  return out;
}

AdapterList MakeRows(const testing::FakeInterfaceSource& source) {
  AdapterList rows;
  rows.emplace_back().kind = kAllConnections;
  rows.emplace_back().kind = kDialUpConnections;
  for (const auto& interface : source.interfaces) {
    AdapterEntry& row = rows.emplace_back();
    row.kind = kInterfaceAdapter;
    row.id = DeriveAdapterId(interface.record);
  }
  return rows;
}

struct DayTotals {
  std::uint64_t in = 0;
  std::uint64_t out = 0;
  std::int64_t offset = -1;
};

// Today's totals per row as the file holds them: the last record of the day wins.
std::vector<DayTotals> ExpectedToday(const std::string& bytes, AdapterList& rows, const LogDate& today) {
  std::vector<DayTotals> totals(rows.size());
  for (size_t at = kLogHeaderSize; at + kDayRecordSize <= bytes.size(); at += kDayRecordSize) {
    const DayRecord record = RecordAt(bytes, at);
    if (record.Date() != today) continue;
    size_t index = 0;
    for (const auto& row : rows) {
      if (SameAdapter(record.kind, record.id, row)) {
        totals[index] = {record.received, record.sent, static_cast<std::int64_t>(at)};
        break;
      }
      ++index;
    }
  }
  return totals;
}

void CheckToday(AdapterList& rows, const std::vector<DayTotals>& expected) {
  size_t index = 0;
  for (const auto& row : rows) {
    FUZZ_CHECK(row.todayIn == expected[index].in);
    FUZZ_CHECK(row.todayOut == expected[index].out);
    FUZZ_CHECK(static_cast<std::int64_t>(row.dayRecordOffset) == expected[index].offset);
    ++index;
  }
}

std::uint64_t ExpectedSum(const std::string& bytes, const AdapterEntry& row, const LogDate& first,
                          const LogDate& last, SumDirection direction) {
  if (!(first < last)) return 0;
  std::uint64_t sum = 0;
  for (size_t at = kLogHeaderSize; at + kDayRecordSize <= bytes.size(); at += kDayRecordSize) {
    const DayRecord record = RecordAt(bytes, at);
    if (record.kind != row.kind || (row.kind == kInterfaceAdapter && record.id != row.id)) continue;
    if (record.Date() < first || last < record.Date() || record.Date() == last) continue;
    if (direction != SumDirection::kSent) sum += record.received;
    if (direction != SumDirection::kReceived) sum += record.sent;
  }
  return sum;
}

// Weekly and monthly rows and the summary's total each hold every day of the adapter once.
void CheckReports(TrafficLog& log, const AdapterEntry& row, const LocalTime& today, std::uint32_t weekStart,
                  std::uint32_t monthStart, std::uint32_t lastDays) {
  ReportInput input;
  input.kind = row.kind;
  input.id = row.id;
  input.todayIn = row.todayIn;
  input.todayOut = row.todayOut;
  input.today = LogDate::Of(today);
  input.todayDayOfWeek = today.dayOfWeek;
  input.weekStartDay = weekStart;
  input.monthStartDay = monthStart;
  input.sumLastDays = lastDays;
  const auto total = [](const std::vector<PeriodRow>& rows) {
    std::uint64_t in = 0, out = 0;
    for (const auto& periodRow : rows) {
      in += periodRow.downloaded;
      out += periodRow.uploaded;
    }
    return std::make_pair(in, out);
  };
  const auto daily = BuildDailyRows(input, log);
  const auto weekly = BuildWeeklyRows(input, log);
  const auto monthly = BuildMonthlyRows(input, log);
  const SummaryTotals summary = BuildSummary(input, log);
  RowsRange(daily);
  RowsRange(weekly);
  RowsRange(monthly);
  const auto summaryTotal = std::make_pair(summary.lines[kTotal].downloaded, summary.lines[kTotal].uploaded);
  FUZZ_CHECK(total(weekly) == summaryTotal);
  FUZZ_CHECK(total(monthly) == summaryTotal);
}

}  // namespace
}  // namespace veltrano::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace veltrano;
  using namespace veltrano::fuzz;
  InputReader input(data, size);
  const std::uint8_t flags = input.Byte();
  LocalTime today;
  today.year = input.U16();
  today.month = input.Byte();
  today.day = input.Byte();
  today.dayOfWeek = input.Byte() % 7;
  LogDate first;
  first.year = input.U16();
  first.month = input.Byte();
  first.day = input.Byte();
  const std::uint8_t calendar = input.Byte();
  const std::uint32_t weekStart = calendar % 7, monthStart = 1 + calendar % 31, lastDays = input.Byte();
  const std::string old = input.Bytes(input.U16());
  const std::string original = input.Rest();

  const auto& folder = FreshScratchFolder();
  const std::string path = (folder / "qxrsum_v2.log").string();
  const bool present = !(flags & kNoLogFile);
  if (present) WriteWholeFile(path, original);
  if (flags & kOldLogPresent) WriteWholeFile(folder / "qxrsum.log", old);

  testing::FakeInterfaceSource source;
  source.Add("{4D36E972-E325-11CE-BFC1-08002BE10318}", 1);
  source.Add("eth7", 7);
  source.failEnumeration = flags & kEnumerationFails;

  PosixFileSystem files;
  LogOpenOptions options;
  options.role = RoleOf(flags);
  options.customPath = flags & kCustomPath;
  options.migrationSource = &source;
  TrafficLog log(files);
  const bool opened = log.Open(path, options);
  const std::string afterOpen = present || opened ? ReadWholeFile(path) : std::string();

  if (options.role == LogRole::kDesktopReader) {
    // A reader never changes a byte, and takes only a file that is a log.
    FUZZ_CHECK(opened == (present && HasValidHeader(original)));
    FUZZ_CHECK(present ? afterOpen == original : !std::filesystem::exists(path));
  } else {
    FUZZ_CHECK(opened);
    if (present && !original.empty() && HasValidHeader(original)) {
      FUZZ_CHECK(afterOpen == original);
    } else if (present && !original.empty()) {
      FUZZ_CHECK(afterOpen == Header());
      FUZZ_CHECK(log.DamagedCopyPath() == path + ".damaged");
      FUZZ_CHECK(ReadWholeFile(log.DamagedCopyPath()) == original);
    } else {
      const bool migrates = options.role == LogRole::kDesktopWriter && !options.customPath &&
                            (flags & kOldLogPresent) && !source.failEnumeration;
      FUZZ_CHECK(afterOpen == Header() + (migrates ? ExpectedMigration(old, source) : std::string()));
    }
  }
  if (!opened) return 0;

  AdapterList rows = MakeRows(source);
  log.LoadToday(rows, today);
  CheckToday(rows, ExpectedToday(afterOpen, rows, LogDate::Of(today)));

  // Every scan reads a block of a megabyte: one watched row per input keeps the runs quick.
  const SumDirection direction = static_cast<SumDirection>(calendar % 3);
  const AdapterEntry& watched = *std::next(rows.begin(), static_cast<long>((flags >> 7) + 2 * (calendar & 1)));
  FUZZ_CHECK(log.SumRange(watched.kind, watched.id, first, LogDate::Of(today), LogDate::Of(today), direction) ==
             ExpectedSum(afterOpen, watched, first, LogDate::Of(today), direction));
  CheckReports(log, watched, today, weekStart, monthStart, lastDays);

  if (!log.IsWriter()) {
    FUZZ_CHECK(!log.WriteToday(rows, today));
    log.ClearLog(rows);
    FUZZ_CHECK(ReadWholeFile(path) == original);
    for (const auto& row : rows) FUZZ_CHECK(row.todayIn == 0 && row.todayOut == 0 && row.dayRecordOffset == -1);
    return 0;
  }

  // A write keeps every other record, and a later run reads back what was written.
  std::map<std::int64_t, bool> rewritten;
  std::uint64_t add = 1;
  for (auto& row : rows) {
    row.todayIn += add;
    row.todayOut += add * 3;
    add *= 1000;
  }
  FUZZ_CHECK(log.WriteToday(rows, today));
  for (const auto& row : rows) rewritten[row.dayRecordOffset] = true;
  const std::string afterWrite = ReadWholeFile(path);
  for (size_t at = kLogHeaderSize; at + kDayRecordSize <= afterOpen.size(); at += kDayRecordSize) {
    if (!rewritten.count(static_cast<std::int64_t>(at)))
      FUZZ_CHECK(afterWrite.compare(at, kDayRecordSize, afterOpen, at, kDayRecordSize) == 0);
  }
  log.Close();

  TrafficLog again(files);
  FUZZ_CHECK(again.Open(path, options));
  FUZZ_CHECK(ReadWholeFile(path) == afterWrite);
  AdapterList reloaded = MakeRows(source);
  again.LoadToday(reloaded, today);
  for (auto written = rows.begin(), read = reloaded.begin(); written != rows.end(); ++written, ++read) {
    FUZZ_CHECK(read->todayIn == written->todayIn);
    FUZZ_CHECK(read->todayOut == written->todayOut);
    FUZZ_CHECK(read->dayRecordOffset == written->dayRecordOffset);
  }

  if (flags & kClearAtEnd) {
    again.ClearLog(reloaded);
    // The header stays as it was, reserved bytes included.
    FUZZ_CHECK(ReadWholeFile(path) == afterWrite.substr(0, kLogHeaderSize));
    for (const auto& row : reloaded) FUZZ_CHECK(row.todayIn == 0 && row.todayOut == 0 && row.dayRecordOffset == -1);
  }
  return 0;
}
