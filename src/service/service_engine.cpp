// The service's worker.
#include "service/service_engine.h"

#include "engine/log_location.h"
#include "settings/adapter_settings.h"
#include "settings/email_settings.h"
#include "settings/options.h"
#include "settings/service_settings.h"

namespace veltrano {

ServiceEngine::ServiceEngine(const ServiceDependencies& dependencies)
    : interfaces_(dependencies.interfaces),
      localMachine_(dependencies.localMachine),
      files_(dependencies.files),
      log_(dependencies.log),
      table_(dependencies.interfaces),
      trafficLog_(dependencies.files),
      sampler_(ProgramRole::kService, table_, trafficLog_, dependencies.clock),
      reports_(dependencies.files, dependencies.log) {
  sampler_.SetListener(this);
}

void ServiceEngine::Work(StopSignal& stop) {
  if (!table_.BindInterfaceApi()) {
    log_.Write("Err: 0x0102000");
    return;
  }
  if (!Initialise()) {
    log_.Write("Err: 0x0101000");
    return;
  }
  log_.Write("Service is running...");
  while (running_ && !stop.WaitForStop(kTickIntervalMs)) Tick();
  Shutdown();
}

bool ServiceEngine::Initialise() {
  if (!ReadSettings()) return false;
  table_.LoadAdapterSettings(ReadAdapterSubkeys(localMachine_, ProgramRole::kService), ProgramRole::kService);
  PrepareRecorders();
  if (!OpenTrafficLog()) return false;
  trafficLog_.LoadToday(table_.Rows(), sampler_.LastTick());
  reports_.SetEntries(settings_.service.reports);
  return true;
}

// The machine's settings, read once per start: a changed option takes effect at the next start.
bool ServiceEngine::ReadSettings() {
  LoadServiceSettings(localMachine_, ProgramRole::kService, settings_.service);
  if (!settings_.service.serviceEnabled) {
    log_.Write("Service isn't enabled. You may enable service at \"Options\" -> \"Serice\" -> \"Enable Serice\"");
    return false;
  }
  LoadServiceOptions(localMachine_, settings_.options);
  if (!settings_.service.options.notifyInService) settings_.options.notificationEnabled = 0;
  LoadEmailSettings(localMachine_, settings_.email);
  return true;
}

// Rows record their rates in the service only while the service's recorder switch is on.
void ServiceEngine::PrepareRecorders() {
  const bool recorderOn = settings_.service.options.recorderInService != 0;
  for (auto& row : table_.Rows()) {
    if (!recorderOn) row.recordRates = false;
    if (row.recordRates && row.recordInterval == 0) row.recordInterval = 1;
  }
}

bool ServiceEngine::OpenTrafficLog() {
  const LogLocation location = ResolveServiceLogPath(localMachine_, files_);
  settings_.trafficLogFile = location.path;
  log_.Write("Traffic log file: %s", location.path.c_str());
  LogOpenOptions options;
  options.role = LogRole::kServiceWriter;
  options.customPath = location.customPath;
  if (trafficLog_.Open(location.path, options)) return true;
  log_.Write("Failed to create traffic file");
  return false;
}

void ServiceEngine::Shutdown() {
  trafficLog_.WriteToday(table_.Rows(), sampler_.LastTick());
  trafficLog_.Close();
  reports_.WaitForJobs();
  running_ = false;
}

void ServiceEngine::OnRowSample(AdapterEntry& row, std::uint32_t received, std::uint32_t sent, const LocalTime& now) {
  (void)row, (void)received, (void)sent, (void)now;  // the rates recorder takes these
}

// The notification check comes first, then the scheduled reports.
void ServiceEngine::OnTickEnd(const LocalTime& now) {
  if (!reports_.Empty()) reports_.CheckScheduledReports(table_.Rows(), settings_.options, settings_.trafficLogFile, now);
}

}  // namespace veltrano
