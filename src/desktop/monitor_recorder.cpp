// Opens the rates recorder dialog from the main window.
#include "desktop/monitor_dlg.h"

namespace veltrano {

// Not built yet: a beep says the command arrived.
void CMonitorDlg::OpenRatesRecorder() {
  MessageBeep(MB_OK);
}

}  // namespace veltrano
