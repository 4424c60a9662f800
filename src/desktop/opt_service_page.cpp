// Service page: the switches and the report list, handed over as the new service settings.
#include "desktop/opt_service_page.h"

#include <shellapi.h>

#include "desktop/options_controls.h"
#include "desktop/report_dlg.h"
#include "desktop/resources/options_ids.h"
#include "view/service_page_model.h"

namespace veltrano {

COptServicePage::COptServicePage(HINSTANCE instance, ServiceSettings& data, const AdapterList& adapters,
                                 FileSystem& files, ui::Prompter& prompter, HWND mainWindow)
    : COptPage(instance, IDD_OPT_SERVICE, prompter, mainWindow),
      data_(data),
      adapters_(adapters),
      files_(files),
      reports_(adapters, [this](ScheduledReport& report) { return editor_ ? editor_(report) : EditInDialog(report); }) {
}

bool COptServicePage::EditInDialog(ScheduledReport& report) {
  CReportDlg dialog(GetModuleHandleW(nullptr), report, adapters_, files_, prompter_);
  return dialog.RunModal(Handle()) == IDOK;
}

void COptServicePage::OnInitDialog() {
  HWND page = Handle();
  SetChecked(page, IDC_SV_ENABLE, data_.serviceEnabled != 0);
  SetChecked(page, IDC_SV_NOTIFY, data_.options.notifyInService != 0);
  SetChecked(page, IDC_SV_RECORDER, data_.options.recorderInService != 0);
  reports_.Attach(Item(IDC_SV_LIST));
  reports_.SetReports(data_.reports);
  EnableControls();
}

void COptServicePage::EnableControls() {
  HWND page = Handle();
  const ServicePageEnabling enabling = ServicePageEnabled(IsChecked(page, IDC_SV_ENABLE), reports_.HasSelection());
  for (int id : {IDC_SV_NOTIFY, IDC_SV_RECORDER, IDC_SV_LIST_CAPTION, IDC_SV_LIST, IDC_SV_ADD})
    EnableItem(page, id, enabling.switchesAndList);
  EnableItem(page, IDC_SV_EDIT, enabling.editAndDelete);
  EnableItem(page, IDC_SV_DELETE, enabling.editAndDelete);
}

bool COptServicePage::OnCommand(WORD id, WORD notifyCode, HWND) {
  switch (id) {
    case IDC_SV_ENABLE:
      EnableControls();
      SetModified();
      return true;
    case IDC_SV_ADD:
      if (reports_.Add()) SetModified();
      EnableControls();
      return true;
    case IDC_SV_EDIT:
      if (reports_.EditSelected()) SetModified();
      return true;
    case IDC_SV_DELETE:
      if (reports_.DeleteSelected()) SetModified();
      EnableControls();
      return true;
    case IDC_SV_LAUNCH:
      ShellExecuteW(Handle(), L"open", L"services.msc", nullptr, nullptr, SW_SHOWNORMAL);
      return true;
  }
  MarkModifiedOnChange(notifyCode);
  return false;
}

bool COptServicePage::OnNotify(NMHDR& header) {
  if (header.idFrom != IDC_SV_LIST) return COptPage::OnNotify(header);
  switch (header.code) {
    case LVN_COLUMNCLICK:
      reports_.SortBy(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
      EnableControls();
      return true;
    case LVN_ITEMCHANGED:
      EnableControls();
      return true;
    case NM_DBLCLK:
      if (IsChecked(Handle(), IDC_SV_ENABLE) && reports_.EditSelected()) SetModified();
      return true;
  }
  return false;
}

// The page has nothing to refuse: the report dialog checked every entry already.
void COptServicePage::OnDpiChanged(int dpi) {
  COptPage::OnDpiChanged(dpi);
  reports_.DpiChanged(dpi);
}

bool COptServicePage::OnApply() {
  HWND page = Handle();
  data_.serviceEnabled = IsChecked(page, IDC_SV_ENABLE);
  data_.options.notifyInService = IsChecked(page, IDC_SV_NOTIFY);
  data_.options.recorderInService = IsChecked(page, IDC_SV_RECORDER);
  data_.reports = reports_.Reports();
  HandOver(kServicePageCode, &data_);
  SetChecked(page, IDC_SV_ENABLE, data_.serviceEnabled != 0);
  EnableControls();
  return true;
}

}  // namespace veltrano
