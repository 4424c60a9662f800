// What the alert window says: the message of the rule that fired, the running total of the period
// and the check of the user's next-alert choice before the window closes.
#pragma once

#include <cstdint>
#include <string>

#include "core/local_time.h"
#include "engine/adapter_entry.h"
#include "notify/notification_rule.h"
#include "notify/usage_period.h"

namespace veltrano {

extern const char* const kAlertCaption;        // "Notification - Veltrano"
extern const char* const kNextMinutesRefusal;  // shown when Next N minute(s) has N of 0 or less

// "Dear user, more than 10 GB have been downloaded through "LAN" in last week (... -- ...)."
std::string AlertMessage(const NotificationRule& rule, const std::string& displayName, const LocalTime& today,
                         const CalendarSettings& calendar);

// "Downloaded so far: 11.2 GB": the period base plus the watched row's live totals.
std::string RunningTotalText(const NotificationRule& rule, std::int64_t periodBase, const AdapterEntry& watched);

// The choice the alert window returns: "No longer" (0) or Next N minute(s) (1).
struct NextAlertChoice {
  std::uint32_t type = 0;
  std::uint32_t minutes = 1;
};

// The minutes edit as typed: digits only make a number; anything else (empty included) is 0.
long ParseNextMinutes(const std::string& text);
// Empty when the window may close with this choice, else the refusal to show.
std::string CheckNextAlertChoice(std::uint32_t type, long minutes);

}  // namespace veltrano
