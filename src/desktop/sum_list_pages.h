// The daily, weekly and monthly pages of the traffic reports window: a list of every day, week or
// month in the log, newest first, with a status line summing the selected rows.
#pragma once

#include <windows.h>

#include "desktop/sum_page.h"
#include "desktop/ui/list_view.h"
#include "view/report_list.h"

namespace veltrano {

class CSumListPage : public CSumPage {
 public:
  CSumListPage(HINSTANCE instance, int templateId, CSummarySheet& sheet, int index, ListPageKind kind)
      : CSumPage(instance, templateId, sheet, index), model_(kind) {}

  void LogCleared() override;
  void Export() override;
  const ReportListModel& Model() const { return model_; }

 protected:
  bool OnNotify(NMHDR& header) override;
  void SetUpControls() override;
  void Build() override;
  void Refresh() override;
  void OnDpiChanged(int dpi) override;

 private:
  void Fill();
  void Sort();
  void UpdateStatus();
  int ItemOfRow(size_t row) const;
  std::vector<size_t> RowsInListOrder() const;

  ReportListModel model_;
  ui::ListView list_;
  int columnsDpi_ = 0;  // the DPI the column widths were set for
  SortOrder order_;
};

class CSumDailyPage : public CSumListPage {
 public:
  CSumDailyPage(HINSTANCE instance, CSummarySheet& sheet, int index);
};

class CSumWeeklyPage : public CSumListPage {
 public:
  CSumWeeklyPage(HINSTANCE instance, CSummarySheet& sheet, int index);
};

class CSumMonthlyPage : public CSumListPage {
 public:
  CSumMonthlyPage(HINSTANCE instance, CSummarySheet& sheet, int index);
};

}  // namespace veltrano
