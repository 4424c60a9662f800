// Applying the Service options page: the traffic log passes from the desktop to the service when
// the service is enabled and back when it is disabled, with the settings the service needs
// copied to the machine and the service installed, started, stopped and removed on the way.
#pragma once

#include <functional>
#include <string>

#include "engine/traffic_log.h"
#include "core/local_time.h"
#include "platform/file_system.h"
#include "platform/service_manager.h"
#include "settings/service_settings.h"
#include "settings/settings_store.h"

namespace veltrano {

// What the main window does around the log during a hand-over.
struct HandoverActions {
  std::function<void()> closeRecorderFiles;  // the service records rates from now on
  std::function<void()> reopenRecorders;
  std::function<void()> rearmNotification;       // after the desktop has reloaded today
  std::function<void(const std::string&)> warn;  // a warning box titled "Veltrano"
  std::function<void(unsigned ms)> pause;
};

struct HandoverTiming {
  unsigned pollMs = 300;
  // How long a freshly started service must keep running before we trust it: one that fails its
  // own start-up (settings it cannot read, a log it cannot open) stops within this time.
  unsigned confirmMs = 3000;
};

enum class HandoverOutcome {
  kSettingsOnly,   // the service was and stays disabled
  kServiceUp,      // the service is running (or was already) and owns the log
  kServiceDown,    // the service was stopped and removed, the desktop writes the log again
  kServiceFailed,  // the service could not be brought up: the desktop took the log back
};

class ServiceHandover {
 public:
  // lastTick is the sampler's: today's records are written and read back under the date of the
  // last counted tick, never the wall clock's (a hand-over across midnight).
  ServiceHandover(ServiceManager& services, SettingsStore& store, TrafficLog& log, const LocalTime& lastTick,
                  FileSystem& files, HandoverActions actions, HandoverTiming timing = {});

  // `serviceExecutable` is the full path of the service program beside the desktop program.
  HandoverOutcome Apply(const ServiceSettings& page, Settings& settings, AdapterList& rows,
                        const std::string& serviceExecutable);

 private:
  HandoverOutcome BringUp(Settings& settings, AdapterList& rows, const std::string& serviceExecutable);
  bool StaysRunning();
  void TakeLogBack(Settings& settings, AdapterList& rows);
  void ReopenLog(LogRole role);
  std::string ServiceLogTail(const std::string& serviceExecutable);
  HandoverOutcome Recover(Settings& settings, AdapterList& rows, const std::string& serviceExecutable,
                          const std::string& why);

  ServiceManager& services_;
  SettingsStore& store_;
  TrafficLog& log_;
  const LocalTime& lastTick_;
  FileSystem& files_;
  HandoverActions actions_;
  HandoverTiming timing_;
};

}  // namespace veltrano
