// Evaluating the bandwidth usage rule once per tick. The desktop alerts through a window and may
// repeat after N minutes; the service fires once per run, by e-mail only.
#pragma once

#include <cstdint>

#include "engine/adapter_table.h"
#include "engine/traffic_log.h"
#include "notify/usage_period.h"

namespace veltrano {

// What arming computes: the threshold, the period's traffic before today and the watched row.
struct ArmedRule {
  std::int64_t threshold = 0;
  std::int64_t periodBase = 0;
  AdapterEntry* watched = nullptr;

  bool Exceeded(const NotificationRule& rule) const {
    return watched && PeriodTotal(rule, periodBase, *watched) > threshold;
  }
};

ArmedRule ArmRule(const NotificationRule& rule, AdapterTable& table, TrafficLog& log, const LocalTime& today,
                  const CalendarSettings& calendar);

enum class AlertState { kArmed, kAlertShowing, kAlertDismissed };

class DesktopUsageAlert {
 public:
  enum class Action { kNone, kAlert, kRepeatAlert };
  static constexpr std::uint32_t kNoLonger = 0;
  static constexpr std::uint32_t kNextMinutes = 1;

  void Arm(const NotificationRule& rule, AdapterTable& table, TrafficLog& log, const LocalTime& today,
           const CalendarSettings& calendar);
  // One tick. kAlert: send the e-mail, run the program and show the window; kRepeatAlert: only
  // show the window.
  Action Check(const NotificationRule& rule, std::uint32_t nextAlertType);
  void OnAlertShown() { state_ = AlertState::kAlertShowing; }
  // The user's choice in the alert window: "No longer", or again after `minutes` minutes.
  void OnAlertClosed(std::uint32_t nextAlertType, std::uint32_t minutes);
  // Ctrl+N: the last alert can be shown again only after it was dismissed.
  bool CanShowLastAlert() const { return state_ == AlertState::kAlertDismissed; }

  AlertState State() const { return state_; }
  const ArmedRule& Armed() const { return armed_; }

 private:
  ArmedRule armed_;
  AlertState state_ = AlertState::kArmed;
  std::int64_t countdown_ = 0;
};

class ServiceUsageNotice {
 public:
  void Arm(const NotificationRule& rule, AdapterTable& table, TrafficLog& log, const LocalTime& today,
           const CalendarSettings& calendar) {
    armed_ = ArmRule(rule, table, log, today, calendar);
  }
  // True once, at the tick the rule is exceeded.
  bool Check(const NotificationRule& rule) const { return armed_.Exceeded(rule); }
  const ArmedRule& Armed() const { return armed_; }

 private:
  ArmedRule armed_;
};

}  // namespace veltrano
