// The main window's notification and rates recording, in one piece: the rule check after all rows
// of a tick with its actions (mail thread, program, alert window), Ctrl+N, the recorder dialog
// (F5), the recording of each row, and the notification mail's failure box.
#pragma once

#include <windows.h>

#include "desktop/ui/prompter.h"
#include "engine/adapter_table.h"
#include "engine/traffic_log.h"
#include "notify/beeper.h"
#include "platform/file_system.h"
#include "platform/network.h"
#include "settings/settings_store.h"
#include "view/desktop_notifier.h"
#include "view/desktop_recording.h"
#include "view/notification_page_model.h"

namespace veltrano {

class NotifyFeature : private NotifierActions {
 public:
  NotifyFeature(HINSTANCE instance, Settings& settings, SettingsStore& store, AdapterTable& adapters, TrafficLog& log,
                FileSystem& files, Network& network, Beeper& beeper, Speaker& speaker, ui::Prompter& prompter);

  void SetMainWindow(HWND window) { mainWindow_ = window; }

  // Start-up, once the log and today's totals are loaded.
  void Start(const LocalTime& now);
  // Per row and tick, in table order.
  void OnRowSample(AdapterEntry& row, std::uint32_t received, std::uint32_t sent, const LocalTime& now) {
    recording_.OnRowSample(row, received, sent, now);
  }
  // After all rows of a tick.
  void OnTickEnd(const LocalTime& now) { notifier_.Tick(now); }
  // A new date (seen on the tick or after a time change) and the service switched off re-arm.
  void Rearm(const LocalTime& now) { notifier_.Arm(now); }
  void OnCalendarChanged(std::uint32_t oldWeekStartDay, std::uint32_t oldMonthStartDay, const LocalTime& now) {
    notifier_.OnCalendarChanged(oldWeekStartDay, oldMonthStartDay, now);
  }
  // The service settings, the unit or the date format changed: files close or reopen.
  void ReopenRecorders(const LocalTime& now);
  // WM_OPTIONS_APPLY with code 204: copy, arm, save.
  void ApplyNotificationPage(const NotificationPageData& data, const LocalTime& now);
  NotificationPageData NotificationPage() const;

  // Ctrl+N.
  void ShowLastAlert(const LocalTime& now) { notifier_.ShowLastAlert(now); }
  // F5.
  void EditRecorders(const LocalTime& now);
  // WM_MAIL_RESULT of a notification mail.
  void OnMailResult(LPARAM lParam);
  // End of the program.
  void Stop();

  const DesktopNotifier& Notifier() const { return notifier_; }

 private:
  void SendNotificationEmail(MailJob job) override;
  void LaunchProgram(const std::string& path) override;
  NextAlertChoice ShowAlert(const AlertInputs& inputs) override;
  void SaveNextAlert() override;
  void Beep(unsigned frequencyHz, unsigned durationMs) override;

  HINSTANCE instance_;
  Settings& settings_;
  SettingsStore& store_;
  AdapterTable& adapters_;
  FileSystem& files_;
  Network& network_;
  Beeper& beeper_;
  Speaker& speaker_;
  ui::Prompter& prompter_;
  HWND mainWindow_ = nullptr;
  DesktopNotifier notifier_;
  DesktopRecording recording_;
};

}  // namespace veltrano
