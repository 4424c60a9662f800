// Opens the traffic reports window from the main window.
#include "desktop/monitor_dlg.h"

namespace veltrano {

// Not built yet: a beep says the command arrived.
void CMonitorDlg::OpenTrafficReports() {
  MessageBeep(MB_OK);
}

}  // namespace veltrano
