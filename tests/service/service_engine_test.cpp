#include "service/service_engine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "core/paths.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_interface_source.h"
#include "fakes/registry_planting.h"
#include "fakes/test_folder.h"
#include "fakes/test_hive.h"
#include "fakes/unreachable_network.h"
#include "settings/options.h"
#include "settings/registry_values.h"
#include "settings/service_settings.h"

namespace veltrano {
namespace {

// Each wait is one second of the scripted clock, with some traffic on the interface; the stop
// comes after a given number of waits.
class ScriptedStop : public StopSignal {
 public:
  ScriptedStop(testing::FakeClock& clock, testing::FakeInterfaceSource& source, int waitsBeforeStop)
      : clock_(clock), source_(source), waitsLeft_(waitsBeforeStop) {}
  bool WaitForStop(unsigned timeoutMs) override {
    EXPECT_EQ(timeoutMs, 1000u);
    if (waitsLeft_-- == 0) return true;
    clock_.Advance(1);
    source_.interfaces[0].row.inOctets += 1000;
    source_.interfaces[0].row.outOctets += 100;
    return false;
  }

 private:
  testing::FakeClock& clock_;
  testing::FakeInterfaceSource& source_;
  int waitsLeft_;
};

class ServiceEngineTest : public ::testing::Test {
 protected:
  ServiceEngineTest() {
    clock_.Set(2026, 12, 8, 10, 0, 1);
    source_.Add("{4D36E972-E325-11CE-BFC1-08002BE10318}", 7, 6, 5000, 500);
    testing::PlantDword(hive_.Hive(), SettingsKey("Service"), "ServiceEnabled", 1);
    testing::PlantString(hive_.Hive(), SettingsKey("Options"), "TrafficLogFile", logPath_);
  }

  // The service log's messages, without their time stamps.
  std::vector<std::string> Messages() {
    serviceLog_.Close();
    std::vector<std::string> messages;
    std::istringstream lines(folder_.ReadAll("pellacorservice.log"));
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      messages.push_back(line.size() > 28 && line[0] == '[' ? line.substr(28) : line);
    }
    return messages;
  }

  void RunFor(int seconds) {
    serviceLog_.Open(folder_.Path("pellacorservice.log"));
    ServiceEngine engine({source_, hive_.Hive(), folder_.Files(), clock_, serviceLog_, network_});
    ScriptedStop stop(clock_, source_, seconds);
    engine.Work(stop);
  }

  // (received, sent) of today's records of the interface and of "All Connections".
  std::vector<std::pair<std::uint64_t, std::uint64_t>> TodaysTotals() {
    TrafficLog log(folder_.Files());
    LogOpenOptions options;
    options.role = LogRole::kDesktopReader;
    EXPECT_TRUE(log.Open(logPath_, options));
    std::vector<std::pair<std::uint64_t, std::uint64_t>> totals;
    log.ForEachRecord([&](const DayRecord& record, std::uint64_t) {
      if (record.Date() == LogDate{2026, 12, 8} && record.kind != kDialUpConnections)
        totals.emplace_back(record.received, record.sent);
    });
    return totals;
  }

  testing::TestHive hive_;
  testing::TestFolder folder_;
  testing::FakeClock clock_;
  testing::FakeInterfaceSource source_;
  ServiceLog serviceLog_{clock_};
  testing::UnreachableNetwork network_;
  std::string logPath_ = folder_.Path("qxrsum_v2.log");
};

TEST_F(ServiceEngineTest, CountsEachSecondAndWritesTheDayWhenStopped) {
  RunFor(5);  // 10:00:02 .. 10:00:06: no 8-second boundary, so only the last write stores the day
  const std::vector<std::string> expected = {"Traffic log file: " + logPath_, "Service is running..."};
  EXPECT_EQ(Messages(), expected);
  // The counters read at start-up are the baseline of the first second.
  const std::vector<std::pair<std::uint64_t, std::uint64_t>> totals = {{5000, 500}, {5000, 500}};
  EXPECT_EQ(TodaysTotals(), totals);
}

// The machine sleeps after the second wait, for three hours in which the driver resets the
// interface's counters and the interface comes back with traffic already counted by them; the
// host hands the sleep and the wake to the worker before its next tick.
class SleepingStop : public ScriptedStop {
 public:
  SleepingStop(testing::FakeClock& clock, testing::FakeInterfaceSource& source, std::string logPath)
      : ScriptedStop(clock, source, 5), clock_(clock), source_(source), logPath_(std::move(logPath)) {}
  bool WaitForStop(unsigned timeoutMs) override {
    if (++waits_ == 3) {
      changes_ = {PowerChange::kSuspending, PowerChange::kResumed};
      clock_.Advance(3 * 3600);
      source_.interfaces[0].row.inOctets = 70000;
      source_.interfaces[0].row.outOctets = 7000;
    }
    return ScriptedStop::WaitForStop(timeoutMs);
  }
  // Asked again once the engine applied the sleep: the log is measured as the machine goes down.
  PowerChange TakePowerChange() override {
    if (sleeping_) logSizeAtSleep = std::ifstream(logPath_, std::ios::ate).tellg();
    sleeping_ = false;
    if (changes_.empty()) return PowerChange::kNone;
    const PowerChange change = changes_.front();
    changes_.erase(changes_.begin());
    sleeping_ = change == PowerChange::kSuspending;
    return change;
  }
  std::streamoff logSizeAtSleep = 0;

 private:
  testing::FakeClock& clock_;
  testing::FakeInterfaceSource& source_;
  std::string logPath_;
  std::vector<PowerChange> changes_;
  bool sleeping_ = false;
  int waits_ = 0;
};

TEST_F(ServiceEngineTest, TheTickAfterAWakeCountsNothingAndTheSleepFindsTheDayWritten) {
  serviceLog_.Open(folder_.Path("pellacorservice.log"));
  ServiceEngine engine({source_, hive_.Hive(), folder_.Files(), clock_, serviceLog_, network_});
  SleepingStop stop(clock_, source_, logPath_);
  engine.Work(stop);
  EXPECT_GT(stop.logSizeAtSleep, 24);  // 10:00:03 is no write boundary: the sleep wrote the records
  // Two seconds before the sleep and two after the wake; the wake's own second counts nothing.
  const std::vector<std::pair<std::uint64_t, std::uint64_t>> totals = {{2000 + 2000, 200 + 200},
                                                                       {2000 + 2000, 200 + 200}};
  EXPECT_EQ(TodaysTotals(), totals);
}

TEST_F(ServiceEngineTest, TheNextStartContinuesTodaysTotals) {
  RunFor(5);
  RunFor(12);  // crosses 10:00:08 and 10:00:16 on the way
  const std::vector<std::pair<std::uint64_t, std::uint64_t>> totals = {{5000 + 12000, 500 + 1200},
                                                                       {5000 + 12000, 500 + 1200}};
  EXPECT_EQ(TodaysTotals(), totals);
}

// The service log is 8-bit text in the system code page, where "é" is the one byte E9.
TEST_F(ServiceEngineTest, TheLogPathIsWrittenInTheSystemCodePage) {
  const std::string path = folder_.Path("caf\xC3\xA9.log");
  testing::PlantString(hive_.Hive(), SettingsKey("Options"), "TrafficLogFile", path);
  RunFor(1);
  const std::vector<std::string> messages = Messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.front(), "Traffic log file: " + folder_.Path("caf\xE9.log"));
  EXPECT_TRUE(folder_.Files().Exists(path));
}

TEST_F(ServiceEngineTest, ADisabledServiceSaysWhereToEnableItAndStops) {
  testing::PlantDword(hive_.Hive(), SettingsKey("Service"), "ServiceEnabled", 0);
  RunFor(5);
  const std::vector<std::string> expected = {
      "Service isn't enabled. You may enable service at \"Options\" -> \"Serice\" -> \"Enable Serice\"",
      "Err: 0x0101000"};
  EXPECT_EQ(Messages(), expected);
  EXPECT_FALSE(folder_.Files().Exists(logPath_));
}

TEST_F(ServiceEngineTest, AMissingInterfaceLibraryEndsTheRunBeforeAnythingIsRead) {
  source_.bindSucceeds = false;
  RunFor(5);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Err: 0x0102000"});
}

TEST_F(ServiceEngineTest, ALogThatCannotBeCreatedEndsTheRun) {
  const std::string unreachable = folder_.Path("missing") + std::string(1, kPathSeparator) + "qxrsum_v2.log";
  testing::PlantString(hive_.Hive(), SettingsKey("Options"), "TrafficLogFile", unreachable);
  RunFor(5);
  const std::vector<std::string> expected = {"Traffic log file: " + unreachable, "Failed to create traffic file",
                                             "Err: 0x0101000"};
  EXPECT_EQ(Messages(), expected);
}

TEST_F(ServiceEngineTest, NotificationAndRecordingStayOffUnlessTheServiceSwitchesAreOn) {
  testing::PlantDword(hive_.Hive(), SettingsKey("Options"), "NotificationEnabled", 1);
  testing::PlantDword(hive_.Hive(), SettingsKey("AdaptersEx\\100-"), "RecordTrafficRates", 1);
  testing::PlantString(hive_.Hive(), SettingsKey("AdaptersEx\\100-"), "AdapterID", "");
  serviceLog_.Open(folder_.Path("pellacorservice.log"));
  ServiceEngine engine({source_, hive_.Hive(), folder_.Files(), clock_, serviceLog_, network_});
  ASSERT_TRUE(engine.Initialise());
  EXPECT_EQ(engine.CurrentSettings().options.notificationEnabled, 0u);
  EXPECT_FALSE(engine.Table().Rows().front().recordRates);
  engine.Shutdown();

  Bytes serviceOptions(12, 0);
  PutU32(serviceOptions, 0, 1), PutU32(serviceOptions, 4, 1), PutU32(serviceOptions, 8, 1);
  testing::Plant(hive_.Hive(), SettingsKey("Service"), "ServiceOptions", kRegBinary, serviceOptions);
  ServiceEngine switchedOn({source_, hive_.Hive(), folder_.Files(), clock_, serviceLog_, network_});
  ASSERT_TRUE(switchedOn.Initialise());
  EXPECT_EQ(switchedOn.CurrentSettings().options.notificationEnabled, 1u);
  EXPECT_TRUE(switchedOn.Table().Rows().front().recordRates);
  switchedOn.Shutdown();
}

TEST_F(ServiceEngineTest, ScheduledReportsRunWhenDueAndNeverForAGoneAdapter) {
  ServiceSettings service;
  service.serviceEnabled = 1;
  const auto entry = [](std::int32_t type, std::int32_t kind, const std::string& id, std::int32_t interval,
                        const std::string& path) {
    ScheduledReport report;
    report.reportType = type, report.adapterKind = kind, report.adapterId = id, report.interval = interval;
    report.filePath = path;
    return report;
  };
  const std::string daily = folder_.Path("daily.CSV"), summary = folder_.Path("summary.html"),
                    gone = folder_.Path("gone.txt");
  service.reports = {entry(kDailyReport, kAllConnections, "", 0, daily),  // 0 runs as 1: every tick
                     entry(7, kInterfaceAdapter, "{4D36E972-E325-11CE-BFC1-08002BE10318}", 3, summary),
                     entry(kWeeklyReport, kInterfaceAdapter, "{GONE}", 1, gone)};
  SaveServiceSettings(hive_.Hive(), service);

  RunFor(4);
  const std::vector<std::string> messages = Messages();
  const auto count = [&](const std::string& line) { return std::count(messages.begin(), messages.end(), line); };
  // Ticks here come faster than jobs end: a job whose target an earlier one still holds cannot
  // create it, and says so.
  const auto dailyDone = count("Generate daily report (" + daily + ") for All Connections successfully");
  EXPECT_GE(dailyDone, 1);
  EXPECT_EQ(dailyDone + count("Failed to create file '" + daily + "'."), 4);
  EXPECT_EQ(count("Generate summary report (" + summary + ") for Ethernet adapter successfully"), 1);
  EXPECT_FALSE(folder_.Files().Exists(gone));
  EXPECT_EQ(folder_.ReadAll("daily.CSV").rfind("Daily Traffic Report\r\n", 0), 0u);
  EXPECT_NE(folder_.ReadAll("summary.html").find("<h1>General Traffic Summary</h1>"), std::string::npos);
}

TEST_F(ServiceEngineTest, TheNotificationFiresOncePerRunEvenAcrossMidnightAndReportsTheMailResult) {
  Options options = DefaultOptions();
  options.notificationEnabled = 1;
  options.notificationRule.version = 3;
  options.notificationRule.adapterKind = kAllConnections;
  options.notificationRule.amount = "2500";
  options.notificationRule.periodKind = 1;
  options.notificationRule.sendEmail = 1;
  options.notificationRule.emailAddresses = "me@example.org";
  SaveOptions(hive_.Hive(), options, kGroupNotification);
  Bytes serviceOptions(12, 0);
  PutU32(serviceOptions, 4, 1);
  testing::Plant(hive_.Hive(), SettingsKey("Service"), "ServiceOptions", kRegBinary, serviceOptions);
  testing::PlantString(hive_.Hive(), SettingsKey("Options\\EmailSettings"), "SmtpServer", "mail.example.org");
  testing::PlantString(hive_.Hive(), SettingsKey("Options\\EmailSettings"), "MailFrom", "meter@example.org");

  serviceLog_.Open(folder_.Path("pellacorservice.log"));
  ServiceDependencies dependencies{source_, hive_.Hive(), folder_.Files(), clock_, serviceLog_, network_};
  dependencies.smtpTimings.retryDelayMs = 0;
  clock_.Set(2026, 12, 8, 23, 59, 55);
  {
    ServiceEngine engine(dependencies);
    // 1000 bytes a second: over 2500 at the third tick, before midnight. After midnight the month
    // still holds them, but a rule that fired stays off for the rest of the run.
    ScriptedStop stop(clock_, source_, 8);
    engine.Work(stop);
  }
  const std::string failure = "Please check your email settings at Options -> Notification -> Email Settings.";
  for (int wait = 0; wait < 200 && folder_.ReadAll("pellacorservice.log").find(failure) == std::string::npos; ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const std::vector<std::string> messages = Messages();
  const std::vector<std::string> expected = {"Traffic log file: " + logPath_,
                                             "Service is running...",
                                             "Bandwidth usage exceeds limit.",
                                             "Send a notification email to me@example.org",
                                             "Failed send bandwidth usage notification email to me@example.org.",
                                             "Error: Failed to connect to SMTP server.",
                                             failure};
  EXPECT_EQ(messages, expected);
  EXPECT_EQ(network_.attempts, 4);
}

}  // namespace
}  // namespace veltrano
