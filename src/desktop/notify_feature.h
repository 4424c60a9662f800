// The main window's notification and rates recorder parts: the rule check after all rows of a tick
// with its actions (mail thread, program, alert window), Ctrl+N, the recorder dialog (F5), the
// notification page and its apply, and the notification mail's failure box. Owns the process's
// beeper, speaker and sockets.
#pragma once

#include <windows.h>

#include <memory>

#include "desktop/opt_notification_page.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/prompter.h"
#include "engine/adapter_table.h"
#include "engine/traffic_log.h"
#include "notify/beeper.h"
#include "platform/file_system.h"
#include "platform/win32/win32_speaker.h"
#include "platform/win32/winsock_network.h"
#include "recorder/rates_recorder.h"
#include "settings/settings_store.h"
#include "view/desktop_notifier.h"
#include "view/desktop_recording.h"
#include "view/notification_page_model.h"

namespace veltrano {

class NotifyFeature : private NotifierActions {
 public:
  // mainWindow is only asked for its handle, once it exists.
  NotifyFeature(ui::Dialog& mainWindow, Settings& settings, SettingsStore& store, AdapterTable& adapters,
                TrafficLog& log, FileSystem& files, RatesRecorder& recorder, ui::Prompter& prompter);

  // Start-up with the rule on, a new date, the service switched off: arms an enabled rule.
  void Rearm(const LocalTime& now) { notifier_.Arm(now); }
  // The General page changed the week or month start.
  void OnCalendarChanged(std::uint32_t oldWeekStartDay, std::uint32_t oldMonthStartDay, const LocalTime& now) {
    notifier_.OnCalendarChanged(oldWeekStartDay, oldMonthStartDay, now);
  }
  // After all rows of a tick.
  void OnTickEnd(const LocalTime& now) { notifier_.Tick(now); }
  // Ctrl+N.
  void ShowLastAlert(const LocalTime& now) { notifier_.ShowLastAlert(now); }
  // F5.
  void EditRecorders(const LocalTime& now);

  // The fourth page of the options sheet, on a copy of the current settings that lives as long as
  // the page; it hands that copy back with WM_OPTIONS_APPLY and code 204.
  std::unique_ptr<COptNotificationPage> MakeNotificationPage();
  void ApplyNotificationPage(const NotificationPageData& data, const LocalTime& now);

  // WM_MAIL_RESULT, and WM_OPTIONS_APPLY with code 204; false for every other message.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, const LocalTime& now);
  // End of the program: no beep outlives the window.
  void Stop() { beeper_.Stop(); }

  Beeper& ProcessBeeper() { return beeper_; }
  Network& Sockets() { return network_; }
  const DesktopNotifier& Notifier() const { return notifier_; }

 private:
  void SendNotificationEmail(MailJob job) override;
  void LaunchProgram(const std::string& path) override;
  NextAlertChoice ShowAlert(const AlertInputs& inputs) override;
  void SaveNextAlert() override;
  void Beep(unsigned frequencyHz, unsigned durationMs) override;
  void OnMailResult(LPARAM lParam);

  ui::Dialog& mainWindow_;
  Settings& settings_;
  SettingsStore& store_;
  AdapterTable& adapters_;
  FileSystem& files_;
  ui::Prompter& prompter_;
  WinsockNetwork network_;
  Win32Speaker speaker_;
  Beeper beeper_{speaker_};
  DesktopNotifier notifier_;
  DesktopRecording recording_;
  NotificationPageData pageData_;
};

}  // namespace veltrano
