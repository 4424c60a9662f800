// One second of the main window: per row the pane, the tray icon and the rates recorder; after
// all rows the notification check. Also the tray icon's clicks.
#include "desktop/monitor_dlg.h"
#include "view/tray_tip.h"

namespace veltrano {

void CMonitorDlg::OnRowSample(AdapterEntry& row, std::uint64_t received, std::uint64_t sent, const LocalTime& now) {
  if (row.pane && !row.history.empty()) row.pane->AddSample(row.history.back());
  if (settings_.options.dispIconSystray && IsTrayAdapter(row, settings_.options.stIfType, settings_.options.stAdpId)) {
    UpdateTray(row);
  }
  if (row.recordRates && recorder_.IsOpen(row)) recorder_.RecordTick(row, received, sent, now);
}

void CMonitorDlg::OnRowAddressChanged(AdapterEntry& row) {
  if (row.pane) row.pane->SetTitle(AdapterTitle(row, settings_.options.showIpInTitle != 0));
}

void CMonitorDlg::OnTickEnd(const LocalTime& now) {
  CheckNotification(now);
  RetryFailedLogWrite();
}

void CMonitorDlg::OnDayChanged(const LocalTime&) {
  if (settings_.options.notificationEnabled) ArmNotification();
}

void CMonitorDlg::UpdateTray(const AdapterEntry& row) {
  if (!tray_) return;
  const Options& options = settings_.options;
  const TrayTipSwitches switches{options.showAdapterNameInSystrayTips != 0, options.showAdapterIpInSystrayTips != 0,
                                 options.displayUnitByte != 0};
  const bool miniature = graphCapable_ && options.showGraphInSystray && row.pane;
  tray_->Update(row, switches, miniature, row.pane ? row.pane->ScaleMax() : 0);
}

void CMonitorDlg::OnTrayMessage(LPARAM event) {
  switch (TrayActionFor(static_cast<std::uint32_t>(event))) {
    case TrayAction::kToggleWindow:
      if (IsWindowVisible(Handle())) {
        Hide();
      } else {
        Show();
      }
      break;
    case TrayAction::kOpenMenu: {
      POINT cursor{};
      GetCursorPos(&cursor);
      OpenPopupMenu(cursor.x, cursor.y);
      break;
    }
    case TrayAction::kNone:
      break;
  }
}

}  // namespace veltrano
