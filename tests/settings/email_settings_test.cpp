#include "settings/email_settings.h"

#include <gtest/gtest.h>

#include "fakes/registry_planting.h"
#include "fakes/test_hive.h"

namespace veltrano {
namespace {

const std::string kEmail = "Software\\Veltrano\\Options\\EmailSettings";

TEST(EmailSettings, EmptyTemplatesFallBackToTheDefaults) {
  testing::TestHive hives;
  testing::PlantString(hives.Hive(), kEmail, "EmlTempSubject", "");
  testing::PlantString(hives.Hive(), kEmail, "EmlTempBody", "");
  testing::PlantString(hives.Hive(), kEmail, "SmtpServer", "mail.example.org");
  EmailSettings settings;
  settings.subject = "stale";
  LoadEmailSettings(hives.Hive(), settings);
  EXPECT_EQ(settings.subject, "Bandwidth Usage Notification");
  EXPECT_EQ(settings.body.substr(0, 12), "Hi,\r\n\r\nMore ");
  EXPECT_EQ(settings.smtpServer, "mail.example.org");
}

TEST(EmailSettings, SavesAndReadsBackLongTextsWhole) {
  testing::TestHive hives;
  EmailSettings settings;
  settings.smtpServer = "smtp.example.org";
  settings.mailFrom = "meter@example.org";
  settings.authName = "meter";
  settings.authPass = " p\xC3\xA4ss word ";
  settings.subject = "Usage of %a";
  settings.body = std::string(5000, 'b') + "\r\n%f";
  settings.serverRequiresAuth = 1;
  SaveEmailSettings(hives.Hive(), settings);
  EXPECT_EQ(testing::Stored(hives.Hive(), kEmail, "AuthPass").type, kRegSz);
  EmailSettings loaded;
  LoadEmailSettings(hives.Hive(), loaded);
  EXPECT_EQ(loaded, settings);
}

}  // namespace
}  // namespace veltrano
