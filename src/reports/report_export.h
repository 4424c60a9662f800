// A report written to a file as fixed-width text, comma-separated values or an HTML page: the
// same bytes from the desktop's export and the service's scheduled reports. Lines end in CR LF;
// nothing inserted is escaped.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "reports/report_periods.h"

namespace veltrano {

enum class ReportKind { kDaily, kWeekly, kMonthly, kSummary };
enum class ExportFormat { kText, kCsv, kHtml };

extern const char* const kProductName;  // "Veltrano"
extern const char* const kProductWebAddress;

// The cells of a report as shown: daily rows are date, day, downloaded, uploaded, both; weekly
// and monthly rows are #, period, downloaded, uploaded, both; summary lines are label,
// downloaded, uploaded, both, from Today to Total.
struct ReportTable {
  ReportKind kind = ReportKind::kDaily;
  std::string adapterName;
  std::string rangeFirst;
  std::string rangeLast;
  std::vector<std::vector<std::string>> rows;
};

ReportTable MakeRowsTable(ReportKind kind, const std::vector<PeriodRow>& newestFirst, const ReportInput& input,
                          const std::string& adapterName);
ReportTable MakeSummaryTable(const SummaryTotals& totals, const ReportInput& input, const std::string& adapterName);

// The whole file, as UTF-8 text (converted to the ANSI code page when written).
std::string RenderReport(const ReportTable& table, const ReportInput& input, ExportFormat format);

// ".csv" is CSV, ".htm" or ".html" HTML, anything else text; case does not matter.
ExportFormat FormatFromExtension(const std::string& path);
// The desktop's save dialog: the name gets the chosen type's extension unless it already ends in it.
std::string WithExportExtension(const std::string& path, ExportFormat format);

// Writes the report into a file opened for it; false, and the file emptied, when a write fails.
bool WriteReport(File& file, const ReportTable& table, const ReportInput& input, ExportFormat format);
// Replaces the file with the report; false when it cannot be created or written.
bool ExportReport(FileSystem& files, const std::string& path, const ReportTable& table, const ReportInput& input,
                  ExportFormat format);

}  // namespace veltrano
