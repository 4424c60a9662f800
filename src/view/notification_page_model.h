// What the notification options page edits: the enable switch, the rule and a copy of the e-mail
// settings, moved to and from the page's fields.
#pragma once

#include <string>
#include <vector>

#include "engine/adapter_entry.h"
#include "notify/notification_checks.h"
#include "notify/notification_rule.h"
#include "settings/email_settings.h"

namespace veltrano {

struct NotificationPageData {
  bool enabled = false;
  NotificationRule rule;
  EmailSettings email;
};

// The adapter list's row matching the rule (kind, and id for an interface), else the first; -1
// for an empty list.
int RuleAdapterIndex(const NotificationRule& rule, const AdapterList& adapters);

NotificationPageFields FieldsOfRule(const NotificationRule& rule, const AdapterList& adapters);
// The fields written back over the rule; the adapter by its row in the list.
void StoreFieldsInRule(const NotificationPageFields& fields, const AdapterList& adapters, NotificationRule& rule);

// The sound test button: empty when the file may be played, else its refusal.
std::string CheckSoundTest(const std::string& path, FileSystem& files);

}  // namespace veltrano
