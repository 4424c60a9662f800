// Loading at start and the mirroring table of every save.
#include "settings/settings_store.h"

#include "settings/adapter_settings.h"
#include "settings/standalone_values.h"

namespace veltrano {

SavePlan PlanSave(SaveTrigger trigger, const SaveContext& context) {
  HiveWrites user;
  HiveWrites machine;  // written only while the service is enabled
  switch (trigger) {
    case SaveTrigger::kDesktopStart:
      user.optionGroups = kGroupInstance;
      break;
    case SaveTrigger::kDesktopExit:
      user.optionGroups = kGroupWindow;
      user.adapterMask = machine.adapterMask = kAdapterIdentity;
      break;
    case SaveTrigger::kGeneralPageApplied:
      user.optionGroups = kGroupGeneral | kGroupDisplay;
      machine.optionGroups = kGroupGeneral;
      break;
    case SaveTrigger::kWindowLookToggled:
      user.optionGroups = kGroupGeneral;
      break;
    case SaveTrigger::kUnitOrIpTitleToggled:
      user.optionGroups = machine.optionGroups = kGroupGeneral;
      break;
    case SaveTrigger::kDisplaySwitchToggled:
      user.optionGroups = kGroupDisplay;
      break;
    case SaveTrigger::kGraphStyleToggled:
      user.optionGroups = kGroupGraphStyle;
      break;
    case SaveTrigger::kGraphTextPageApplied:
      user.optionGroups = kGroupGraphStyle | kGroupFonts | kGroupColors;
      break;
    case SaveTrigger::kAdaptersPageApplied:
      user.adapterMask = machine.adapterMask = kAdapterIdentity;
      user.optionGroups = kGroupTray;
      break;
    case SaveTrigger::kNotificationPageApplied:
      user.email = machine.email = context.notificationEnabled;
      user.optionGroups = machine.optionGroups = kGroupNotification;
      break;
    case SaveTrigger::kAlertWindowClosed:
      user.optionGroups = kGroupNextAlert;
      break;
    case SaveTrigger::kRecorderDialogAccepted:
      user.adapterMask = machine.adapterMask = kAdapterRecording;
      break;
    case SaveTrigger::kReportsWindowClosed:
      user.optionGroups = machine.optionGroups = kGroupSummaryDays;
      user.trafficLogFile = machine.trafficLogFile = context.trafficLogFileChanged;
      break;
    case SaveTrigger::kServicePageApplied:
      user.service = true;
      machine.service = true;
      machine.trafficLogFile = true;
      machine.optionGroups = kGroupGeneral | kGroupSummaryDays | kGroupNotification;
      machine.adapterMask = kAdapterIdentity | kAdapterRecording;
      machine.email = context.notificationEnabled;
      break;
  }
  return {user, context.serviceEnabled ? machine : HiveWrites{}};
}

void SettingsStore::LoadDesktop(Settings& settings) {
  LoadDesktopOptions(currentUser_, settings.options);
  LoadServiceSettings(currentUser_, ProgramRole::kDesktop, settings.service);
  LoadEmailSettings(currentUser_, settings.email);
  ReadTrafficLogPath(currentUser_, settings.trafficLogFile);
  settings.options.startWithWindows = IsStartWithWindows(currentUser_) ? 1 : 0;
}

void SettingsStore::LoadService(Settings& settings) {
  LoadServiceOptions(localMachine_, settings.options);
  LoadServiceSettings(localMachine_, ProgramRole::kService, settings.service);
  LoadEmailSettings(localMachine_, settings.email);
  ReadTrafficLogPath(localMachine_, settings.trafficLogFile);
  if (!settings.service.options.notifyInService) settings.options.notificationEnabled = 0;
}

void SettingsStore::Save(SaveTrigger trigger, const Settings& settings, const AdapterList& rows,
                         bool trafficLogFileChanged) {
  const SaveContext context{settings.service.serviceEnabled != 0, settings.options.notificationEnabled != 0,
                            trafficLogFileChanged};
  const SavePlan plan = PlanSave(trigger, context);
  Write(currentUser_, plan.currentUser, settings, rows);
  Write(localMachine_, plan.localMachine, settings, rows);
}

void SettingsStore::Write(RegistryHive& hive, const HiveWrites& writes, const Settings& settings,
                          const AdapterList& rows) {
  if (writes.service) SaveServiceSettings(hive, settings.service);
  if (writes.trafficLogFile && !settings.trafficLogFile.empty()) WriteTrafficLogPath(hive, settings.trafficLogFile);
  SaveOptions(hive, settings.options, writes.optionGroups);
  SaveAdapters(hive, rows, writes.adapterMask);
  if (writes.email) SaveEmailSettings(hive, settings.email);
}

}  // namespace veltrano
