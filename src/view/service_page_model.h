// The Service options page and its "Report" dialog as plain logic: the report list's sorting and
// enabling rules, the dialog's checks and the record it produces.
#pragma once

#include <string>
#include <vector>

#include "engine/adapter_entry.h"
#include "platform/file_system.h"
#include "reports/scheduled_report_rows.h"
#include "settings/scheduled_report.h"
#include "settings/service_settings.h"
#include "view/adapters_page_model.h"
#include "view/page_check.h"

namespace veltrano {

extern const char* const kServicePageIntro;
extern const char* const kServicePageNote;
extern const char* const kReportTypeItems[4];  // item i has ReportType i

enum ReportColumn { kReportTypeColumn = 0, kReportAdapterColumn, kReportIntervalColumn, kReportFileColumn };
// Sorts the rows by a column's text, "Interval" as numbers.
void SortReports(std::vector<ScheduledReport>& reports, const AdapterList& adapters, const ListSortState& sort);

// Which of the page's controls are enabled.
struct ServicePageEnabling {
  bool switchesAndList = false;  // the two service switches, the list caption, the list, "Ad&d"
  bool editAndDelete = false;
};
ServicePageEnabling ServicePageEnabled(bool serviceChecked, bool rowSelected);

// The "Report" dialog's adapter item for a record: kinds 100 and 200 by kind alone, an interface
// by kind and id; the first item when the adapter is gone.
int ReportAdapterIndex(const ScheduledReport& report, const AdapterList& adapters);

struct ReportDialogInput {
  int typeIndex = -1;
  int adapterIndex = -1;
  std::string interval;  // as typed
  std::string file;
};

// The dialog's checks in order, then a report file whose folder does not exist or whose path is
// too long for the record. When accepted, `report` keeps its countdown and takes the rest.
PageCheck<ReportDialogControl> ReadReportDialog(const ReportDialogInput& input, const AdapterList& adapters,
                                                FileSystem& files, ScheduledReport& report);

}  // namespace veltrano
