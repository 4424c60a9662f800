// The report list editor.
#include "desktop/report_list.h"

#include "desktop/ui/dpi.h"
#include "platform/win32/wide_text.h"
#include "reports/scheduled_report_rows.h"
#include "view/dpi_scale.h"
#include "view/service_page_model.h"

namespace veltrano {
namespace {

struct Column {
  const wchar_t* title;
  int pixels;  // at 96 DPI
  int format;
};
const Column kColumns[] = {
    {L"Report Type", 100, LVCFMT_LEFT},
    {L"Adapter", 200, LVCFMT_LEFT},
    {L"Interval", 50, LVCFMT_RIGHT},
    {L"Report File", 150, LVCFMT_LEFT},
};

}  // namespace

void CReportList::Attach(HWND list) {
  list_.Attach(list);
  list_.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  columnsDpi_ = ui::WindowDpi(list);
  for (const Column& column : kColumns)
    list_.AddColumnPixels(column.title, ScaleToDpi(column.pixels, columnsDpi_), column.format);
}

void CReportList::DpiChanged(int dpi) {
  list_.ScaleColumns(columnsDpi_, dpi);
  columnsDpi_ = dpi;
}

void CReportList::SetReports(std::vector<ScheduledReport> reports) {
  reports_ = std::move(reports);
  Fill(-1);
}

void CReportList::Fill(int select) {
  list_.Clear();
  for (size_t index = 0; index < reports_.size(); ++index) {
    const ReportListRowTexts texts = ReportListRow(reports_[index], adapters_);
    const int item = list_.AppendItem(Widen(texts.reportType), static_cast<LPARAM>(index));
    list_.SetText(item, 1, Widen(texts.adapter));
    list_.SetText(item, 2, Widen(texts.interval));
    list_.SetText(item, 3, Widen(texts.file));
  }
  if (select >= 0 && select < static_cast<int>(reports_.size())) list_.Select({select});
}

bool CReportList::HasSelection() const {
  return !list_.SelectedIndexes().empty();
}

bool CReportList::Add() {
  ScheduledReport report = NewScheduledReport();
  if (!editor_ || !editor_(report)) return false;
  report.countdown = 0;
  reports_.push_back(report);
  Fill(static_cast<int>(reports_.size()) - 1);
  return true;
}

bool CReportList::EditSelected() {
  const std::vector<int> selected = list_.SelectedIndexes();
  if (selected.empty() || !editor_) return false;
  ScheduledReport& report = reports_[selected.front()];
  if (!editor_(report)) return false;
  Fill(selected.front());
  return true;
}

bool CReportList::DeleteSelected() {
  const std::vector<int> selected = list_.SelectedIndexes();
  if (selected.empty()) return false;
  reports_.erase(reports_.begin() + selected.front());
  Fill(-1);
  return true;
}

void CReportList::SortBy(int column) {
  sort_.Click(column);
  SortReports(reports_, adapters_, sort_);
  Fill(-1);
}

}  // namespace veltrano
