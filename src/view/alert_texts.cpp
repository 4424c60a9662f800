// Texts of the alert window.
#include "view/alert_texts.h"

#include "reports/value_format.h"

namespace veltrano {

const char* const kAlertCaption = "Notification - Veltrano";
const char* const kNextMinutesRefusal = "Minutes up to next alert should be greater than 0.";

std::string AlertMessage(const NotificationRule& rule, const std::string& displayName, const LocalTime& today,
                         const CalendarSettings& calendar) {
  return "Dear user, more than " + rule.amount + " " + UnitWord(rule.unit) + " have been " +
         TransferWord(rule.transferType) + " through \"" + displayName + "\" in last " +
         PeriodText(rule, today, calendar) + ".";
}

std::string RunningTotalText(const NotificationRule& rule, std::int64_t periodBase, const AdapterEntry& watched) {
  const char* word = rule.transferType == 0   ? "Downloaded"
                     : rule.transferType == 1 ? "Uploaded"
                                              : "Downloaded and uploaded";
  return std::string(word) + " so far: " + FormatVolume(PeriodTotal(rule, periodBase, watched), true);
}

long ParseNextMinutes(const std::string& text) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  return std::stol(text);
}

std::string CheckNextAlertChoice(std::uint32_t type, long minutes) {
  return type == 1 && minutes <= 0 ? kNextMinutesRefusal : "";
}

}  // namespace veltrano
