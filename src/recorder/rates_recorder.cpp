// Rates recording files.
#include "recorder/rates_recorder.h"

#include <cinttypes>
#include <cstdio>

#include "core/paths.h"
#include "core/text.h"
#include "engine/adapter_table.h"
#include "platform/system_text.h"
#include "reports/report_export.h"
#include "reports/value_format.h"

namespace veltrano {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The end of the part of a path that names no folder of its own and so is never created or asked
// about: "\\?\" or "\\.\" (and "UNC\" after it), then a UNC path's "\\server\share\".
size_t RootLength(const std::string& path) {
  size_t root = 0;
  if (path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) && (path[2] == '?' || path[2] == '.') &&
      IsSeparator(path[3])) {
    root = 4;
    if (path.compare(root, 4, "UNC\\") != 0 && path.compare(root, 4, "UNC/") != 0) return root;
    root += 4;
  } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    root = 2;
  } else {
    return 0;
  }
  // Server, then share: two names, each up to its separator.
  for (int name = 0; name < 2; ++name) {
    while (root < path.size() && !IsSeparator(path[root])) ++root;
    if (root < path.size()) ++root;
  }
  return root;
}

// Creates every missing folder of `folder`, from the outermost in.
bool MakeDirectories(FileSystem& files, const std::string& folder) {
  const size_t root = RootLength(folder);
  for (size_t at = folder.find_first_of("\\/", root); at != std::string::npos;
       at = folder.find_first_of("\\/", at + 1)) {
    const std::string level = folder.substr(0, at + 1);
    if (level.size() > 1 && level.back() != ':' && !files.IsDirectory(level) && !files.MakeDirectory(level)) {
      if (!files.IsDirectory(level)) return false;
    }
  }
  return folder.empty() || files.IsDirectory(folder);
}

}  // namespace

bool IsCsvRecordingFile(const std::string& path) {
  return EqualsIgnoreAsciiCase(ExtensionAfterFolder(path), ".csv");
}

bool RatesRecorder::Open(AdapterEntry& entry, const LocalTime& now) {
  Close(entry);
  Recorder recorder;
  recorder.file = files_.Open(entry.recordFile, FileMode::kWriter);
  if (!recorder.file) return false;
  recorder.end = recorder.file->Size();
  recorder.csv = IsCsvRecordingFile(entry.recordFile);
  recorder.countdown = entry.recordInterval ? entry.recordInterval : 1;
  recorder.path = entry.recordFile;
  Append(recorder, HeaderText(entry, recorder.csv, recorder.end == 0, now));
  recorders_[&entry] = std::move(recorder);
  return true;
}

void RatesRecorder::Close(AdapterEntry& entry) {
  recorders_.erase(&entry);
}

void RatesRecorder::Restart(const AdapterEntry& entry) {
  auto found = recorders_.find(&entry);
  if (found == recorders_.end()) return;
  found->second.downloaded = found->second.uploaded = 0;
  found->second.countdown = entry.recordInterval ? entry.recordInterval : 1;
}

void RatesRecorder::RecordTick(AdapterEntry& entry, std::uint64_t downloaded, std::uint64_t uploaded,
                               const LocalTime& now) {
  auto found = recorders_.find(&entry);
  if (found == recorders_.end()) return;
  Recorder& recorder = found->second;
  recorder.downloaded += downloaded;
  recorder.uploaded += uploaded;
  if (--recorder.countdown != 0) return;
  Append(recorder, DataLine(entry, recorder, now));
  recorder.downloaded = recorder.uploaded = 0;
  recorder.countdown = entry.recordInterval ? entry.recordInterval : 1;
}

void RatesRecorder::OpenForService(AdapterList& rows, bool recorderSwitchOn, const LocalTime& now) {
  CloseAll();
  for (auto& row : rows) {
    if (!recorderSwitchOn || !row.recordRates) {
      row.recordRates = false;
      continue;
    }
    if (row.recordInterval == 0) row.recordInterval = 1;
    Open(row, now);
  }
}

void RatesRecorder::ReopenAll(AdapterList& rows, bool serviceRecords, const LocalTime& now) {
  for (auto& row : rows) {
    auto found = recorders_.find(&row);
    if (found != recorders_.end()) found->second.downloaded = found->second.uploaded = 0;
    if (serviceRecords || !row.recordRates) {
      Close(row);
      continue;
    }
    if (row.recordInterval == 0) row.recordInterval = 1;
    if (!IsOpen(row)) Open(row, now);
  }
}

// One write, flushed at once. What a full disk or a read-only file refuses is cut back off, so
// the file never ends in half a line, and waits in memory (its oldest lines dropped past a bound)
// to go out ahead of the next line once it can: each line carries its own time.
bool RatesRecorder::Append(Recorder& recorder, const std::string& text) {
  constexpr size_t kMaxUnwritten = 64 * 1024;
  const bool wasFailing = !recorder.unwritten.empty();
  recorder.unwritten += Utf8ToSystemAnsi(text);
  const bool written = recorder.file->WriteAt(recorder.end, recorder.unwritten.data(), recorder.unwritten.size());
  if (written) {
    recorder.end += recorder.unwritten.size();
    recorder.unwritten.clear();
  } else {
    recorder.file->Truncate(recorder.end);
    if (recorder.unwritten.size() > kMaxUnwritten) {
      const size_t cut = recorder.unwritten.find("\r\n", recorder.unwritten.size() - kMaxUnwritten);
      recorder.unwritten.erase(0, cut == std::string::npos ? recorder.unwritten.size() : cut + 2);
    }
  }
  if (watcher_ && written == wasFailing) watcher_(recorder.path, written);
  return written && recorder.file->Flush();
}

std::string RatesRecorder::HeaderText(const AdapterEntry& entry, bool csv, bool emptyFile, const LocalTime& now) const {
  std::string text;
  if (emptyFile) {
    text = StringPrintf("The file was generated by %s %s\r\n\r\n", kProductName, kProductWebAddress);
    if (!csv) text += "IMPORTANT: This file is best viewed with a fixed width font. (Courier)\r\n\r\n";
  } else {
    text = "\r\n";
  }
  const std::string adapter = AdapterTitle(entry, format_.showIpInTitle);
  const std::string date = FormatDate(format_.dateFormat, now.year, now.month, now.day);
  const char* unit = format_.unitIsByte ? "Byte" : "bit";
  const int interval = static_cast<int>(entry.recordInterval);
  if (csv)
    return text +
           StringPrintf(
               "File:,Traffic Rates Log\r\nAdapter:,%s\r\nDate:,%s %02d:%02d:%02d\r\nInterval:,%d Sec\r\n"
               "Unit:,%s\r\n\r\n",
               adapter.c_str(), date.c_str(), now.hour, now.minute, now.second, interval, unit) +
           "Date,Time,Download,Up,Both\r\n";
  return text +
         StringPrintf(
             "File:      Traffic Rates Log\r\nAdapter:   %s\r\nDate:      %s %02d:%02d:%02d\r\n"
             "Interval:  %d Sec\r\nUnit:      %s\r\n\r\n",
             adapter.c_str(), date.c_str(), now.hour, now.minute, now.second, interval, unit) +
         StringPrintf("%-*s%-*s%15s%15s%15s\r\n", 13, "Date", 10, "Time", "Download", "Upload", "Both") +
         std::string(71, '-') + "\r\n";
}

std::string RatesRecorder::DataLine(const AdapterEntry& entry, const Recorder& recorder, const LocalTime& now) const {
  const std::uint64_t scale = format_.unitIsByte ? 1 : 8;
  const bool numberOnly = (entry.recordFlags & kRecordNumberOnlyFlag) != 0;
  const auto value = [&](std::uint64_t bytes) {
    return numberOnly ? StringPrintf("%" PRId64, static_cast<std::int64_t>(bytes * scale))
                      : FormatVolumeShort(static_cast<std::int64_t>(bytes), format_.unitIsByte);
  };
  const std::string date = FormatDate(format_.dateFormat, now.year, now.month, now.day);
  const std::string down = value(recorder.downloaded), up = value(recorder.uploaded),
                    both = value(recorder.downloaded + recorder.uploaded);
  if (recorder.csv)
    return StringPrintf("%s,%02d:%02d:%02d,%s,%s,%s\r\n", date.c_str(), now.hour, now.minute, now.second, down.c_str(),
                        up.c_str(), both.c_str());
  return StringPrintf("%s   %02d:%02d:%02d  %15s%15s%15s\r\n", date.c_str(), now.hour, now.minute, now.second,
                      down.c_str(), up.c_str(), both.c_str());
}

RecorderDialogCheck CheckRecorderDialog(const std::vector<RecorderDialogRow>& rows, FileSystem& files) {
  for (size_t i = 0; i < rows.size(); ++i) {
    const RecorderDialogRow& row = rows[i];
    if (!row.record) continue;
    const int index = static_cast<int>(i);
    if (row.interval == 0) return {"The recording interval should be equal to or greater than 1.", index};
    if (row.file.empty()) return {"The rates recording file should not be empty.", index};
    for (size_t j = 0; j < rows.size(); ++j) {
      if (j != i && rows[j].record && EqualsIgnoreAsciiCase(rows[j].file, row.file))
        return {"There are two or more same rates recording files. Please choose a different file for each adapter.",
                index};
    }
    if (!MakeDirectories(files, FolderOf(row.file)) || !files.Open(row.file, FileMode::kProbe))
      return {"Failed to create file \"" + row.file + "\". Be sure you have write permission or choose another file.",
              index};
  }
  return {};
}

}  // namespace veltrano

namespace veltrano {

const char* const kRestartServiceForRecorderText =
    "Rates recorder is enabled in service, please restart %s to make options take effect.";

void ApplyRecorderDialog(RatesRecorder& recorder, AdapterList& rows, const std::vector<RecorderDialogRow>& dialog,
                         const std::vector<bool>& numberOnly, bool serviceRecords, const LocalTime& now) {
  size_t index = 0;
  for (auto& row : rows) {
    if (index >= dialog.size()) break;
    const RecorderDialogRow& edited = dialog[index];
    const bool editedNumberOnly = index < numberOnly.size() && numberOnly[index];
    ++index;
    const bool wasOn = row.recordRates;
    const bool flagChanged = ((row.recordFlags & kRecordNumberOnlyFlag) != 0) != editedNumberOnly;
    const bool fileChanged = !EqualsIgnoreAsciiCase(row.recordFile, edited.file);
    const bool intervalChanged = row.recordInterval != edited.interval;
    row.recordRates = edited.record;
    row.recordInterval = edited.interval;
    row.recordFile = edited.file;
    row.recordFlags =
        editedNumberOnly ? (row.recordFlags | kRecordNumberOnlyFlag) : (row.recordFlags & ~kRecordNumberOnlyFlag);
    if (!edited.record) {
      recorder.Close(row);
      continue;
    }
    if (!wasOn) {
      recorder.Close(row);
    } else if (flagChanged || fileChanged) {
      recorder.Close(row);  // reopened below with a new header block
    } else if (intervalChanged) {
      recorder.Restart(row);
    }
    if (!recorder.IsOpen(row) && !serviceRecords) recorder.Open(row, now);
  }
}

}  // namespace veltrano
