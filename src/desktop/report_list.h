// The scheduled report list of the service page: four columns, sorting by heading, and adding,
// editing and deleting entries through the "Report" dialog.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "desktop/ui/list_view.h"
#include "engine/adapter_entry.h"
#include "settings/scheduled_report.h"
#include "view/adapters_page_model.h"

namespace veltrano {

class CReportList {
 public:
  // Edits one record in a dialog; true on OK. Tests give their own.
  using Editor = std::function<bool(ScheduledReport&)>;

  CReportList(const AdapterList& adapters, Editor editor) : adapters_(adapters), editor_(std::move(editor)) {}

  void Attach(HWND list);
  // The list's screen changed scale: the column widths follow it.
  void DpiChanged(int dpi);
  void SetReports(std::vector<ScheduledReport> reports);
  // The entries in the list's order, each with its own countdown.
  const std::vector<ScheduledReport>& Reports() const { return reports_; }
  bool HasSelection() const;

  // Each returns whether the list changed.
  bool Add();
  bool EditSelected();
  bool DeleteSelected();
  void SortBy(int column);

 private:
  void Fill(int select);

  const AdapterList& adapters_;
  Editor editor_;
  ui::ListView list_;
  int columnsDpi_ = 0;  // the DPI the column widths were set for
  std::vector<ScheduledReport> reports_;
  ListSortState sort_;
};

}  // namespace veltrano
