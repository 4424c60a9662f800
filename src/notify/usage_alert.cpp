// The bandwidth usage rule, tick by tick.
#include "notify/usage_alert.h"

namespace veltrano {

ArmedRule ArmRule(const NotificationRule& rule, AdapterTable& table, TrafficLog& log, const LocalTime& today,
                  const CalendarSettings& calendar) {
  ArmedRule armed;
  armed.threshold = ThresholdBytes(rule);
  armed.watched = table.FindAdapter(rule.adapterKind, rule.adapterId);
  armed.periodBase = PeriodBase(rule, log, today, calendar);
  return armed;
}

void DesktopUsageAlert::Arm(const NotificationRule& rule, AdapterTable& table, TrafficLog& log, const LocalTime& today,
                            const CalendarSettings& calendar) {
  armed_ = ArmRule(rule, table, log, today, calendar);
  state_ = AlertState::kArmed;
  countdown_ = 0;
}

DesktopUsageAlert::Action DesktopUsageAlert::Check(const NotificationRule& rule, std::uint32_t nextAlertType) {
  if (!armed_.watched || state_ == AlertState::kAlertShowing) return Action::kNone;
  bool repeat = false;
  if (state_ == AlertState::kAlertDismissed) {
    if (nextAlertType != kNextMinutes) return Action::kNone;
    if (--countdown_ >= 0) return Action::kNone;
    state_ = AlertState::kArmed;
    repeat = true;
  }
  if (!armed_.Exceeded(rule)) return Action::kNone;
  return repeat ? Action::kRepeatAlert : Action::kAlert;
}

void DesktopUsageAlert::OnAlertClosed(std::uint32_t nextAlertType, std::uint32_t minutes) {
  state_ = AlertState::kAlertDismissed;
  if (nextAlertType == kNextMinutes) countdown_ = static_cast<std::int64_t>(minutes) * 60;
}

}  // namespace veltrano
