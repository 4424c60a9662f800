// "Report" dialog: filled from the record, checked on OK, the record replaced in place.
#include "desktop/report_dlg.h"

#include <commdlg.h>

#include "desktop/options_controls.h"
#include "desktop/resources/options_ids.h"
#include "platform/win32/wide_text.h"
#include "view/service_page_model.h"

namespace veltrano {

CReportDlg::CReportDlg(HINSTANCE instance, ScheduledReport& report, const AdapterList& adapters, FileSystem& files,
                       ui::Prompter& prompter)
    : ui::Dialog(instance, IDD_REPORT), report_(report), adapters_(adapters), files_(files), prompter_(prompter) {}

BOOL CReportDlg::OnInitDialog() {
  HWND dialog = Handle();
  ApplyControlFont(dialog);
  for (const char* item : kReportTypeItems) AddComboItem(dialog, IDC_RP_TYPE, item);
  const int type = report_.reportType;
  SelectComboItem(dialog, IDC_RP_TYPE, type >= 0 && type < 4 ? type : -1);
  for (const AdapterEntry& row : adapters_) AddComboItem(dialog, IDC_RP_ADAPTER, row.displayName);
  SelectComboItem(dialog, IDC_RP_ADAPTER, ReportAdapterIndex(report_, adapters_));
  SetSpinRange(dialog, IDC_RP_INTERVAL_SPIN, 1, 32767);
  veltrano::SetItemText(dialog, IDC_RP_INTERVAL, std::to_string(report_.interval));
  veltrano::SetItemText(dialog, IDC_RP_FILE, report_.filePath);
  return TRUE;
}

void CReportDlg::OnDpiChanged(int dpi) {
  ApplyControlFont(Handle(), dpi);
}

bool CReportDlg::OnCommand(WORD id, WORD, HWND) {
  if (id != IDC_RP_BROWSE) return false;
  Browse();
  return true;
}

// The chosen path goes into the field as it is; the extension decides the format later.
void CReportDlg::Browse() {
  wchar_t path[MAX_PATH] = {};
  const std::wstring current = Widen(ItemText(Handle(), IDC_RP_FILE));
  if (current.size() < MAX_PATH) current.copy(path, current.size());
  OPENFILENAMEW open{};
  open.lStructSize = sizeof open;
  open.hwndOwner = Handle();
  open.lpstrFilter = L"HTML Files (*.html;*.htm)\0*.html;*.htm\0CSV Files (*.csv)\0*.csv\0Text Files (*.txt)\0*.txt\0";
  open.lpstrFile = path;
  open.nMaxFile = MAX_PATH;
  open.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  if (GetSaveFileNameW(&open)) SetDlgItemTextW(Handle(), IDC_RP_FILE, path);
}

void CReportDlg::OnOK() {
  HWND dialog = Handle();
  ReportDialogInput input;
  input.typeIndex = ComboSelection(dialog, IDC_RP_TYPE);
  input.adapterIndex = ComboSelection(dialog, IDC_RP_ADAPTER);
  input.interval = ItemText(dialog, IDC_RP_INTERVAL);
  input.file = ItemText(dialog, IDC_RP_FILE);
  ScheduledReport accepted = report_;
  const PageCheck<ReportDialogControl> check = ReadReportDialog(input, adapters_, files_, accepted);
  if (!check.Accepted()) {
    const int focus = check.focus == ReportDialogControl::kType       ? IDC_RP_TYPE
                      : check.focus == ReportDialogControl::kAdapter  ? IDC_RP_ADAPTER
                      : check.focus == ReportDialogControl::kInterval ? IDC_RP_INTERVAL
                                                                      : IDC_RP_FILE;
    RefuseField(dialog, focus, prompter_, check.message);
    return;
  }
  report_ = accepted;
  End(IDOK);
}

}  // namespace veltrano
