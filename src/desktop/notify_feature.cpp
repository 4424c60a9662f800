// The main window's notification and rates recorder parts.
#include "desktop/notify_feature.h"

#include <shellapi.h>

#include "core/text.h"
#include "desktop/alert_window.h"
#include "desktop/mail_thread.h"
#include "desktop/rates_recorder_dlg.h"
#include "desktop/ui/modal_scope.h"
#include "platform/win32/wide_text.h"

namespace veltrano {

NotifyFeature::NotifyFeature(ui::Dialog& mainWindow, Settings& settings, SettingsStore& store, AdapterTable& adapters,
                             TrafficLog& log, FileSystem& files, RatesRecorder& recorder, ui::Prompter& prompter)
    : mainWindow_(mainWindow),
      settings_(settings),
      store_(store),
      adapters_(adapters),
      files_(files),
      prompter_(prompter),
      notifier_(settings, adapters, log, *this),
      recording_(recorder) {}

void NotifyFeature::EditRecorders(const LocalTime& now) {
  HWND owner = mainWindow_.Handle();
  ui::ModalScope scope(owner);
  RatesRecorderDialog dialog(mainWindow_.Instance(), adapters_.Rows(), files_, prompter_);
  if (dialog.RunModal(owner) != IDOK) return;
  const RecorderDialogModel& model = dialog.Model();
  const bool tellRestart = recording_.ApplyDialog(settings_, adapters_.Rows(), model.rows, model.numberOnly, now);
  store_.Save(SaveTrigger::kRecorderDialogAccepted, settings_, adapters_.Rows());
  if (tellRestart) prompter_.Inform(owner, RestartServiceForRecorderText());
}

std::unique_ptr<COptNotificationPage> NotifyFeature::MakeNotificationPage() {
  pageData_ = {settings_.options.notificationEnabled != 0, settings_.options.notificationRule, settings_.email};
  return std::make_unique<COptNotificationPage>(mainWindow_.Instance(), pageData_, adapters_.Rows(), files_, beeper_,
                                                network_, prompter_, mainWindow_.Handle());
}

void NotifyFeature::ApplyNotificationPage(const NotificationPageData& data, const LocalTime& now) {
  settings_.options.notificationEnabled = data.enabled;
  settings_.options.notificationRule = data.rule;
  settings_.options.notificationRule.version = NotificationRule::kCurrentVersion;
  settings_.email = data.email;
  notifier_.OnNotificationPageApplied(now);
  store_.Save(SaveTrigger::kNotificationPageApplied, settings_, adapters_.Rows());
}

bool NotifyFeature::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, const LocalTime& now) {
  if (message == WM_MAIL_RESULT) {
    OnMailResult(lParam);
    return true;
  }
  if (message == WM_OPTIONS_APPLY && wParam == kNotificationPageCode && lParam) {
    ApplyNotificationPage(*reinterpret_cast<const NotificationPageData*>(lParam), now);
    return true;
  }
  return false;
}

void NotifyFeature::OnMailResult(LPARAM lParam) {
  const std::string error = TakeMailResult(lParam);
  if (error.empty()) return;
  ui::ModalScope scope(mainWindow_.Handle());
  prompter_.Inform(mainWindow_.Handle(), StringPrintf(kNotificationMailFailure, error.c_str()));
}

void NotifyFeature::SendNotificationEmail(MailJob job) {
  StartMailThread(std::move(job), network_, mainWindow_.Handle());
}

void NotifyFeature::LaunchProgram(const std::string& path) {
  ShellExecuteW(nullptr, L"open", Widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// The main window leaves the topmost band while the alert is open (the scope puts it back).
NextAlertChoice NotifyFeature::ShowAlert(const AlertInputs& inputs) {
  HWND owner = mainWindow_.Handle();
  ui::ModalScope scope(owner);
  AlertWindow window(mainWindow_.Instance(), inputs, beeper_, prompter_);
  if (window.RunModal(owner) != IDOK) return inputs.choice;
  return window.Choice();
}

void NotifyFeature::SaveNextAlert() {
  store_.Save(SaveTrigger::kAlertWindowClosed, settings_, adapters_.Rows());
}

void NotifyFeature::Beep(unsigned frequencyHz, unsigned durationMs) {
  speaker_.Beep(frequencyHz, durationMs);
}

}  // namespace veltrano
