#include "notify/notification_checks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "core/paths.h"
#include "fakes/test_folder.h"
#include "notify/beeper.h"

namespace veltrano {
namespace {

NotificationPageFields Complete() {
  NotificationPageFields fields;
  fields.adapterIndex = 0;
  fields.amount = "1.5";
  fields.unitIndex = 2;
  fields.transferTypeIndex = 0;
  fields.periodIndex = 2;
  fields.days = 1;
  fields.beepPresetIndex = 0;
  return fields;
}

TEST(NotificationPage, ChecksInOrderAndNamesTheControlToFocus) {
  testing::TestFolder folder;
  EmailSettings email;
  NotificationPageFields fields = Complete();
  EXPECT_EQ(CheckNotificationPage(fields, email, folder.Files()).message, "");
  for (const char* amount : {"", "1,5", "0.0000001", "-1", "-5", "inf", "nan", "1e3"}) {
    fields.amount = amount;
    EXPECT_EQ(CheckNotificationPage(fields, email, folder.Files()).focus, NotificationControl::kAmount) << amount;
  }
  fields = Complete();
  fields.days = 0;
  EXPECT_EQ(CheckNotificationPage(fields, email, folder.Files()).message,
            "The last day number should be greater than or equal to 1.");
  fields = Complete();
  fields.playSound = true;
  fields.soundFile = folder.Path("alarm.mp3");
  folder.WriteAll("alarm.mp3", "x");
  EXPECT_EQ(CheckNotificationPage(fields, email, folder.Files()).message,
            "File '" + fields.soundFile + "' isn't available or isn't a WAV file.");
  folder.WriteAll("alarm.WAV", "x");
  fields.soundFile = folder.Path("alarm.WAV");
  EXPECT_EQ(CheckNotificationPage(fields, email, folder.Files()).message, "");
  fields.soundFile = folder.Path("missing.wav");
  EXPECT_EQ(CheckNotificationPage(fields, email, folder.Files()).focus, NotificationControl::kSoundFile);
}

TEST(NotificationPage, NamesTheFirstBadAddressAndAsksAboutIncompleteMailSettings) {
  testing::TestFolder folder;
  EmailSettings email;
  NotificationPageFields fields = Complete();
  fields.sendEmail = true;
  fields.emailAddresses = " , ";
  EXPECT_EQ(CheckNotificationPage(fields, email, folder.Files()).message, "Please input email address.");
  fields.emailAddresses = "me@example.org, you@example, x@y.z";
  EXPECT_EQ(CheckNotificationPage(fields, email, folder.Files()).message, "Invalid email address 'you@example'.");
  fields.emailAddresses = "me@example.org";
  NotificationPageCheck check = CheckNotificationPage(fields, email, folder.Files());
  EXPECT_EQ(check.message, "");
  EXPECT_TRUE(check.askForEmailSettings);
  fields.runProgram = true;
  fields.program = folder.Path("tool.exe");
  check = CheckNotificationPage(fields, email, folder.Files());
  EXPECT_EQ(check.message, "File '" + fields.program + "' isn't available.");
  EXPECT_TRUE(check.askForEmailSettings);  // asked first; the program check still runs
}

// The list must fit a mail job's 255 bytes in the system code page, where "é" is one byte.
TEST(NotificationPage, RefusesAnAddressListLongerThanAMailJobHolds) {
  testing::TestFolder folder;
  EmailSettings email;
  NotificationPageFields fields = Complete();
  fields.sendEmail = true;
  const std::string address = std::string(20, 'a') + "@example.org";  // 32 bytes
  std::string list = address;
  for (int i = 0; i < 7; ++i) list += "," + address;  // 263 bytes
  fields.emailAddresses = list;
  const NotificationPageCheck check = CheckNotificationPage(fields, email, folder.Files());
  EXPECT_EQ(check.message, "The email address list is too long. Please keep it within 255 characters.");
  EXPECT_EQ(check.focus, NotificationControl::kEmailAddresses);

  std::string accented;
  for (int i = 0; i < 240; ++i) accented += "\xC3\xA9";
  fields.emailAddresses = accented + "@example.org";  // 252 bytes there, 492 here
  EXPECT_EQ(CheckNotificationPage(fields, email, folder.Files()).focus, NotificationControl::kNone);
}

TEST(EmailSettingsDialog, WantsSubjectAndBodyAndAValidTestAddress) {
  EmailSettings email;
  EXPECT_EQ(CheckEmailSettings(email).focus, EmailSettingsControl::kServer);
  email.smtpServer = "smtp.example.org";
  EXPECT_EQ(CheckEmailSettings(email).message, "Please input \"Mail From.\"");
  email.mailFrom = "meter@example.org";
  email.serverRequiresAuth = 1;
  EXPECT_EQ(CheckEmailSettings(email).focus, EmailSettingsControl::kAccountName);
  email.authName = "meter";
  email.subject.clear();
  EXPECT_EQ(CheckEmailSettings(email).message, "Please input email template subject.");
  email.subject = "Usage on %a";
  EXPECT_EQ(CheckTestEmail(email, "nobody").message, "Please enter a valid email address.");
  EXPECT_EQ(CheckTestEmail(email, "me@example.org").message, "");

  const std::string message = TestEmailMessage(email, "me@example.org");
  EXPECT_EQ(message.substr(0, message.find("\r\n\r\n")),
            "From: meter@example.org\r\nTo: me@example.org\r\nSubject: [Test Email] Usage on %a");
  EXPECT_NE(message.find("More than 10 GB have been downloaded through LAN [10.0.0.10] in last week "
                         "(03/02/2008 -- 03/08/2008)."),
            std::string::npos);
}

class CountingSpeaker : public Speaker {
 public:
  void Beep(unsigned frequencyHz, unsigned durationMs) override {
    std::lock_guard<std::mutex> guard(lock);
    tones.emplace_back(frequencyHz, durationMs);
  }
  size_t Count() {
    std::lock_guard<std::mutex> guard(lock);
    return tones.size();
  }
  std::mutex lock;
  std::vector<std::pair<unsigned, unsigned>> tones;
};

TEST(Beeper, SoundsACountedJobToItsEndAndStopsARepeatingOne) {
  EXPECT_EQ(BeepPresetFor(4).frequencyHz, 900u);
  EXPECT_EQ(BeepPresetFor(99).durationMs, 400u);
  CountingSpeaker speaker;
  {
    Beeper beeper(speaker);
    beeper.Start(900, 1, 5);
    for (int wait = 0; wait < 500 && beeper.IsRunning(); ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(speaker.Count(), 5u);
    beeper.Start(400, 1, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    beeper.Stop();
    EXPECT_FALSE(beeper.IsRunning());
  }  // the beeper's threads have ended here
  const size_t afterStop = speaker.Count();
  EXPECT_GT(afterStop, 5u);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(speaker.Count(), afterStop);
}

}  // namespace
}  // namespace veltrano
