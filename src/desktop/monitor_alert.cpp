// The bandwidth usage notification as the main window runs it: armed at start and at each new
// day, checked after every second's rows, and the alert window reopened with Ctrl+N.
#include "desktop/monitor_dlg.h"

namespace veltrano {

void CMonitorDlg::ArmNotification() {
  notify_.Rearm(sampler_.LastTick());
}

void CMonitorDlg::CheckNotification(const LocalTime& now) {
  notify_.OnTickEnd(now);
}

// Without a dismissed alert to reopen, a low beep says so.
void CMonitorDlg::ReopenAlert() {
  notify_.ShowLastAlert(sampler_.LastTick());
}

}  // namespace veltrano
