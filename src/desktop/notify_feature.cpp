// The main window's notification and rates recording.
#include "desktop/notify_feature.h"

#include <shellapi.h>

#include "core/text.h"
#include "desktop/alert_window.h"
#include "desktop/mail_thread.h"
#include "desktop/rates_recorder_dlg.h"
#include "desktop/ui/modal_scope.h"
#include "platform/win32/wide_text.h"

namespace veltrano {

NotifyFeature::NotifyFeature(HINSTANCE instance, Settings& settings, SettingsStore& store, AdapterTable& adapters,
                             TrafficLog& log, FileSystem& files, Network& network, Beeper& beeper, Speaker& speaker,
                             ui::Prompter& prompter)
    : instance_(instance),
      settings_(settings),
      store_(store),
      adapters_(adapters),
      files_(files),
      network_(network),
      beeper_(beeper),
      speaker_(speaker),
      prompter_(prompter),
      notifier_(settings, adapters, log, *this),
      recording_(files) {}

void NotifyFeature::Start(const LocalTime& now) {
  recording_.ReopenAll(settings_, adapters_.Rows(), now);
  notifier_.Arm(now);
}

void NotifyFeature::ReopenRecorders(const LocalTime& now) {
  recording_.ReopenAll(settings_, adapters_.Rows(), now);
}

NotificationPageData NotifyFeature::NotificationPage() const {
  return {settings_.options.notificationEnabled != 0, settings_.options.notificationRule, settings_.email};
}

void NotifyFeature::ApplyNotificationPage(const NotificationPageData& data, const LocalTime& now) {
  settings_.options.notificationEnabled = data.enabled;
  settings_.options.notificationRule = data.rule;
  settings_.options.notificationRule.version = NotificationRule::kCurrentVersion;
  settings_.email = data.email;
  notifier_.OnNotificationPageApplied(now);
  store_.Save(SaveTrigger::kNotificationPageApplied, settings_, adapters_.Rows());
}

void NotifyFeature::EditRecorders(const LocalTime& now) {
  ui::ModalScope scope(mainWindow_);
  RatesRecorderDialog dialog(instance_, adapters_.Rows(), files_, prompter_);
  if (dialog.RunModal(mainWindow_) != IDOK) return;
  const RecorderDialogModel& model = dialog.Model();
  const bool tellRestart = recording_.ApplyDialog(settings_, adapters_.Rows(), model.rows, model.numberOnly, now);
  store_.Save(SaveTrigger::kRecorderDialogAccepted, settings_, adapters_.Rows());
  if (tellRestart) prompter_.Inform(mainWindow_, RestartServiceForRecorderText());
}

void NotifyFeature::OnMailResult(LPARAM lParam) {
  const std::string error = TakeMailResult(lParam);
  if (error.empty()) return;
  ui::ModalScope scope(mainWindow_);
  prompter_.Inform(mainWindow_, StringPrintf(kNotificationMailFailure, error.c_str()));
}

void NotifyFeature::Stop() {
  beeper_.Stop();
  recording_.CloseAll();
}

void NotifyFeature::SendNotificationEmail(MailJob job) {
  StartMailThread(std::move(job), network_, mainWindow_);
}

void NotifyFeature::LaunchProgram(const std::string& path) {
  ShellExecuteW(nullptr, L"open", Widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// The main window leaves the topmost band while the alert is open (the scope puts it back).
NextAlertChoice NotifyFeature::ShowAlert(const AlertInputs& inputs) {
  ui::ModalScope scope(mainWindow_);
  AlertWindow window(instance_, inputs, beeper_, prompter_);
  if (window.RunModal(mainWindow_) != IDOK) return inputs.choice;
  return window.Choice();
}

void NotifyFeature::SaveNextAlert() {
  store_.Save(SaveTrigger::kAlertWindowClosed, settings_, adapters_.Rows());
}

void NotifyFeature::Beep(unsigned frequencyHz, unsigned durationMs) {
  speaker_.Beep(frequencyHz, durationMs);
}

}  // namespace veltrano
