// The rates recorder dialog.
#include "desktop/rates_recorder_dlg.h"

#include <commctrl.h>
#include <commdlg.h>

#include "desktop/resources/notify_ids.h"
#include "desktop/ui/control_text.h"
#include "desktop/ui/dpi.h"
#include "platform/win32/wide_text.h"

namespace veltrano {
RatesRecorderDialog::RatesRecorderDialog(HINSTANCE instance, const AdapterList& adapters, FileSystem& files,
                                         ui::Prompter& prompter)
    : ui::Dialog(instance, IDD_RATES_RECORDER), model_(RecorderModelOf(adapters)), files_(files), prompter_(prompter) {}

BOOL RatesRecorderDialog::OnInitDialog() {
  list_.Attach(Item(IDC_REC_LIST));
  list_.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  // Name 200, Record 50, Interval 60 and File 200 pixels at the usual 96 dpi, in dialog units:
  // they grow with the dialog's font at any DPI.
  columnsDpi_ = ui::WindowDpi(Handle());
  list_.AddColumn(L"Name", 133);
  list_.AddColumn(L"Record", 33);
  list_.AddColumn(L"Interval", 40, LVCFMT_RIGHT);
  list_.AddColumn(L"File", 133);
  for (size_t row = 0; row < model_.rows.size(); ++row) {
    list_.AppendItem(Widen(model_.names[row]));
    ShowRow(static_cast<int>(row));
  }
  SendMessageW(Item(IDC_REC_INTERVAL_SPIN), UDM_SETRANGE32, 1, 32767);
  SendMessageW(Item(IDC_REC_FILE), EM_LIMITTEXT, 259, 0);
  LoadControls();
  return TRUE;
}

void RatesRecorderDialog::OnDpiChanged(int dpi) {
  list_.ScaleColumns(columnsDpi_, dpi);
  columnsDpi_ = dpi;
}

int RatesRecorderDialog::SelectedRow() const {
  const std::vector<int> selected = list_.SelectedIndexes();
  return selected.empty() ? -1 : selected.front();
}

void RatesRecorderDialog::ShowRow(int row) {
  const RecorderDialogRow& data = model_.rows[static_cast<size_t>(row)];
  list_.SetText(row, 1, Widen(RecordCell(data)));
  list_.SetText(row, 2, Widen(IntervalCell(data)));
  list_.SetText(row, 3, Widen(FileCell(data)));
}

void RatesRecorderDialog::LoadControls() {
  loading_ = true;
  const int row = SelectedRow();
  const RecorderDialogRow data = row >= 0 ? model_.rows[static_cast<size_t>(row)] : RecorderDialogRow{};
  const bool numberOnly = row >= 0 && model_.numberOnly[static_cast<size_t>(row)];
  CheckDlgButton(Handle(), IDC_REC_RECORD, data.record ? BST_CHECKED : BST_UNCHECKED);
  CheckRadioButton(Handle(), IDC_REC_NUMBER_ONLY, IDC_REC_KILO_MEGA,
                   numberOnly ? IDC_REC_NUMBER_ONLY : IDC_REC_KILO_MEGA);
  SetDlgItemInt(Handle(), IDC_REC_INTERVAL, data.interval, FALSE);
  SetItemText(IDC_REC_FILE, Widen(data.file).c_str());
  EnableControls();
  loading_ = false;
}

void RatesRecorderDialog::EnableControls() {
  const int row = SelectedRow();
  EnableWindow(Item(IDC_REC_RECORD), row >= 0);
  const bool on = row >= 0 && model_.rows[static_cast<size_t>(row)].record;
  for (int id : {IDC_REC_NUMBER_ONLY, IDC_REC_KILO_MEGA, IDC_REC_INTERVAL, IDC_REC_INTERVAL_SPIN, IDC_REC_FILE,
                 IDC_REC_BROWSE, IDC_REC_INTERVAL_LABEL, IDC_REC_FILE_LABEL, IDC_REC_SECONDS_LABEL})
    EnableWindow(Item(id), on);
}

bool RatesRecorderDialog::OnCommand(WORD id, WORD notifyCode, HWND control) {
  const int row = SelectedRow();
  if (id == IDC_REC_BROWSE) {
    OnBrowse();
    return true;
  }
  if (loading_ || row < 0) return ui::Dialog::OnCommand(id, notifyCode, control);
  RecorderDialogRow& data = model_.rows[static_cast<size_t>(row)];
  switch (id) {
    case IDC_REC_RECORD:
      data.record = IsDlgButtonChecked(Handle(), IDC_REC_RECORD) == BST_CHECKED;
      EnableControls();
      break;
    case IDC_REC_NUMBER_ONLY:
    case IDC_REC_KILO_MEGA:
      model_.numberOnly[static_cast<size_t>(row)] = IsDlgButtonChecked(Handle(), IDC_REC_NUMBER_ONLY) == BST_CHECKED;
      break;
    case IDC_REC_INTERVAL:
      if (notifyCode != EN_CHANGE) return false;
      data.interval = ParseRecordInterval(ItemText(Handle(), IDC_REC_INTERVAL));
      break;
    case IDC_REC_FILE:
      if (notifyCode != EN_CHANGE) return false;
      data.file = ItemText(Handle(), IDC_REC_FILE);
      break;
    default:
      return ui::Dialog::OnCommand(id, notifyCode, control);
  }
  ShowRow(row);
  return true;
}

bool RatesRecorderDialog::OnNotify(NMHDR& header) {
  if (header.idFrom != IDC_REC_LIST || header.code != LVN_ITEMCHANGED) return ui::Dialog::OnNotify(header);
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  if (change.uChanged & LVIF_STATE) LoadControls();
  return true;
}

void RatesRecorderDialog::OnBrowse() {
  wchar_t path[MAX_PATH] = {};
  lstrcpynW(path, Widen(ItemText(Handle(), IDC_REC_FILE)).c_str(), MAX_PATH);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = L"Text File (*.txt)\0*.txt\0Microsoft Excel (*.csv)\0*.csv\0";
  dialog.nFilterIndex = IsCsvRecordingFile(Narrow(path)) ? 2 : 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  // No "replace?" question: the recorder appends to a file that is there, it never replaces it.
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetSaveFileNameW(&dialog)) return;
  const std::string chosen = WithFilterExtension(Narrow(path), static_cast<int>(dialog.nFilterIndex));
  SetItemText(IDC_REC_FILE, Widen(chosen).c_str());
}

void RatesRecorderDialog::OnOK() {
  const RecorderDialogCheck check = CheckRecorderDialog(model_.rows, files_);
  if (check.message.empty()) {
    End(IDOK);
    return;
  }
  prompter_.Warn(Handle(), check.message);
  list_.Select({check.row});
  list_.EnsureVisible(check.row);
  SetFocus(list_.Handle());
}

}  // namespace veltrano
