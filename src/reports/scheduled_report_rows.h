// What the service page shows of the scheduled report list, and the checks of its "Report"
// dialog: plain logic that the desktop's list and dialog only display.
#pragma once

#include <string>

#include "engine/adapter_entry.h"
#include "settings/scheduled_report.h"

namespace veltrano {

struct ReportListRowTexts {
  std::string reportType;  // "Daily Report"...
  std::string adapter;     // the adapter's display name
  std::string interval;    // "60 sec."
  std::string file;
};

// An entry whose adapter is not in the table shows empty texts.
ReportListRowTexts ReportListRow(const ScheduledReport& report, const AdapterList& adapters);

// The dialog's fields as read back; -1 where nothing is selected.
struct ReportDialogFields {
  int typeIndex = -1;
  int adapterIndex = -1;
  int interval = 60;
  std::string file;
};

enum class ReportDialogControl { kNone, kType, kAdapter, kInterval, kFile };

struct ReportDialogCheck {
  std::string message;  // empty when the fields are accepted
  ReportDialogControl focus = ReportDialogControl::kNone;
};

ReportDialogCheck CheckReportDialog(const ReportDialogFields& fields);

// The record a new entry starts with when "Add" is pressed.
ScheduledReport NewScheduledReport();

}  // namespace veltrano
