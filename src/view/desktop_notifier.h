// The desktop's bandwidth usage notification, driven once per tick after all rows: arming, the
// actions of a first firing (e-mail, program, alert window, in that order), the repeat that shows
// the window only, and Ctrl+N.
#pragma once

#include <cstdint>
#include <string>

#include "engine/adapter_table.h"
#include "engine/traffic_log.h"
#include "notify/smtp_client.h"
#include "notify/usage_alert.h"
#include "settings/settings_store.h"
#include "view/alert_texts.h"

namespace veltrano {

// What the alert window is opened with.
struct AlertInputs {
  NotificationRule rule;
  CalendarSettings calendar;
  LocalTime today;
  std::string displayName;
  const AdapterEntry* watched = nullptr;  // read on every tick while the window is open
  std::int64_t periodBase = 0;
  NextAlertChoice choice;  // the stored NextAlertType and NextAlertMin
};

// The outside world of the notifier: real windows, threads and the shell in the program, a
// recorder in tests.
class NotifierActions {
 public:
  virtual ~NotifierActions() = default;
  // Hands the job to a mail thread; returns at once.
  virtual void SendNotificationEmail(MailJob job) = 0;
  // Shell "open", no parameters; the outcome is not checked.
  virtual void LaunchProgram(const std::string& path) = 0;
  // Modal: returns when the user closed the window.
  virtual NextAlertChoice ShowAlert(const AlertInputs& inputs) = 0;
  // Writes NextAlertType and NextAlertMin to the current user's hive.
  virtual void SaveNextAlert() = 0;
  virtual void Beep(unsigned frequencyHz, unsigned durationMs) = 0;
};

class DesktopNotifier {
 public:
  DesktopNotifier(Settings& settings, AdapterTable& table, TrafficLog& log, NotifierActions& actions)
      : settings_(settings), table_(table), log_(log), actions_(actions) {}

  // Start-up, a new date, the service switched off: arms when the rule is enabled.
  void Arm(const LocalTime& today);
  // The notification page was accepted: arms an enabled rule; a disabled one is only reset.
  void OnNotificationPageApplied(const LocalTime& today);
  // The general page changed the week or month start: re-arms when the rule's period uses it.
  void OnCalendarChanged(std::uint32_t oldWeekStartDay, std::uint32_t oldMonthStartDay, const LocalTime& today);

  // After all rows of a tick.
  void Tick(const LocalTime& now);
  // Ctrl+N: the last alert again once dismissed, else a short beep.
  void ShowLastAlert(const LocalTime& now);

  // Whether the e-mail is the service's job (service enabled with its notification switch on).
  bool ServiceSendsEmail() const;
  const DesktopUsageAlert& State() const { return alert_; }
  bool IsShowing() const { return showing_; }

 private:
  CalendarSettings Calendar() const;
  void SendEmail(const LocalTime& now);
  void ShowAlert(const LocalTime& now);

  Settings& settings_;
  AdapterTable& table_;
  TrafficLog& log_;
  NotifierActions& actions_;
  DesktopUsageAlert alert_;
  bool showing_ = false;
};

}  // namespace veltrano
