// Opens the traffic reports window from the main window.
#include "desktop/monitor_dlg.h"
#include "desktop/summary_file_dialogs.h"
#include "desktop/summary_sheet.h"
#include "desktop/ui/modal_scope.h"

namespace veltrano {

// Out of the topmost band and with the dialog items disabled while the sheet runs; afterwards
// the N of the summary is saved (and mirrored) and a log path chosen in the window is stored
// for the next start.
void CMonitorDlg::OpenTrafficReports() {
  ui::ModalScope scope(Handle());
  const std::string openPath = log_.IsOpen() ? log_.Path() : settings_.trafficLogFile;
  if (reportsState_.logPath.empty()) reportsState_.logPath = openPath;
  reportsState_.sumLastDays = settings_.options.sumLastDays;
  CommonFileDialogs dialogs;
  ReportsContext context{adapters_.Rows(),
                         log_,
                         files_,
                         openPath,
                         settings_.options.weekStartDay,
                         settings_.options.monthStartDay,
                         settings_.options.dateFormat,
                         [this] { return sampler_.LastTick(); },
                         [this] { SendMessageW(Handle(), kMsgClearLog, 0, 0); },
                         prompter_,
                         dialogs};
  context.serviceWritesLog = settings_.service.serviceEnabled != 0;
  {
    CSummarySheet sheet(Instance(), context, reportsState_);
    sheet.Run(Handle());
  }
  settings_.options.sumLastDays = reportsState_.sumLastDays;
  const bool pathChanged = LogPathChanged(openPath, reportsState_.logPath);
  if (pathChanged) settings_.trafficLogFile = reportsState_.logPath;
  store_.Save(SaveTrigger::kReportsWindowClosed, settings_, adapters_.Rows(), pathChanged);
}

}  // namespace veltrano
