#include "view/service_handover.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "fakes/fake_clock.h"
#include "fakes/fake_service_manager.h"
#include "fakes/test_folder.h"
#include "fakes/test_hive.h"
#include "settings/options.h"
#include "settings/standalone_values.h"

namespace veltrano {
namespace {

using testing::FakeServiceManager;

AdapterList Rows() {
  AdapterList rows(2);
  rows.front().kind = kAllConnections;
  rows.back().id = "{NIC}";
  rows.back().displayName = "nic";
  return rows;
}

std::uint32_t Dword(RegistryHive& hive, const std::string& key, const std::string& name) {
  RegValue value;
  if (!hive.QueryValue(key, name, value) || value.type != kRegDword || value.data.size() != 4) return 0xFFFFFFFF;
  return value.data[0] | value.data[1] << 8 | value.data[2] << 16 | static_cast<std::uint32_t>(value.data[3]) << 24;
}

class ServiceHandoverTest : public ::testing::Test {
 protected:
  ServiceHandoverTest() {
    clock_.Set(2026, 12, 8, 12, 0, 0);
    folder_.WriteAll("PellacorService.exe", "MZ");
    LogOpenOptions options;
    options.customPath = true;
    log_.Open(folder_.Path("qxrsum_v2.log"), options);
    settings_.trafficLogFile = log_.Path();
    lastTick_ = clock_.now;
  }

  HandoverOutcome Apply(bool enable) {
    ServiceSettings page = settings_.service;
    page.serviceEnabled = enable;
    return ApplyPage(page);
  }
  HandoverOutcome ApplyPage(const ServiceSettings& page) {
    ServiceHandover handover(services_, store_, log_, lastTick_, folder_.Files(), Actions());
    return handover.Apply(page, settings_, rows_, folder_.Path("PellacorService.exe"));
  }

  HandoverActions Actions() {
    HandoverActions actions;
    actions.closeRecorderFiles = [this] { steps_.push_back("close recorders"); };
    actions.reopenRecorders = [this] { steps_.push_back("reopen recorders"); };
    actions.rearmNotification = [this] { steps_.push_back("rearm"); };
    actions.warn = [this](const std::string& text) { warnings_.push_back(text); };
    actions.pause = [this](unsigned ms) { paused_ += ms; };
    return actions;
  }

  testing::TestFolder folder_;
  testing::TestHive hives_;
  testing::FakeClock clock_;
  LocalTime lastTick_;  // the sampler's
  FakeServiceManager services_;
  SettingsStore store_{hives_.Hive(), hives_.OtherHive()};
  TrafficLog log_{folder_.Files()};
  Settings settings_;
  AdapterList rows_ = Rows();
  std::vector<std::string> steps_;
  std::vector<std::string> warnings_;
  unsigned paused_ = 0;
};

TEST_F(ServiceHandoverTest, EnablingWritesTodayMirrorsInstallsStartsAndBecomesReader) {
  rows_.back().todayIn = 5000;
  settings_.service.options.recorderInService = 1;
  EXPECT_EQ(Apply(true), HandoverOutcome::kServiceUp);

  EXPECT_EQ(services_.calls, (std::vector<std::string>{"state", "install", "start", "state", "state", "state", "state",
                                                       "state", "state", "state", "state", "state", "state"}));
  EXPECT_EQ(services_.installedName, "VeltranoService");
  EXPECT_EQ(services_.installedDisplayName, "Veltrano Service");
  EXPECT_EQ(services_.installedPath, folder_.Path("PellacorService.exe"));
  EXPECT_TRUE(services_.installedAutoStart);
  EXPECT_GE(paused_, 3000u);
  EXPECT_EQ(steps_, std::vector<std::string>{"close recorders"});
  EXPECT_TRUE(log_.IsOpen());
  EXPECT_FALSE(log_.IsWriter());
  EXPECT_TRUE(warnings_.empty());

  // Today reached the log before the service took it over.
  AdapterList seen = Rows();
  log_.LoadToday(seen, clock_.Now());
  EXPECT_EQ(seen.back().todayIn, 5000u);

  EXPECT_EQ(Dword(hives_.Hive(), "Software\\Veltrano\\Service", "ServiceEnabled"), 1u);
  EXPECT_EQ(Dword(hives_.OtherHive(), "Software\\Veltrano\\Service", "ServiceEnabled"), 1u);
  std::string path;
  ASSERT_TRUE(ReadTrafficLogPath(hives_.OtherHive(), path));
  EXPECT_EQ(path, log_.Path());
  EXPECT_EQ(Dword(hives_.OtherHive(), "Software\\Veltrano\\Options", "MonthStartDay"), 1u);
}

// The wall clock is past midnight, the sampler's last tick is not: the old day's totals stay
// under the old date both ways, and the next tick turns the day as usual.
TEST_F(ServiceHandoverTest, AHandOverAcrossMidnightUsesTheDateOfTheLastTick) {
  clock_.Set(2026, 12, 8, 23, 59, 59);
  lastTick_ = clock_.now;
  clock_.Set(2026, 12, 9, 0, 0, 2);
  rows_.back().todayIn = 5000;
  ASSERT_EQ(Apply(true), HandoverOutcome::kServiceUp);
  AdapterList oldDay = Rows();
  log_.LoadToday(oldDay, lastTick_);
  EXPECT_EQ(oldDay.back().todayIn, 5000u);
  AdapterList newDay = Rows();
  log_.LoadToday(newDay, clock_.now);
  EXPECT_EQ(newDay.back().todayIn, 0u);

  services_.state = ServiceState::kRunning;
  rows_.back().todayIn = 0;
  ASSERT_EQ(Apply(false), HandoverOutcome::kServiceDown);
  EXPECT_EQ(rows_.back().todayIn, 5000u) << "the old day read back for the tick that turns it";
}

TEST_F(ServiceHandoverTest, TheDesktopRecordsRatesAgainWhenTheServiceStopsRecording) {
  settings_.service.options.recorderInService = 1;
  ASSERT_EQ(Apply(true), HandoverOutcome::kServiceUp);
  steps_.clear();
  ServiceSettings page = settings_.service;
  page.options.recorderInService = 0;
  EXPECT_EQ(ApplyPage(page), HandoverOutcome::kServiceUp);
  EXPECT_EQ(steps_, std::vector<std::string>{"reopen recorders"});
  steps_.clear();
  page.options.recorderInService = 1;
  EXPECT_EQ(ApplyPage(page), HandoverOutcome::kServiceUp);
  EXPECT_EQ(steps_, std::vector<std::string>{"close recorders"});
}

TEST_F(ServiceHandoverTest, AnAlreadyRunningServiceIsLeftAloneButGetsTheSettings) {
  services_.state = ServiceState::kRunning;
  EXPECT_EQ(Apply(true), HandoverOutcome::kServiceUp);
  EXPECT_EQ(services_.calls, std::vector<std::string>{"state"});
  EXPECT_EQ(Dword(hives_.OtherHive(), "Software\\Veltrano\\Service", "ServiceEnabled"), 1u);
}

TEST_F(ServiceHandoverTest, AnInstalledStoppedServiceIsOnlyStarted) {
  services_.state = ServiceState::kStopped;
  EXPECT_EQ(Apply(true), HandoverOutcome::kServiceUp);
  EXPECT_EQ(services_.calls[1], "start");
  EXPECT_EQ(std::count(services_.calls.begin(), services_.calls.end(), "install"), 0);
}

TEST_F(ServiceHandoverTest, DisablingStopsRemovesAndTakesTheLogBackWithWhatTheServiceStored) {
  ASSERT_EQ(Apply(true), HandoverOutcome::kServiceUp);
  // The service counted on meanwhile and wrote its day.
  {
    TrafficLog service(folder_.Files());
    LogOpenOptions options;
    options.role = LogRole::kServiceWriter;
    options.customPath = true;
    log_.Close();  // our reader stays out of the way of this test's second writer handle
    ASSERT_TRUE(service.Open(folder_.Path("qxrsum_v2.log"), options));
    AdapterList serviceRows = Rows();
    serviceRows.back().todayIn = 9000;
    ASSERT_TRUE(service.WriteToday(serviceRows, clock_.Now()));
    LogOpenOptions reader;
    reader.role = LogRole::kDesktopReader;
    reader.customPath = true;
    service.Close();
    ASSERT_TRUE(log_.Open(folder_.Path("qxrsum_v2.log"), reader));
  }
  settings_.options.notificationEnabled = 1;
  services_.calls.clear();
  for (AdapterEntry& row : rows_) row.hasPrev = true;  // our last tick, before the service's last write
  EXPECT_EQ(Apply(false), HandoverOutcome::kServiceDown);
  EXPECT_TRUE(std::none_of(rows_.begin(), rows_.end(), [](const AdapterEntry& row) { return row.hasPrev; }))
      << "counting starts again, or the service's last stretch is counted twice";
  EXPECT_EQ(services_.calls, (std::vector<std::string>{"state", "stop", "remove"}));
  EXPECT_TRUE(log_.IsWriter());
  EXPECT_EQ(rows_.back().todayIn, 9000u);
  EXPECT_EQ(steps_, (std::vector<std::string>{"rearm", "reopen recorders"}));
  EXPECT_EQ(Dword(hives_.Hive(), "Software\\Veltrano\\Service", "ServiceEnabled"), 0u);
}

TEST_F(ServiceHandoverTest, DisablingAStoppedServiceRemovesItWithoutTheStopWait) {
  settings_.service.serviceEnabled = 1;
  services_.state = ServiceState::kStopped;
  EXPECT_EQ(Apply(false), HandoverOutcome::kServiceDown);
  EXPECT_EQ(services_.calls, (std::vector<std::string>{"state", "remove"}));
}

TEST_F(ServiceHandoverTest, StayingDisabledOnlySavesForTheUser) {
  settings_.service.options.notifyInService = 1;
  EXPECT_EQ(Apply(false), HandoverOutcome::kSettingsOnly);
  EXPECT_TRUE(services_.calls.empty());
  EXPECT_TRUE(log_.IsWriter());
  EXPECT_EQ(Dword(hives_.Hive(), "Software\\Veltrano\\Service", "ServiceEnabled"), 0u);
  EXPECT_FALSE(hives_.OtherHive().KeyExists("Software\\Veltrano\\Service"));
}

// The service must never be left enabled with nobody writing the log.
class FailedStartTest : public ServiceHandoverTest {
 protected:
  void ExpectDesktopTookOver() {
    EXPECT_TRUE(log_.IsWriter());
    EXPECT_EQ(settings_.service.serviceEnabled, 0u);
    EXPECT_EQ(Dword(hives_.Hive(), "Software\\Veltrano\\Service", "ServiceEnabled"), 0u);
    EXPECT_EQ(Dword(hives_.OtherHive(), "Software\\Veltrano\\Service", "ServiceEnabled"), 0u);
    ASSERT_EQ(warnings_.size(), 1u);
    EXPECT_EQ(warnings_[0].rfind("The service could not be started.", 0), 0u) << warnings_[0];
    EXPECT_EQ(steps_.back(), "reopen recorders");
  }
};

TEST_F(FailedStartTest, AMissingServiceProgramIsNamed) {
  folder_.WriteAll("PellacorService.exe", "");
  std::remove(folder_.Path("PellacorService.exe").c_str());
  EXPECT_EQ(Apply(true), HandoverOutcome::kServiceFailed);
  ExpectDesktopTookOver();
  EXPECT_NE(warnings_[0].find("was not found"), std::string::npos);
  EXPECT_EQ(std::count(services_.calls.begin(), services_.calls.end(), "install"), 0);
}

TEST_F(FailedStartTest, ARefusedInstallSaysWhy) {
  services_.installSucceeds = false;
  EXPECT_EQ(Apply(true), HandoverOutcome::kServiceFailed);
  ExpectDesktopTookOver();
  EXPECT_NE(warnings_[0].find("could not be installed: Access is denied."), std::string::npos);
}

TEST_F(FailedStartTest, ARefusedStartRemovesWhatWasInstalled) {
  services_.startSucceeds = false;
  EXPECT_EQ(Apply(true), HandoverOutcome::kServiceFailed);
  ExpectDesktopTookOver();
  EXPECT_EQ(services_.calls.back(), "remove");
  EXPECT_EQ(services_.state, ServiceState::kUnknown);
}

TEST_F(FailedStartTest, AServiceThatStopsItselfAfterStartingIsRemovedAndItsWordsShown) {
  services_.statesAfterStart = {ServiceState::kRunning, ServiceState::kStopped};
  folder_.WriteAll("pellacorservice.log",
                   "[Tue Dec 08 11:00:00 2026]: Veltrano Service start up...\n"
                   "[Tue Dec 08 11:00:01 2026]: Veltrano Service stopped.\n"
                   "[Tue Dec 08 12:00:00 2026]: Veltrano Service start up...\n"
                   "[Tue Dec 08 12:00:01 2026]: Service isn't enabled.\n");
  rows_.back().todayIn = 777;
  EXPECT_EQ(Apply(true), HandoverOutcome::kServiceFailed);
  ExpectDesktopTookOver();
  EXPECT_NE(warnings_[0].find("stopped again right after it started"), std::string::npos);
  EXPECT_NE(warnings_[0].find("Veltrano Service start up...\nService isn't enabled."), std::string::npos)
      << warnings_[0];
  EXPECT_EQ(warnings_[0].find("11:00"), std::string::npos);
  EXPECT_EQ(services_.calls.back(), "remove");
  EXPECT_EQ(rows_.back().todayIn, 777u);  // reloaded from what was written before the hand-over
}

}  // namespace
}  // namespace veltrano
