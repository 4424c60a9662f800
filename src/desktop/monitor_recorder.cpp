// Opens the rates recorder dialog from the main window.
#include "desktop/monitor_dlg.h"

namespace veltrano {

void CMonitorDlg::OpenRatesRecorder() {
  notify_.EditRecorders(sampler_.LastTick());
}

}  // namespace veltrano
