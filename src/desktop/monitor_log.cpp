// The main window's traffic log: opened at start-up, and the failure dialogs when it cannot be.
#include <windows.h>
// after windows.h, which it needs
#include <commdlg.h>

#include "desktop/monitor_dlg.h"
#include "desktop/ui/modal_scope.h"
#include "engine/log_location.h"
#include "platform/win32/wide_text.h"
#include "settings/standalone_values.h"

namespace veltrano {
namespace {

const char* const kGivenUp =
    "Dear user, you've given up to choose a file for traffic log, which means all traffic information will be lost "
    "when the software restarts.";

// A save-style dialog for the custom log; empty when the user cancels.
std::string ChooseCustomLog(HWND owner) {
  wchar_t path[MAX_PATH] = L"";
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = L"Log File (*.log)\0*.log\0";
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = L"log";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetSaveFileNameW(&dialog)) return {};
  return Narrow(std::wstring(path));
}

// kMsgLogFailure's word: the log could not be opened, or a write to the open log failed.
constexpr WPARAM kLogOpenFailed = 0;
constexpr WPARAM kLogWriteFailed = 1;

}  // namespace

void CMonitorDlg::OpenTrafficLog() {
  // Told once per run of failed writes, after the tick that found it, not inside it.
  log_.SetWriteWatcher([window = Handle()](LogWriteEvent event) {
    if (event == LogWriteEvent::kWriteFailed) PostMessageW(window, kMsgLogFailure, kLogWriteFailed, 0);
  });
  const LogLocation location = ResolveDesktopLogPath(store_, settings_, files_);
  settings_.trafficLogFile = location.path;
  LogOpenOptions options;
  options.role = settings_.service.serviceEnabled ? LogRole::kDesktopReader : LogRole::kDesktopWriter;
  options.customPath = location.customPath;
  options.migrationSource = &adapters_.Source();
  options.serviceManager = &services_;
  if (log_.Open(location.path, options)) {
    log_.LoadToday(adapters_.Rows(), sampler_.LastTick());
  } else {
    PostMessageW(Handle(), kMsgLogFailure, kLogOpenFailed, 0);
  }
}

// The desktop writes only every 16 minutes: after a failed write (a full disk) it tries every
// second, so that the day is on disk as soon as there is room again.
void CMonitorDlg::RetryFailedLogWrite() {
  if (log_.WriteFailing()) log_.WriteToday(adapters_.Rows(), sampler_.LastTick());
}

void CMonitorDlg::OnLogFailure(WPARAM what) {
  ui::ModalScope scope(Handle());
  HWND window = Handle();
  std::string path = settings_.trafficLogFile;
  if (what == kLogWriteFailed) {
    prompter_.Warn(window, "Failed to write traffic log file \"" + log_.Path() +
                               "\". The disk may be full, or the file read-only.\n\nToday's traffic is kept and "
                               "written to the file as soon as it can be.");
    return;
  }
  if (settings_.service.serviceEnabled) {
    prompter_.Warn(window, "Failed to open traffic log file (" + path +
                               "), or the file was corrupted by other programs.\n\nPlease stop Veltrano Service and "
                               "disable service on Options, and then try again.");
    return;
  }
  for (;;) {
    const bool choose = prompter_.AskYesNo(
        window, "Failed to create traffic log file \"" + path +
                    "\". Please make sure you have permission to create and write file at the folder.\n\nDo you want "
                    "to choose a custom log file?");
    if (choose) path = ChooseCustomLog(window);
    if (!choose || path.empty()) {
      prompter_.Inform(window, kGivenUp);
      return;
    }
    settings_.trafficLogFile = path;
    WriteTrafficLogPath(store_.CurrentUser(), path);
    if (settings_.service.serviceEnabled) WriteTrafficLogPath(store_.LocalMachine(), path);
    LogOpenOptions options;
    options.customPath = true;
    options.serviceManager = &services_;
    if (log_.Open(path, options)) {
      log_.LoadToday(adapters_.Rows(), sampler_.LastTick());
      return;
    }
  }
}

}  // namespace veltrano
