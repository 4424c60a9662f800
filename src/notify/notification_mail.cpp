// Composing the notification e-mail.
#include "notify/notification_mail.h"

#include "notify/usage_period.h"
#include "platform/system_text.h"
#include "reports/value_format.h"

namespace veltrano {
namespace {

void ReplaceAll(std::string& text, const std::string& tag, const std::string& value) {
  for (size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + value.size()))
    text.replace(at, tag.size(), value);
}

}  // namespace

std::string FillTemplateTags(std::string text, const TagValues& values) {
  ReplaceAll(text, "%b", values.amount);
  ReplaceAll(text, "%t", values.transfer);
  ReplaceAll(text, "%a", values.adapter);
  ReplaceAll(text, "%p", values.period);
  ReplaceAll(text, "%f", values.total);
  return text;
}

bool IsComplete(const EmailSettings& settings) {
  return !settings.smtpServer.empty() && !settings.mailFrom.empty() &&
         !(settings.subject.empty() && settings.body.empty()) &&
         !(settings.serverRequiresAuth && settings.authName.empty());
}

std::string ComposeNotificationMessage(const EmailSettings& settings, const NotificationRule& rule,
                                       const NotificationFacts& facts) {
  const std::string message = "From: " + settings.mailFrom + "\r\nTo: " + rule.emailAddresses +
                              "\r\nSubject: " + settings.subject + "\r\n\r\n" + settings.body;
  return FillTemplateTags(message, {rule.amount + " " + UnitWord(rule.unit), TransferWord(rule.transferType),
                                    facts.adapterTitle, facts.periodText, FormatVolume(facts.periodTotal, true)});
}

std::optional<MailJob> MakeNotificationJob(const EmailSettings& settings, const NotificationRule& rule,
                                           const NotificationFacts& facts) {
  if (!IsComplete(settings)) return std::nullopt;
  return MakeMailJob(Utf8ToSystemAnsi(settings.smtpServer), Utf8ToSystemAnsi(settings.mailFrom),
                     Utf8ToSystemAnsi(rule.emailAddresses), settings.serverRequiresAuth != 0,
                     Utf8ToSystemAnsi(settings.authName), Utf8ToSystemAnsi(settings.authPass),
                     Utf8ToSystemAnsi(ComposeNotificationMessage(settings, rule, facts)));
}

}  // namespace veltrano
