// The settings of both programs as one record, their loading at start, and every save of the
// desktop: each trigger writes its groups to the current user and, while the service is enabled,
// mirrors what the service reads to the local machine.
#pragma once

#include <cstdint>
#include <string>

#include "engine/adapter_entry.h"
#include "platform/registry_hive.h"
#include "settings/email_settings.h"
#include "settings/options.h"
#include "settings/service_settings.h"

namespace veltrano {

struct Settings {
  Options options = DefaultOptions();
  EmailSettings email;
  ServiceSettings service;
  std::string trafficLogFile;
};

enum class SaveTrigger {
  kDesktopStart,
  kDesktopExit,
  kGeneralPageApplied,
  kWindowLookToggled,      // AlwaysOnTop, ShowCaption, SemiTransparent, EnableClickThrough
  kUnitOrIpTitleToggled,   // DisplayUnitByte, ShowIPInTitle
  kDisplaySwitchToggled,
  kGraphStyleToggled,
  kGraphTextPageApplied,
  kAdaptersPageApplied,
  kNotificationPageApplied,
  kAlertWindowClosed,
  kRecorderDialogAccepted,
  kReportsWindowClosed,
  kServicePageApplied,
};

// What one save writes to one hive.
struct HiveWrites {
  std::uint32_t optionGroups = 0;
  std::uint32_t adapterMask = 0;
  bool email = false;
  bool service = false;
  bool trafficLogFile = false;

  bool operator==(const HiveWrites& other) const {
    return optionGroups == other.optionGroups && adapterMask == other.adapterMask && email == other.email &&
           service == other.service && trafficLogFile == other.trafficLogFile;
  }
};

struct SavePlan {
  HiveWrites currentUser;
  HiveWrites localMachine;
};

struct SaveContext {
  bool serviceEnabled = false;       // as now in memory
  bool notificationEnabled = false;
  bool trafficLogFileChanged = false;
};

SavePlan PlanSave(SaveTrigger trigger, const SaveContext& context);

class SettingsStore {
 public:
  SettingsStore(RegistryHive& currentUser, RegistryHive& localMachine)
      : currentUser_(currentUser), localMachine_(localMachine) {}

  // Desktop start: options, service settings and report list, e-mail settings (all from the
  // current user), StartWithWindows from the Run value. The instance handle is saved separately.
  void LoadDesktop(Settings& settings);
  // Service start, from the local machine only; notification stays on only if the service's
  // notification switch is on.
  void LoadService(Settings& settings);

  void Save(SaveTrigger trigger, const Settings& settings, const AdapterList& rows, bool trafficLogFileChanged = false);

  RegistryHive& CurrentUser() { return currentUser_; }
  RegistryHive& LocalMachine() { return localMachine_; }

 private:
  void Write(RegistryHive& hive, const HiveWrites& writes, const Settings& settings, const AdapterList& rows);

  RegistryHive& currentUser_;
  RegistryHive& localMachine_;
};

}  // namespace veltrano
