// Opens the options sheet from the main window.
#include "desktop/monitor_dlg.h"

namespace veltrano {

// Not built yet: a beep says the command arrived.
void CMonitorDlg::OpenOptionsSheet() {
  MessageBeep(MB_OK);
}

}  // namespace veltrano
