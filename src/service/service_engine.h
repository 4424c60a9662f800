// The service's worker: everything it owns (adapter table, traffic log, settings from the
// machine's registry) and its life: initialisation in a fixed order, the once-a-second loop, and
// the last write of the day before it ends. Portable; the Win32 host gives it a stop signal.
#pragma once

#include "engine/adapter_table.h"
#include "engine/traffic_log.h"
#include "engine/traffic_sampler.h"
#include "notify/smtp_client.h"
#include "notify/usage_alert.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/interface_source.h"
#include "platform/network.h"
#include "platform/registry_hive.h"
#include "recorder/rates_recorder.h"
#include "service/scheduled_reports.h"
#include "service/service_log.h"
#include "settings/settings_store.h"

namespace veltrano {

// How the worker learns that it must stop.
class StopSignal {
 public:
  virtual ~StopSignal() = default;
  // Waits up to timeoutMs; true when a stop was asked for (or the wait itself failed), false when
  // the time ran out.
  virtual bool WaitForStop(unsigned timeoutMs) = 0;
  // A sleep or wake of the machine that came since the last call (a wait may end early for it),
  // oldest first; kNone when there is none.
  virtual PowerChange TakePowerChange() { return PowerChange::kNone; }
};

struct ServiceDependencies {
  InterfaceSource& interfaces;
  RegistryHive& localMachine;
  FileSystem& files;
  Clock& clock;
  ServiceLog& log;
  Network& network;
  SmtpTimings smtpTimings = {};
};

class ServiceEngine : private SamplerListener {
 public:
  static constexpr unsigned kTickIntervalMs = 1000;

  explicit ServiceEngine(const ServiceDependencies& dependencies);

  // Binds the interface library, initialises, then samples once a second until stop is signalled;
  // writes the day and closes the log at the end. Every failure is written to the service log.
  void Work(StopSignal& stop);

  // Each step of Work, for tests that drive the engine tick by tick.
  bool Initialise();
  void Tick() { sampler_.Tick(); }
  void Shutdown();

  const Settings& CurrentSettings() const { return settings_; }
  AdapterTable& Table() { return table_; }
  const TrafficLog& Log() const { return trafficLog_; }

 private:
  bool ReadSettings();
  bool OpenTrafficLog();
  void OnLogWriteEvent(LogWriteEvent event);

  // Sampler hand-offs: the rates recorder per row, then notification and scheduled reports.
  void OnRowSample(AdapterEntry& row, std::uint64_t received, std::uint64_t sent, const LocalTime& now) override;
  void OnTickEnd(const LocalTime& now) override;
  void OnDayChanged(const LocalTime& now) override;
  CalendarSettings Calendar() const;
  void ArmNotification(const LocalTime& today);
  void CheckNotification(const LocalTime& now);

  InterfaceSource& interfaces_;
  RegistryHive& localMachine_;
  FileSystem& files_;
  ServiceLog& log_;
  Network& network_;
  SmtpTimings smtpTimings_;
  Settings settings_;
  AdapterTable table_;
  TrafficLog trafficLog_;
  TrafficSampler sampler_;
  ScheduledReports reports_;
  ServiceUsageNotice notice_;
  RatesRecorder recorder_;
  bool running_ = true;
};

}  // namespace veltrano
