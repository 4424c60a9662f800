// E-mail settings load and save.
#include "settings/email_settings.h"

#include "settings/registry_values.h"

namespace veltrano {
namespace {

const std::string kEmailKey = SettingsKey("Options\\EmailSettings");

}  // namespace

const char* const kDefaultEmailSubject = "Bandwidth Usage Notification";
const char* const kDefaultEmailBody =
    "Hi,\r\n\r\nMore than %b have been %t through %a in last %p.\r\n\r\nBytes %t so far: %f\r\n\r\n"
    "The email was sent by Veltrano.\r\n";

bool EmailSettings::operator==(const EmailSettings& other) const {
  return smtpServer == other.smtpServer && mailFrom == other.mailFrom && authName == other.authName &&
         authPass == other.authPass && subject == other.subject && body == other.body &&
         serverRequiresAuth == other.serverRequiresAuth;
}

void LoadEmailSettings(RegistryHive& hive, EmailSettings& settings) {
  ReadString(hive, kEmailKey, "SmtpServer", settings.smtpServer);
  ReadString(hive, kEmailKey, "MailFrom", settings.mailFrom);
  ReadString(hive, kEmailKey, "AuthName", settings.authName);
  ReadString(hive, kEmailKey, "AuthPass", settings.authPass);
  ReadString(hive, kEmailKey, "EmlTempSubject", settings.subject);
  ReadString(hive, kEmailKey, "EmlTempBody", settings.body);
  ReadDword(hive, kEmailKey, "SrvReqAuth", settings.serverRequiresAuth);
  if (settings.subject.empty()) settings.subject = kDefaultEmailSubject;
  if (settings.body.empty()) settings.body = kDefaultEmailBody;
}

void SaveEmailSettings(RegistryHive& hive, const EmailSettings& settings) {
  if (!hive.CreateKey(kEmailKey)) return;
  WriteString(hive, kEmailKey, "SmtpServer", settings.smtpServer);
  WriteString(hive, kEmailKey, "MailFrom", settings.mailFrom);
  WriteString(hive, kEmailKey, "AuthName", settings.authName);
  WriteString(hive, kEmailKey, "AuthPass", settings.authPass);
  WriteString(hive, kEmailKey, "EmlTempSubject", settings.subject);
  WriteString(hive, kEmailKey, "EmlTempBody", settings.body);
  WriteDword(hive, kEmailKey, "SrvReqAuth", settings.serverRequiresAuth);
}

}  // namespace veltrano
