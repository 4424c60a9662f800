#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "fakes/registry_planting.h"
#include "fakes/test_hive.h"
#include "settings/adapter_settings.h"
#include "settings/standalone_values.h"

namespace veltrano {
namespace {

const SaveTrigger kAllTriggers[] = {
    SaveTrigger::kDesktopStart,          SaveTrigger::kDesktopExit,           SaveTrigger::kGeneralPageApplied,
    SaveTrigger::kWindowLookToggled,     SaveTrigger::kUnitOrIpTitleToggled,  SaveTrigger::kDisplaySwitchToggled,
    SaveTrigger::kGraphStyleToggled,     SaveTrigger::kGraphTextPageApplied,  SaveTrigger::kAdaptersPageApplied,
    SaveTrigger::kNotificationPageApplied, SaveTrigger::kAlertWindowClosed,   SaveTrigger::kRecorderDialogAccepted,
    SaveTrigger::kReportsWindowClosed,   SaveTrigger::kServicePageApplied,
};

TEST(SavePlan, NothingReachesTheMachineWhileTheServiceIsDisabled) {
  for (const auto trigger : kAllTriggers) {
    const SavePlan plan = PlanSave(trigger, {false, true, true});
    EXPECT_EQ(plan.localMachine, HiveWrites{}) << static_cast<int>(trigger);
  }
}

TEST(SavePlan, MirrorsOnlyWhatTheServiceReads) {
  const SaveContext enabled{true, true, false};
  // Values only the desktop uses stay with the current user.
  for (const auto trigger : {SaveTrigger::kDesktopStart, SaveTrigger::kWindowLookToggled,
                             SaveTrigger::kDisplaySwitchToggled, SaveTrigger::kGraphStyleToggled,
                             SaveTrigger::kGraphTextPageApplied, SaveTrigger::kAlertWindowClosed})
    EXPECT_EQ(PlanSave(trigger, enabled).localMachine, HiveWrites{}) << static_cast<int>(trigger);

  const SavePlan general = PlanSave(SaveTrigger::kGeneralPageApplied, enabled);
  EXPECT_EQ(general.currentUser.optionGroups, kGroupGeneral | kGroupDisplay);
  EXPECT_EQ(general.localMachine.optionGroups, kGroupGeneral);

  const SavePlan adapters = PlanSave(SaveTrigger::kAdaptersPageApplied, enabled);
  EXPECT_EQ(adapters.currentUser.optionGroups, kGroupTray);
  EXPECT_EQ(adapters.localMachine.optionGroups, 0u);
  EXPECT_EQ(adapters.localMachine.adapterMask, kAdapterIdentity);

  const SavePlan exit = PlanSave(SaveTrigger::kDesktopExit, enabled);
  EXPECT_EQ(exit.currentUser.optionGroups, kGroupWindow);
  EXPECT_EQ(exit.localMachine.optionGroups, 0u);
  EXPECT_EQ(exit.localMachine.adapterMask, kAdapterIdentity);
}

TEST(SavePlan, EmailAndLogPathGoOnlyWhenTheyApply) {
  EXPECT_FALSE(PlanSave(SaveTrigger::kNotificationPageApplied, {true, false, false}).localMachine.email);
  EXPECT_TRUE(PlanSave(SaveTrigger::kNotificationPageApplied, {true, true, false}).localMachine.email);
  EXPECT_FALSE(PlanSave(SaveTrigger::kReportsWindowClosed, {true, true, false}).currentUser.trafficLogFile);
  EXPECT_TRUE(PlanSave(SaveTrigger::kReportsWindowClosed, {true, true, true}).localMachine.trafficLogFile);
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  testing::TestHive hives_;
  SettingsStore store_{hives_.Hive(), hives_.OtherHive()};
};

TEST_F(SettingsStoreTest, EnablingTheServiceCopiesEverythingTheServiceReads) {
  Settings desktop;
  desktop.options.weekStartDay = 1;
  desktop.options.monthStartDay = 15;
  desktop.options.dateFormat = 3;
  desktop.options.sumLastDays = 90;
  desktop.options.displayUnitByte = 1;
  desktop.options.notificationEnabled = 1;
  desktop.options.notificationRule.amount = "4";
  desktop.options.notificationRule.days = 3;
  desktop.email.smtpServer = "smtp.example.org";
  desktop.service.serviceEnabled = 1;
  desktop.service.options.notifyInService = 1;
  desktop.service.options.recorderInService = 1;
  desktop.service.reports = {ScheduledReport{}};
  desktop.trafficLogFile = "C:\\logs\\traffic.log";
  AdapterList rows(1);
  rows.front().id = "{NIC}";
  rows.front().displayName = "NIC";
  rows.front().recordRates = true;
  rows.front().recordFile = "C:\\nic.txt";

  store_.Save(SaveTrigger::kServicePageApplied, desktop, rows);

  Settings service;
  store_.LoadService(service);
  EXPECT_EQ(service.options.weekStartDay, 1u);
  EXPECT_EQ(service.options.monthStartDay, 15u);
  EXPECT_EQ(service.options.dateFormat, 3u);
  EXPECT_EQ(service.options.sumLastDays, 90u);
  EXPECT_EQ(service.options.displayUnitByte, 1u);
  EXPECT_EQ(service.options.notificationEnabled, 1u);
  EXPECT_EQ(service.options.notificationRule.amount, "4");
  EXPECT_EQ(service.email.smtpServer, "smtp.example.org");
  EXPECT_EQ(service.service.serviceEnabled, 1u);
  EXPECT_EQ(service.service.options.recorderInService, 1u);
  EXPECT_EQ(service.service.reports.size(), 1u);
  EXPECT_EQ(service.trafficLogFile, "C:\\logs\\traffic.log");
  const auto adapters = ReadAdapterSubkeys(store_.LocalMachine(), ProgramRole::kService);
  ASSERT_EQ(adapters.size(), 1u);
  EXPECT_EQ(adapters[0].recordFile, "C:\\nic.txt");
}

TEST_F(SettingsStoreTest, TheServiceIgnoresNotificationWhenItsSwitchIsOff) {
  Settings desktop;
  desktop.options.notificationEnabled = 1;
  desktop.service.serviceEnabled = 1;
  store_.Save(SaveTrigger::kServicePageApplied, desktop, {});
  Settings service;
  store_.LoadService(service);
  EXPECT_EQ(service.options.notificationEnabled, 0u);
}

TEST_F(SettingsStoreTest, ADisabledServiceLeavesTheMachineUntouched) {
  Settings desktop;
  for (const auto trigger : kAllTriggers) store_.Save(trigger, desktop, {}, true);
  EXPECT_FALSE(store_.LocalMachine().KeyExists("Software\\Veltrano"));
  EXPECT_TRUE(store_.CurrentUser().KeyExists("Software\\Veltrano\\Options"));
}

TEST_F(SettingsStoreTest, TheDesktopTakesStartWithWindowsFromTheRunValue) {
  Settings settings;
  settings.options.startWithWindows = 1;
  store_.Save(SaveTrigger::kGeneralPageApplied, settings, {});
  Settings loaded;
  store_.LoadDesktop(loaded);
  EXPECT_EQ(loaded.options.startWithWindows, 0u);
  SetStartWithWindows(store_.CurrentUser(), true, "C:\\Veltrano\\Pellacor.exe");
  store_.LoadDesktop(loaded);
  EXPECT_EQ(loaded.options.startWithWindows, 1u);
}

}  // namespace
}  // namespace veltrano
