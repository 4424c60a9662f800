// Opens the stopwatch from the main window.
#include "desktop/monitor_dlg.h"
#include "desktop/stopwatch_dlg.h"
#include "desktop/ui/modal_scope.h"

namespace veltrano {

// The rate unit is the one in use now; the two switches come back for the window settings group
// saved at shutdown.
void CMonitorDlg::OpenStopwatch() {
  ui::ModalScope scope(Handle());
  Options& options = settings_.options;
  StopwatchSwitches switches;
  switches.alwaysOnTop = options.stopwatchAlwaysOnTop != 0;
  switches.resetGraph = options.stopwatchResetAdapterGraph != 0;
  CStopwatchDlg dialog(
      Instance(), adapters_.Rows(), switches, options.displayUnitByte != 0,
      [this](AdapterEntry& row) { ResetRatesOf(row); }, prompter_);
  dialog.RunModal(Handle());
  options.stopwatchAlwaysOnTop = dialog.Switches().alwaysOnTop ? 1 : 0;
  options.stopwatchResetAdapterGraph = dialog.Switches().resetGraph ? 1 : 0;
}

}  // namespace veltrano
