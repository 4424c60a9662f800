// Adapters page: the checkable, sortable list and its editors, and the tray group.
#include "desktop/opt_adapters_page.h"

#include <algorithm>

#include "desktop/options_controls.h"
#include "desktop/resources/options_ids.h"
#include "platform/win32/wide_text.h"
#include "view/number_field.h"

namespace veltrano {
namespace {

constexpr int kNameColumnPixels[] = {40, 200, 110};

std::vector<AdapterPageRow> InTableOrder(std::vector<AdapterPageRow> rows) {
  std::sort(rows.begin(), rows.end(),
            [](const AdapterPageRow& a, const AdapterPageRow& b) { return a.tableIndex < b.tableIndex; });
  return rows;
}

}  // namespace

COptAdaptersPage::COptAdaptersPage(HINSTANCE instance, AdaptersPageData& data, const AdapterList& table,
                                   ui::Prompter& prompter, HWND mainWindow)
    : COptPage(instance, IDD_OPT_ADAPTERS, prompter, mainWindow), data_(data), table_(table) {}

void COptAdaptersPage::OnInitDialog() {
  HWND page = Handle();
  rows_ = data_.rows.empty() ? AdapterPageRows(table_) : data_.rows;
  list_.Attach(Item(IDC_AD_LIST));
  list_.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  const wchar_t* titles[] = {L"No.", L"Name", L"IP"};
  for (int column = 0; column < 3; ++column) {
    list_.AddColumn(titles[column], 10);
    SendMessageW(list_.Handle(), LVM_SETCOLUMNWIDTH, column, kNameColumnPixels[column]);
  }
  for (const ConnectionType& type : kConnectionTypes) AddComboItem(page, IDC_AD_CONNECTION, type.text);
  SetSpinRange(page, IDC_AD_CUSTOM_SPIN, 0, 2147483647);
  SendDlgItemMessageW(page, IDC_AD_NAME, EM_LIMITTEXT, 259, 0);
  FillList();

  const Options& tray = data_.tray;
  SetChecked(page, IDC_AD_TRAY_ICON, tray.dispIconSystray != 0);
  SetChecked(page, IDC_AD_TRAY_GRAPH, tray.showGraphInSystray != 0);
  SetChecked(page, IDC_AD_TRAY_NAME, tray.showAdapterNameInSystrayTips != 0);
  SetChecked(page, IDC_AD_TRAY_IP, tray.showAdapterIpInSystrayTips != 0);
  FillTrayList(TrayRowIndexFor(InTableOrder(rows_), tray.stIfType, tray.stAdpId));
  ShowSelection();
  EnableTray();
}

void COptAdaptersPage::FillList() {
  FillingGuard guard(*this);
  list_.Clear();
  for (size_t index = 0; index < rows_.size(); ++index) {
    const AdapterPageRow& row = rows_[index];
    const int item = list_.AppendItem(std::to_wstring(row.number), static_cast<LPARAM>(index));
    list_.SetText(item, 1, Widen(row.name));
    list_.SetText(item, 2, Widen(row.ip));
    ListView_SetCheckState(list_.Handle(), item, row.monitored ? TRUE : FALSE);
  }
}

void COptAdaptersPage::FillTrayList(int selection) {
  FillingGuard guard(*this);
  HWND page = Handle();
  SendDlgItemMessageW(page, IDC_AD_TRAY_ADAPTER, CB_RESETCONTENT, 0, 0);
  for (const AdapterPageRow& row : InTableOrder(rows_)) AddComboItem(page, IDC_AD_TRAY_ADAPTER, row.name);
  SelectComboItem(page, IDC_AD_TRAY_ADAPTER, selection);
}

void COptAdaptersPage::ReadChecks() {
  for (int item = 0; item < list_.Count() && item < static_cast<int>(rows_.size()); ++item)
    rows_[item].monitored = ListView_GetCheckState(list_.Handle(), item) != 0;
}

int COptAdaptersPage::SelectedRow() const {
  const std::vector<int> selected = list_.SelectedIndexes();
  return selected.empty() || selected.front() >= static_cast<int>(rows_.size()) ? -1 : selected.front();
}

// The name and connection controls follow the selected row; without one they are empty and off.
void COptAdaptersPage::ShowSelection() {
  FillingGuard guard(*this);
  HWND page = Handle();
  const int selected = SelectedRow();
  const bool any = selected >= 0;
  EnableItem(page, IDC_AD_NAME, any);
  EnableItem(page, IDC_AD_CONNECTION, any);
  if (!any) {
    SetItemText(page, IDC_AD_NAME, "");
    SelectComboItem(page, IDC_AD_CONNECTION, -1);
    SetItemText(page, IDC_AD_CUSTOM_SPEED, "");
    EnableItem(page, IDC_AD_CUSTOM_SPEED, false);
    EnableItem(page, IDC_AD_CUSTOM_SPIN, false);
    return;
  }
  const AdapterPageRow& row = rows_[selected];
  SetItemText(page, IDC_AD_NAME, row.name);
  const int type = ConnectionTypeIndexFor(row.connRateBps);
  SelectComboItem(page, IDC_AD_CONNECTION, type);
  const bool custom = type == kSpecifySpeedIndex;
  SetItemText(page, IDC_AD_CUSTOM_SPEED, custom ? std::to_string(row.connRateBps) : "");
  EnableItem(page, IDC_AD_CUSTOM_SPEED, custom);
  EnableItem(page, IDC_AD_CUSTOM_SPIN, custom);
}

void COptAdaptersPage::EnableTray() {
  HWND page = Handle();
  const bool on = IsChecked(page, IDC_AD_TRAY_ICON);
  for (int id : {IDC_AD_TRAY_GRAPH, IDC_AD_TRAY_ADAPTER, IDC_AD_TRAY_ADAPTER_LABEL, IDC_AD_TRAY_NAME, IDC_AD_TRAY_IP})
    EnableItem(page, id, on);
}

void COptAdaptersPage::OnNameChanged() {
  const int selected = SelectedRow();
  if (selected < 0 || Filling()) return;
  rows_[selected].name = ItemText(Handle(), IDC_AD_NAME);
  list_.SetText(selected, 1, Widen(rows_[selected].name));
  SetModified();
}

void COptAdaptersPage::OnConnectionChanged() {
  const int selected = SelectedRow();
  const int type = ComboSelection(Handle(), IDC_AD_CONNECTION);
  if (selected < 0 || type < 0 || Filling()) return;
  const bool custom = type == kSpecifySpeedIndex;
  rows_[selected].connRateBps = custom ? 0 : kConnectionTypes[type].bitsPerSecond;
  {
    FillingGuard guard(*this);
    SetItemText(Handle(), IDC_AD_CUSTOM_SPEED, custom ? "0" : "");
  }
  EnableItem(Handle(), IDC_AD_CUSTOM_SPEED, custom);
  EnableItem(Handle(), IDC_AD_CUSTOM_SPIN, custom);
  SetModified();
}

// A typed speed reaches the row only when it is a valid number; the page's check names the field
// otherwise.
void COptAdaptersPage::OnCustomSpeedChanged() {
  const int selected = SelectedRow();
  if (selected < 0 || Filling()) return;
  std::int64_t speed = 0;
  if (ParseNumberInRange(ItemText(Handle(), IDC_AD_CUSTOM_SPEED), 0, 2147483647, speed))
    rows_[selected].connRateBps = static_cast<std::uint32_t>(speed);
  SetModified();
}

void COptAdaptersPage::OnReset() {
  const int tray = ComboSelection(Handle(), IDC_AD_TRAY_ADAPTER);
  rows_ = ResetAdapterPageRows(table_);
  sort_ = ListSortState();
  FillList();
  ShowSelection();
  FillTrayList(tray);
  SetModified();
}

void COptAdaptersPage::OnSort(int column) {
  ReadChecks();
  const int selected = SelectedRow();
  const size_t selectedTableIndex = selected >= 0 ? rows_[selected].tableIndex : SIZE_MAX;
  sort_.Click(column);
  SortAdapterPageRows(rows_, sort_);
  FillList();
  for (size_t index = 0; index < rows_.size(); ++index)
    if (rows_[index].tableIndex == selectedTableIndex) list_.Select({static_cast<int>(index)});
  ShowSelection();
}

bool COptAdaptersPage::OnCommand(WORD id, WORD notifyCode, HWND) {
  switch (id) {
    case IDC_AD_NAME:
      if (notifyCode == EN_CHANGE) OnNameChanged();
      return true;
    case IDC_AD_CONNECTION:
      if (notifyCode == CBN_SELCHANGE) OnConnectionChanged();
      return true;
    case IDC_AD_CUSTOM_SPEED:
      if (notifyCode == EN_CHANGE) OnCustomSpeedChanged();
      return true;
    case IDC_AD_RESET:
      OnReset();
      return true;
    case IDC_AD_TRAY_ICON:
      EnableTray();
      break;
  }
  MarkModifiedOnChange(notifyCode);
  return false;
}

bool COptAdaptersPage::OnNotify(NMHDR& header) {
  if (header.idFrom != IDC_AD_LIST) return COptPage::OnNotify(header);
  if (header.code == LVN_COLUMNCLICK) {
    OnSort(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
    return true;
  }
  if (header.code == LVN_ITEMCHANGED && !Filling()) {
    const auto& change = reinterpret_cast<NMLISTVIEW&>(header);
    if ((change.uChanged & LVIF_STATE) && ((change.uOldState ^ change.uNewState) & LVIS_SELECTED)) ShowSelection();
    if ((change.uChanged & LVIF_STATE) && ((change.uOldState ^ change.uNewState) & LVIS_STATEIMAGEMASK) &&
        change.uOldState & LVIS_STATEIMAGEMASK)
      SetModified();
    return true;
  }
  return false;
}

bool COptAdaptersPage::OnApply() {
  HWND page = Handle();
  ReadChecks();
  AdaptersPageFields fields;
  fields.rows = InTableOrder(rows_);
  fields.trayIcon = IsChecked(page, IDC_AD_TRAY_ICON);
  fields.trayGraph = IsChecked(page, IDC_AD_TRAY_GRAPH);
  fields.trayName = IsChecked(page, IDC_AD_TRAY_NAME);
  fields.trayIp = IsChecked(page, IDC_AD_TRAY_IP);
  fields.trayIndex = ComboSelection(page, IDC_AD_TRAY_ADAPTER);
  fields.customSpeedShown = SelectedRow() >= 0 && ComboSelection(page, IDC_AD_CONNECTION) == kSpecifySpeedIndex;
  fields.customSpeed = ItemText(page, IDC_AD_CUSTOM_SPEED);

  Options tray = data_.tray;
  const PageCheck<AdaptersControl> check = ReadAdaptersPage(fields, tray);
  if (!check.Accepted()) {
    const int focus = check.focus == AdaptersControl::kTrayAdapter                  ? IDC_AD_TRAY_ADAPTER
                      : check.focus == AdaptersControl::kCustomSpeed                ? IDC_AD_CUSTOM_SPEED
                      : check.focus == AdaptersControl::kName && SelectedRow() >= 0 ? IDC_AD_NAME
                                                                                    : IDC_AD_LIST;
    Refuse(focus, check.message);
    return false;
  }
  data_.rows = fields.rows;
  data_.tray = tray;
  HandOver(kAdaptersPageCode, &data_);
  return true;
}

}  // namespace veltrano
