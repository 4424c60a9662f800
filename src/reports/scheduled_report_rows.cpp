// Rows of the scheduled report list and the checks of its dialog.
#include "reports/scheduled_report_rows.h"

namespace veltrano {

ReportListRowTexts ReportListRow(const ScheduledReport& report, const AdapterList& adapters) {
  for (const auto& row : adapters) {
    if (!SameAdapter(report.adapterKind, report.adapterId, row)) continue;
    ReportListRowTexts texts;
    switch (report.reportType) {
      case kDailyReport:
        texts.reportType = "Daily Report";
        break;
      case kWeeklyReport:
        texts.reportType = "Weekly Report";
        break;
      case kMonthlyReport:
        texts.reportType = "Monthly Report";
        break;
      default:
        texts.reportType = "Summary Report";
        break;
    }
    texts.adapter = row.displayName;
    texts.interval = std::to_string(report.interval) + " sec.";
    texts.file = report.filePath;
    return texts;
  }
  return {};
}

ReportDialogCheck CheckReportDialog(const ReportDialogFields& fields) {
  if (fields.typeIndex < 0) return {"Please select a report type.", ReportDialogControl::kType};
  if (fields.adapterIndex < 0) return {"Please select an adapter.", ReportDialogControl::kAdapter};
  if (fields.interval < 1)
    return {"The interval seconds should be greater than or equal to 1.", ReportDialogControl::kInterval};
  if (fields.file.empty()) return {"Please enter a report file name", ReportDialogControl::kFile};
  return {};
}

ScheduledReport NewScheduledReport() {
  ScheduledReport report;
  report.reportType = kSummaryReport;
  report.adapterKind = kAllConnections;
  report.interval = 60;
  return report;
}

}  // namespace veltrano
