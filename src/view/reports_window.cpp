// Reports window captions, messages and remembered state.
#include "view/reports_window.h"

#include "core/text.h"

namespace veltrano {

const char* const kExportFilter =
    "Text File (*.txt)|*.txt|Microsoft Excel (*.csv)|*.csv|Web Page (*.htm;*.html)|*.htm;*.html";
const char* const kClearLogQuestion =
    "Are you sure you want to clear all traffic logs?\n\nIMPORTANT: all traffic logs can't be restored after clearing.";
const char* const kLogFileFilter = "Log File (*.log)|*.log";
const char* const kBackupDialogTitle = "Backup";
const char* const kChooseLogDialogTitle = "Choose a traffic log";
const char* const kRestartNote = "The new change won't take effect until the program restarts.";
const char* const kCopyFailedText = "Failed to copy file.";

std::string ReportsCaption(const std::string& adapterName) {
  return "Traffic Reports - [" + adapterName + "]";
}

size_t ReportsAdapterIndex(const AdapterList& rows, std::int32_t kind, const AdapterId& id) {
  size_t index = 0;
  for (const auto& row : rows) {
    if (SameAdapter(kind, id, row)) return index;
    ++index;
  }
  return 0;
}

bool LogPathChanged(const std::string& openPath, const std::string& shownPath) {
  return !shownPath.empty() && !EqualsIgnoreAsciiCase(openPath, shownPath);
}

// A window left open past midnight would otherwise put the new day's counters on yesterday's row
// and leave yesterday out of every period line.
bool PageBuildMark::Needed(std::int32_t kind, const AdapterId& id, const LogDate& today) const {
  return !built_ || kind_ != kind || id_ != id || date_ != today;
}

void PageBuildMark::Done(std::int32_t kind, const AdapterId& id, const LogDate& today) {
  built_ = true;
  kind_ = kind;
  id_ = id;
  date_ = today;
}

// The desktop holds the service's log read-only: a clear there would only zero today's counters
// in memory while every day stays in the file. The rule is armed again afterwards because its
// period base was read from the days just deleted.
bool ClearTrafficLog(TrafficLog& log, AdapterList& rows, bool serviceWritesLog,
                     const std::function<void()>& rearmNotification) {
  if (serviceWritesLog) return false;
  log.ClearLog(rows);
  if (rearmNotification) rearmNotification();
  return true;
}

const char* ExportDialogTitle(ReportKind kind) {
  switch (kind) {
    case ReportKind::kDaily:
      return "Export Daily Report";
    case ReportKind::kWeekly:
      return "Export Weekly Report";
    case ReportKind::kMonthly:
      return "Export Monthly Report";
    case ReportKind::kSummary:
      break;
  }
  return "Export General Summary";
}

ExportFormat ExportFormatOfFilter(int filterIndex) {
  switch (filterIndex) {
    case 2:
      return ExportFormat::kCsv;
    case 3:
      return ExportFormat::kHtml;
  }
  return ExportFormat::kText;
}

std::string ExportCreateFailedText(const std::string& path) {
  return "Failed to create file '" + path + "'.";
}

std::string ExportDoneQuestion(ReportKind kind, const std::string& path) {
  const char* what = "general traffic summary";
  switch (kind) {
    case ReportKind::kDaily:
      what = "daily traffic report";
      break;
    case ReportKind::kWeekly:
      what = "weekly traffic report";
      break;
    case ReportKind::kMonthly:
      what = "monthly traffic report";
      break;
    case ReportKind::kSummary:
      break;
  }
  return StringPrintf("Successfully export %s to file '%s'.\n\nDo you want to open it now?", what, path.c_str());
}

LogCopyMessage BackupMessage(CopyResult result) {
  return result == CopyResult::kFailed ? LogCopyMessage::kCopyFailed : LogCopyMessage::kNone;
}

LogCopyMessage UseExistingMessage(CopyResult result) {
  switch (result) {
    case CopyResult::kCopied:
      return LogCopyMessage::kRestartNote;
    case CopyResult::kFailed:
      return LogCopyMessage::kCopyFailed;
    case CopyResult::kSamePath:
      break;
  }
  return LogCopyMessage::kNone;
}

}  // namespace veltrano
