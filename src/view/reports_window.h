// What the traffic reports window decides outside its pages: the state it is opened with and
// hands back, its caption, when a page builds its rows, clearing the log, the export sequence's
// names and messages, and the log file buttons' messages.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/adapter_kind.h"
#include "engine/adapter_entry.h"
#include "engine/day_record.h"
#include "engine/log_location.h"
#include "engine/traffic_log.h"
#include "reports/report_export.h"

namespace veltrano {

enum ReportsPage { kSummaryPage, kDailyPage, kWeeklyPage, kMonthlyPage, kReportsPages };

// Remembered by the main window for the rest of the run; the first opening shows the summary of
// "All Connections".
struct ReportsWindowState {
  std::int32_t adapterKind = kAllConnections;
  AdapterId adapterId;
  int activePage = kSummaryPage;
  std::uint32_t sumLastDays = 30;
  std::string logPath;  // the open log's path, or one chosen to take effect at the next start
};

// "Traffic Reports - [All Connections]".
std::string ReportsCaption(const std::string& adapterName);
// The row of the remembered adapter; the first row when it is not in the table.
size_t ReportsAdapterIndex(const AdapterList& rows, std::int32_t kind, const AdapterId& id);
// A chosen log path is stored when the window closes if it names another file than the open one.
bool LogPathChanged(const std::string& openPath, const std::string& shownPath);

// What a page's rows were last built for. They are built again for another adapter and for a
// new date of the last tick.
class PageBuildMark {
 public:
  bool Needed(std::int32_t kind, const AdapterId& id, const LogDate& today) const;
  void Done(std::int32_t kind, const AdapterId& id, const LogDate& today);

 private:
  bool built_ = false;
  std::int32_t kind_ = 0;
  AdapterId id_;
  LogDate date_;
};

// The main window's "clear all traffic logs": false, with nothing touched, while the service
// writes the log.
bool ClearTrafficLog(TrafficLog& log, AdapterList& rows, bool serviceWritesLog,
                     const std::function<void()>& rearmNotification);

// Export: the save dialog's title, its filter (three types, filter 1 first) and the file's format
// by the chosen filter (1-based, as the dialog reports it).
const char* ExportDialogTitle(ReportKind kind);
extern const char* const kExportFilter;  // pairs separated by '|'
ExportFormat ExportFormatOfFilter(int filterIndex);
std::string ExportCreateFailedText(const std::string& path);
std::string ExportDoneQuestion(ReportKind kind, const std::string& path);

extern const char* const kClearLogQuestion;
extern const char* const kLogFileFilter;  // pairs separated by '|'
extern const char* const kBackupDialogTitle;
extern const char* const kChooseLogDialogTitle;
extern const char* const kRestartNote;
extern const char* const kCopyFailedText;

// The message a log file copy ends with; none when nothing was done.
enum class LogCopyMessage { kNone, kRestartNote, kCopyFailed };
LogCopyMessage BackupMessage(CopyResult result);
LogCopyMessage UseExistingMessage(CopyResult result);

}  // namespace veltrano
