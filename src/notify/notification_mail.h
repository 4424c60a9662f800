// The notification e-mail: the user's subject and body templates with their five tags filled
// in, wrapped in a mail job for the SMTP client.
#pragma once

#include <optional>
#include <string>

#include "engine/adapter_entry.h"
#include "notify/notification_rule.h"
#include "notify/smtp_client.h"
#include "settings/email_settings.h"

namespace veltrano {

// Server, sender, some template, and an account name when the server wants one.
bool IsComplete(const EmailSettings& settings);

// What the five tags stand for, as text.
struct TagValues {
  std::string amount;    // "%b": "10 GB"
  std::string transfer;  // "%t": "downloaded"
  std::string adapter;   // "%a"
  std::string period;    // "%p"
  std::string total;     // "%f": "11.2 GB"
};

// Replaces "%b", "%t", "%a", "%p", "%f" in that order, each pass over the result of the one before.
std::string FillTemplateTags(std::string text, const TagValues& values);

struct NotificationFacts {
  std::string adapterTitle;      // "%a"
  std::string periodText;        // "%p"
  std::int64_t periodTotal = 0;  // "%f"
};

// Headers and body with "%b", "%t", "%a", "%p", "%f" replaced, in that order, over the whole text.
std::string ComposeNotificationMessage(const EmailSettings& settings, const NotificationRule& rule,
                                       const NotificationFacts& facts);

// The job for the rule's recipients, in the system code page; none when the settings are incomplete.
std::optional<MailJob> MakeNotificationJob(const EmailSettings& settings, const NotificationRule& rule,
                                           const NotificationFacts& facts);

}  // namespace veltrano
