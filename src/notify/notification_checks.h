// The checks of the notification options page and of the e-mail settings dialog, and the texts
// of the template preview and the test e-mail: each check returns its message and the control to
// focus, for the dialogs to show.
#pragma once

#include <string>

#include "notify/notification_rule.h"
#include "platform/file_system.h"
#include "settings/email_settings.h"

namespace veltrano {

enum class NotificationControl {
  kNone,
  kAdapter,
  kAmount,
  kUnit,
  kTransferType,
  kPeriod,
  kDays,
  kSoundFile,
  kBeepPreset,
  kEmailAddresses,
  kProgram,
};

struct NotificationPageFields {
  int adapterIndex = -1;  // -1: nothing selected
  std::string amount;
  int unitIndex = -1;
  int transferTypeIndex = -1;
  int periodIndex = -1;
  int days = 1;
  bool playSound = false;
  std::string soundFile;
  int beepPresetIndex = -1;
  bool sendEmail = false;
  std::string emailAddresses;
  bool runProgram = false;
  std::string program;
};

struct NotificationPageCheck {
  std::string message;
  NotificationControl focus = NotificationControl::kNone;
  // Everything else passed, the e-mail is on and its settings are incomplete: ask whether to set
  // them now (never blocks acceptance).
  bool askForEmailSettings = false;
};

extern const char* const kIncompleteEmailQuestion;

// The page's checks in order, while "Enable notification" is ticked.
NotificationPageCheck CheckNotificationPage(const NotificationPageFields& fields, const EmailSettings& email,
                                            FileSystem& files);

enum class EmailSettingsControl { kNone, kServer, kMailFrom, kAccountName, kSubject, kBody, kTestAddress };

struct EmailSettingsCheck {
  std::string message;
  EmailSettingsControl focus = EmailSettingsControl::kNone;
};

// The dialog's own completeness check: stricter than IsComplete, it wants subject and body.
EmailSettingsCheck CheckEmailSettings(const EmailSettings& settings);
// The check before a test e-mail: the settings, then the test address.
EmailSettingsCheck CheckTestEmail(const EmailSettings& settings, const std::string& testAddress);

// The body with the sample values ("10 GB", "downloaded", "LAN [10.0.0.10]"...).
std::string PreviewBody(const EmailSettings& settings);
// The test message: headers with "[Test Email]" and the subject as typed, the previewed body.
std::string TestEmailMessage(const EmailSettings& settings, const std::string& testAddress);

}  // namespace veltrano
