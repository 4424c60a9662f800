// Checks and sample texts of the notification settings.
#include "notify/notification_checks.h"

#include <charconv>

#include "core/paths.h"
#include "core/text.h"
#include "notify/notification_mail.h"
#include "notify/smtp_client.h"
#include "platform/system_text.h"

namespace veltrano {

const char* const kIncompleteEmailQuestion =
    "You have chosen to send notification email. But settings for email sending aren't set properly.\n"
    "Do you want to set the settings now?";

namespace {

// What a mail job's recipient field holds, in the system code page: a longer list would lose
// recipients on the way.
constexpr size_t kMaxRecipientListBytes = 255;

bool IsValidAmount(const std::string& amount) {
  if (amount.empty() || amount.find_first_not_of("0123456789.") != std::string::npos) return false;
  double value = 0;
  std::from_chars(amount.data(), amount.data() + amount.size(), value, std::chars_format::fixed);
  return value >= 0.000001;
}

bool IsWavFile(const std::string& path) {
  return EqualsIgnoreAsciiCase(ExtensionAfterFolder(path), ".wav");
}

}  // namespace

NotificationPageCheck CheckNotificationPage(const NotificationPageFields& fields, const EmailSettings& email,
                                            FileSystem& files) {
  using C = NotificationControl;
  if (fields.adapterIndex < 0) return {"Please select an adapter.", C::kAdapter};
  if (!IsValidAmount(fields.amount)) return {"Please enter a valid transfer number.", C::kAmount};
  if (fields.unitIndex < 0) return {"Please select a transfer unit (Bytes, KB, MB, GB, or TB).", C::kUnit};
  if (fields.transferTypeIndex < 0)
    return {"Please select the transfer type (downloaded, uploaded or both).", C::kTransferType};
  if (fields.periodIndex < 0) return {"Please select a period.", C::kPeriod};
  if (fields.periodIndex == 2 && fields.days < 1)
    return {"The last day number should be greater than or equal to 1.", C::kDays};
  if (fields.playSound) {
    if (fields.soundFile.empty()) return {"Please choose a sound file.", C::kSoundFile};
    if (!files.IsAvailableFile(fields.soundFile) || !IsWavFile(fields.soundFile))
      return {"File '" + fields.soundFile + "' isn't available or isn't a WAV file.", C::kSoundFile};
  }
  if (fields.beepPresetIndex < 0) return {"Please select a beep sound.", C::kBeepPreset};
  bool askForEmailSettings = false;
  if (fields.sendEmail) {
    if (fields.emailAddresses.empty()) return {"Please input email address.", C::kEmailAddresses};
    const std::vector<std::string> items = SplitRecipients(fields.emailAddresses);
    for (const auto& item : items)
      if (!IsWellFormedAddress(item)) return {"Invalid email address '" + item + "'.", C::kEmailAddresses};
    if (items.empty()) return {"Please input email address.", C::kEmailAddresses};
    if (Utf8ToSystemAnsi(fields.emailAddresses).size() > kMaxRecipientListBytes)
      return {"The email address list is too long. Please keep it within 255 characters.", C::kEmailAddresses};
    askForEmailSettings = !IsComplete(email);
  }
  if (fields.runProgram) {
    if (fields.program.empty()) return {"Please choose an executable file.", C::kProgram, askForEmailSettings};
    if (!files.IsAvailableFile(fields.program))
      return {"File '" + fields.program + "' isn't available.", C::kProgram, askForEmailSettings};
  }
  return {"", C::kNone, askForEmailSettings};
}

EmailSettingsCheck CheckEmailSettings(const EmailSettings& settings) {
  using C = EmailSettingsControl;
  if (settings.smtpServer.empty()) return {"Please input SMTP server name or IP.", C::kServer};
  if (settings.mailFrom.empty()) return {"Please input \"Mail From.\"", C::kMailFrom};
  if (settings.serverRequiresAuth && settings.authName.empty())
    return {"Please input SMTP server authentication account name.", C::kAccountName};
  if (settings.subject.empty()) return {"Please input email template subject.", C::kSubject};
  if (settings.body.empty()) return {"Please input email template body.", C::kBody};
  return {};
}

EmailSettingsCheck CheckTestEmail(const EmailSettings& settings, const std::string& testAddress) {
  EmailSettingsCheck check = CheckEmailSettings(settings);
  if (!check.message.empty()) return check;
  if (testAddress.empty() || !IsWellFormedAddress(testAddress))
    return {"Please enter a valid email address.", EmailSettingsControl::kTestAddress};
  return {};
}

std::string PreviewBody(const EmailSettings& settings) {
  return FillTemplateTags(settings.body,
                          {"10 GB", "downloaded", "LAN [10.0.0.10]", "week (03/02/2008 -- 03/08/2008)", "11.2 GB"});
}

std::string TestEmailMessage(const EmailSettings& settings, const std::string& testAddress) {
  return "From: " + settings.mailFrom + "\r\nTo: " + testAddress + "\r\nSubject: [Test Email] " + settings.subject +
         "\r\n\r\n" + PreviewBody(settings);
}

}  // namespace veltrano
