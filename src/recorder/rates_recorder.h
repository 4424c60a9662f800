// The rates recorder: per adapter, one line every N seconds with the bytes (or bits) downloaded,
// uploaded and both during those seconds, appended to a fixed-width text or CSV file that others
// may read while it grows.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/local_time.h"
#include "engine/adapter_entry.h"
#include "platform/file_system.h"

namespace veltrano {

struct RecorderFormat {
  bool unitIsByte = true;  // DisplayUnitByte
  bool showIpInTitle = true;
  std::uint32_t dateFormat = 17;
};

// ".csv" in any letter case records CSV; everything else the text format.
bool IsCsvRecordingFile(const std::string& path);

class RatesRecorder {
 public:
  RatesRecorder(FileSystem& files, const RecorderFormat& format) : files_(files), format_(format) {}
  void SetFormat(const RecorderFormat& format) { format_ = format; }
  // Told with the file's path when its writes start failing (written false) and when they work
  // again (true); once each per run of failures.
  void SetWriteWatcher(std::function<void(const std::string& path, bool written)> watcher) {
    watcher_ = std::move(watcher);
  }
  const RecorderFormat& Format() const { return format_; }

  // Appends the banner (new file) or an empty line, then a header block. False when the file
  // cannot be opened: the adapter is then not recorded.
  bool Open(AdapterEntry& entry, const LocalTime& now);
  void Close(AdapterEntry& entry);
  void CloseAll() { recorders_.clear(); }
  bool IsOpen(const AdapterEntry& entry) const { return recorders_.count(&entry) != 0; }
  // A new interval starts from zero: countdown and amounts.
  void Restart(const AdapterEntry& entry);

  // Once per tick and row, zero counts for an absent interface; a line when the interval is up.
  void RecordTick(AdapterEntry& entry, std::uint64_t downloaded, std::uint64_t uploaded, const LocalTime& now);

  // Service start: rows that record (with the service's recorder switch on) are opened, the others
  // stop recording for this run.
  void OpenForService(AdapterList& rows, bool recorderSwitchOn, const LocalTime& now);
  // Desktop: every recording row gets its file, unless the service records instead.
  void ReopenAll(AdapterList& rows, bool serviceRecords, const LocalTime& now);

 private:
  struct Recorder {
    std::unique_ptr<File> file;
    std::uint64_t end = 0;
    std::uint64_t downloaded = 0;
    std::uint64_t uploaded = 0;
    std::uint32_t countdown = 1;
    bool csv = false;
    std::string unwritten;  // lines that did not fit, oldest first, written ahead of the next one
    std::string path;
  };

  bool Append(Recorder& recorder, const std::string& text);
  std::string HeaderText(const AdapterEntry& entry, bool csv, bool emptyFile, const LocalTime& now) const;
  std::string DataLine(const AdapterEntry& entry, const Recorder& recorder, const LocalTime& now) const;

  FileSystem& files_;
  RecorderFormat format_;
  std::map<const AdapterEntry*, Recorder> recorders_;
  std::function<void(const std::string&, bool)> watcher_;
};

// The recorder dialog's rows, as edited.
struct RecorderDialogRow {
  bool record = false;
  std::uint32_t interval = 1;
  std::string file;
};

struct RecorderDialogCheck {
  std::string message;  // empty when every row is accepted
  int row = -1;         // the row to select and focus
};

// The OK checks, row by row in list order; the last one creates the folders and the file.
RecorderDialogCheck CheckRecorderDialog(const std::vector<RecorderDialogRow>& rows, FileSystem& files);

// The accepted dialog applied to the table's rows, in the same order: files close, reopen (with a
// new header block) or open as the changed settings require; none opens while the service
// records. The caller then saves the adapters and, while the service records, tells the user to
// restart it.
void ApplyRecorderDialog(RatesRecorder& recorder, AdapterList& rows, const std::vector<RecorderDialogRow>& dialog,
                         const std::vector<bool>& numberOnly, bool serviceRecords, const LocalTime& now);

extern const char* const kRestartServiceForRecorderText;  // with "%s" for the service's name

}  // namespace veltrano
