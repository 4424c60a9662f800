// Report list pages: the list view mirrors the page's rows; sorting and sums come from the model.
#include "desktop/sum_list_pages.h"

#include <commctrl.h>

#include "core/text.h"
#include "desktop/resources/reports_ids.h"
#include "desktop/summary_sheet.h"
#include "desktop/ui/dpi.h"
#include "platform/win32/wide_text.h"
#include "reports/value_format.h"
#include "view/dpi_scale.h"

namespace veltrano {
namespace {

int ColumnFormat(ColumnAlign align) {
  switch (align) {
    case ColumnAlign::kCenter:
      return LVCFMT_CENTER;
    case ColumnAlign::kRight:
      return LVCFMT_RIGHT;
    case ColumnAlign::kLeft:
      break;
  }
  return LVCFMT_LEFT;
}

}  // namespace

CSumDailyPage::CSumDailyPage(HINSTANCE instance, CSummarySheet& sheet, int index)
    : CSumListPage(instance, IDD_SUM_DAILY, sheet, index, ListPageKind::kDaily) {}

CSumWeeklyPage::CSumWeeklyPage(HINSTANCE instance, CSummarySheet& sheet, int index)
    : CSumListPage(instance, IDD_SUM_WEEKLY, sheet, index, ListPageKind::kWeekly) {}

CSumMonthlyPage::CSumMonthlyPage(HINSTANCE instance, CSummarySheet& sheet, int index)
    : CSumListPage(instance, IDD_SUM_MONTHLY, sheet, index, ListPageKind::kMonthly) {}

void CSumListPage::SetUpControls() {
  list_.Attach(Item(IDC_SUM_LIST));
  list_.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  // The widths are pixels at 96 DPI, shown at the DPI of the list's own screen.
  columnsDpi_ = ui::WindowDpi(list_.Handle());
  for (const ListColumn& column : ListColumns(model_.Kind()))
    list_.AddColumnPixels(Widen(column.title), ScaleToDpi(column.width, columnsDpi_), ColumnFormat(column.align));
  const ReportsContext& context = sheet_.Context();
  if (model_.Kind() == ListPageKind::kWeekly)
    SetDlgItemTextW(Handle(), IDC_SUM_START_DAY,
                    Widen("Start day of week is: " + WeekdayName(static_cast<int>(context.weekStartDay))).c_str());
  if (model_.Kind() == ListPageKind::kMonthly)
    SetDlgItemTextW(Handle(), IDC_SUM_START_DAY,
                    Widen(StringPrintf("Start day of month is: %d", static_cast<int>(context.monthStartDay))).c_str());
}

void CSumListPage::OnDpiChanged(int dpi) {
  list_.ScaleColumns(columnsDpi_, dpi);
  columnsDpi_ = dpi;
}

void CSumListPage::Build() {
  model_.Build(sheet_.Input(), sheet_.Context().log, sheet_.LiveIn(), sheet_.LiveOut());
  Fill();
}

void CSumListPage::LogCleared() {
  if (!Handle()) return;
  model_.ResetToToday(sheet_.Input(), sheet_.LiveIn(), sheet_.LiveOut());
  Fill();
}

void CSumListPage::Fill() {
  SendMessageW(list_.Handle(), WM_SETREDRAW, FALSE, 0);
  list_.Clear();
  for (size_t row = 0; row < model_.Size(); ++row) {
    const auto& cells = model_.At(row).cells;
    const int item = list_.AppendItem(Widen(cells[0]), static_cast<LPARAM>(row));
    for (int column = 1; column < kListColumns; ++column) list_.SetText(item, column, Widen(cells[column]));
  }
  if (order_.column >= 0) Sort();
  SendMessageW(list_.Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_.Handle(), nullptr, TRUE);
  UpdateStatus();
}

void CSumListPage::Refresh() {
  const std::vector<int> changed = model_.Refresh(sheet_.LiveIn(), sheet_.LiveOut());
  if (changed.empty()) return;
  const size_t current = model_.CurrentRow();
  const int item = ItemOfRow(current);
  if (item < 0) return;
  for (int column : changed) list_.SetText(item, column, Widen(model_.At(current).cells[column]));
  const auto selected = list_.SelectedIndexes();
  for (int index : selected)
    if (index == item) UpdateStatus();
}

int CSumListPage::ItemOfRow(size_t row) const {
  LVFINDINFOW find{};
  find.flags = LVFI_PARAM;
  find.lParam = static_cast<LPARAM>(row);
  return static_cast<int>(
      SendMessageW(list_.Handle(), LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

std::vector<size_t> CSumListPage::RowsInListOrder() const {
  std::vector<size_t> rows;
  const int count = list_.Count();
  for (int item = 0; item < count; ++item) rows.push_back(static_cast<size_t>(list_.Data(item)));
  return rows;
}

void CSumListPage::UpdateStatus() {
  std::vector<size_t> rows;
  for (int item : list_.SelectedIndexes()) rows.push_back(static_cast<size_t>(list_.Data(item)));
  SetTextIfChanged(IDC_SUM_STATUS, model_.StatusText(rows));
}

void CSumListPage::Sort() {
  const int column = order_.column;
  const bool descending = order_.descending;
  list_.SortByData([this, column, descending](LPARAM a, LPARAM b) {
    const int order = model_.Compare(static_cast<size_t>(a), static_cast<size_t>(b), column);
    return descending ? order > 0 : order < 0;
  });
}

bool CSumListPage::OnNotify(NMHDR& header) {
  if (header.idFrom != IDC_SUM_LIST) return false;
  switch (header.code) {
    case LVN_COLUMNCLICK:
      order_.Click(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
      Sort();
      return true;
    case LVN_ITEMCHANGED:
      if (reinterpret_cast<NMLISTVIEW&>(header).uChanged & LVIF_STATE) UpdateStatus();
      return true;
  }
  return false;
}

void CSumListPage::Export() {
  ExportTable(ReportKindOf(model_.Kind()), model_.ExportTable(RowsInListOrder(), sheet_.AdapterName()), model_.Input());
}

}  // namespace veltrano
