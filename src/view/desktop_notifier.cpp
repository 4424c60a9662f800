// The desktop's notification state, tick by tick.
#include "view/desktop_notifier.h"

#include "notify/notification_mail.h"

namespace veltrano {

CalendarSettings DesktopNotifier::Calendar() const {
  return {settings_.options.weekStartDay, settings_.options.monthStartDay, settings_.options.dateFormat};
}

bool DesktopNotifier::ServiceSendsEmail() const {
  return settings_.service.serviceEnabled && settings_.service.options.notifyInService;
}

void DesktopNotifier::Arm(const LocalTime& today) {
  if (settings_.options.notificationEnabled)
    alert_.Arm(settings_.options.notificationRule, table_, log_, today, Calendar());
}

// A disabled rule is not evaluated, so arming it only puts the state back to Armed.
void DesktopNotifier::OnNotificationPageApplied(const LocalTime& today) {
  if (settings_.options.notificationEnabled) {
    Arm(today);
    return;
  }
  alert_ = DesktopUsageAlert();
}

void DesktopNotifier::OnCalendarChanged(std::uint32_t oldWeekStartDay, std::uint32_t oldMonthStartDay,
                                        const LocalTime& today) {
  const std::uint32_t kind = settings_.options.notificationRule.periodKind;
  if ((kind == 0 && oldWeekStartDay != settings_.options.weekStartDay) ||
      (kind == 1 && oldMonthStartDay != settings_.options.monthStartDay))
    Arm(today);
}

// While the alert window is open its modal loop still delivers ticks; a re-arm at midnight must
// not open a second window over the first.
void DesktopNotifier::Tick(const LocalTime& now) {
  if (!settings_.options.notificationEnabled || showing_) return;
  const NotificationRule& rule = settings_.options.notificationRule;
  const DesktopUsageAlert::Action action = alert_.Check(rule, settings_.options.nextAlertType);
  if (action == DesktopUsageAlert::Action::kNone) return;
  if (action == DesktopUsageAlert::Action::kAlert) {
    if (rule.sendEmail && !rule.emailAddresses.empty() && !ServiceSendsEmail()) SendEmail(now);
    if (rule.runProgram && !rule.program.empty()) actions_.LaunchProgram(rule.program);
  }
  ShowAlert(now);
}

void DesktopNotifier::ShowLastAlert(const LocalTime& now) {
  if (showing_) return;
  if (settings_.options.notificationEnabled && alert_.CanShowLastAlert() && alert_.Armed().watched) {
    ShowAlert(now);
    return;
  }
  actions_.Beep(300, 100);
}

void DesktopNotifier::SendEmail(const LocalTime& now) {
  const NotificationRule& rule = settings_.options.notificationRule;
  const ArmedRule& armed = alert_.Armed();
  NotificationFacts facts;
  facts.adapterTitle = AdapterTitle(*armed.watched, settings_.options.showIpInTitle != 0);
  facts.periodText = PeriodText(rule, now, Calendar());
  facts.periodTotal = PeriodTotal(rule, armed.periodBase, *armed.watched);
  std::optional<MailJob> job = MakeNotificationJob(settings_.email, rule, facts);
  if (job) actions_.SendNotificationEmail(std::move(*job));
}

void DesktopNotifier::ShowAlert(const LocalTime& now) {
  const ArmedRule& armed = alert_.Armed();
  AlertInputs inputs;
  inputs.rule = settings_.options.notificationRule;
  inputs.calendar = Calendar();
  inputs.today = now;
  inputs.displayName = armed.watched->displayName;
  inputs.watched = armed.watched;
  inputs.periodBase = armed.periodBase;
  inputs.choice = {settings_.options.nextAlertType, settings_.options.nextAlertMin};
  alert_.OnAlertShown();
  showing_ = true;
  const NextAlertChoice choice = actions_.ShowAlert(inputs);
  showing_ = false;
  alert_.OnAlertClosed(choice.type, choice.minutes);
  settings_.options.nextAlertType = choice.type;
  // "No longer" accepts any minutes; a stored 0 would only load as 1 again.
  if (choice.minutes > 0) settings_.options.nextAlertMin = choice.minutes;
  actions_.SaveNextAlert();
}

}  // namespace veltrano
