// The service's worker.
#include "service/service_engine.h"

#include "engine/log_location.h"
#include "notify/notification_mail.h"
#include "platform/system_text.h"
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
      network_(dependencies.network),
      smtpTimings_(dependencies.smtpTimings),
      table_(dependencies.interfaces),
      trafficLog_(dependencies.files),
      sampler_(ProgramRole::kService, table_, trafficLog_, dependencies.clock),
      reports_(dependencies.files, dependencies.log),
      recorder_(dependencies.files, RecorderFormat{}) {
  sampler_.SetListener(this);
  trafficLog_.SetWriteWatcher([this](LogWriteEvent event) { OnLogWriteEvent(event); });
  recorder_.SetWriteWatcher([this](const std::string& path, bool written) {
    if (written)
      log_.Write("Rates recording file (%s) is written again.", Utf8ToSystemAnsi(path).c_str());
    else
      log_.Write("Failed to write rates recording file (%s); its lines are kept until it can be written.",
                 Utf8ToSystemAnsi(path).c_str());
  });
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
  while (running_ && !stop.WaitForStop(kTickIntervalMs)) {
    for (PowerChange change; (change = stop.TakePowerChange()) != PowerChange::kNone;) sampler_.OnPowerChange(change);
    Tick();
  }
  Shutdown();
}

bool ServiceEngine::Initialise() {
  if (!ReadSettings()) return false;
  table_.LoadAdapterSettings(ReadAdapterSubkeys(localMachine_, ProgramRole::kService), ProgramRole::kService);
  recorder_.SetFormat(
      {settings_.options.displayUnitByte != 0, settings_.options.showIpInTitle != 0, settings_.options.dateFormat});
  recorder_.OpenForService(table_.Rows(), settings_.service.options.recorderInService != 0, sampler_.LastTick());
  if (!OpenTrafficLog()) return false;
  trafficLog_.LoadToday(table_.Rows(), sampler_.LastTick());
  ArmNotification(sampler_.LastTick());
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

bool ServiceEngine::OpenTrafficLog() {
  const LogLocation location = ResolveServiceLogPath(localMachine_, files_);
  settings_.trafficLogFile = location.path;
  log_.Write("Traffic log file: %s", Utf8ToSystemAnsi(location.path).c_str());
  LogOpenOptions options;
  options.role = LogRole::kServiceWriter;
  options.customPath = location.customPath;
  if (trafficLog_.Open(location.path, options)) return true;
  log_.Write("Failed to create traffic file");
  return false;
}

// A full disk fails every write until it is freed: one line when writing stops, one when it
// starts again, and the records wait in memory meanwhile.
void ServiceEngine::OnLogWriteEvent(LogWriteEvent event) {
  const std::string path = Utf8ToSystemAnsi(trafficLog_.Path());
  switch (event) {
    case LogWriteEvent::kWriteFailed:
      log_.Write("Failed to write traffic log file (%s); today's traffic is kept until it can be written.",
                 path.c_str());
      break;
    case LogWriteEvent::kWriteResumed:
      log_.Write("Traffic log file (%s) is written again.", path.c_str());
      break;
    case LogWriteEvent::kRecreated:
      if (trafficLog_.DamagedCopyPath().empty())
        log_.Write("Traffic log file (%s) was removed; created it again with today's traffic.", path.c_str());
      else
        log_.Write("Traffic log file (%s) was replaced by another file, kept as %s; created it again with today's "
                   "traffic.",
                   path.c_str(), Utf8ToSystemAnsi(trafficLog_.DamagedCopyPath()).c_str());
      break;
  }
}

void ServiceEngine::Shutdown() {
  trafficLog_.WriteToday(table_.Rows(), sampler_.LastTick());
  trafficLog_.Close();
  recorder_.CloseAll();
  reports_.WaitForJobs();
  running_ = false;
}

void ServiceEngine::OnRowSample(AdapterEntry& row, std::uint64_t received, std::uint64_t sent, const LocalTime& now) {
  if (row.recordRates) recorder_.RecordTick(row, received, sent, now);
}

// The notification check comes first, then the scheduled reports.
void ServiceEngine::OnTickEnd(const LocalTime& now) {
  CheckNotification(now);
  if (!reports_.Empty())
    reports_.CheckScheduledReports(table_.Rows(), settings_.options, settings_.trafficLogFile, now);
}

}  // namespace veltrano

namespace veltrano {

CalendarSettings ServiceEngine::Calendar() const {
  return {settings_.options.weekStartDay, settings_.options.monthStartDay, settings_.options.dateFormat};
}

void ServiceEngine::OnDayChanged(const LocalTime& now) {
  ArmNotification(now);
}

void ServiceEngine::ArmNotification(const LocalTime& today) {
  if (!settings_.options.notificationEnabled) return;
  notice_.Arm(settings_.options.notificationRule, table_, trafficLog_, today, Calendar());
}

// Fires once per run: the rule stays off afterwards, in memory only.
void ServiceEngine::CheckNotification(const LocalTime& now) {
  const NotificationRule& rule = settings_.options.notificationRule;
  if (!settings_.options.notificationEnabled || !notice_.Check(rule)) return;
  log_.Write("Bandwidth usage exceeds limit.");
  settings_.options.notificationEnabled = 0;
  const std::string recipients = Utf8ToSystemAnsi(rule.emailAddresses);
  if (!rule.sendEmail || recipients.empty()) return;
  log_.Write("Send a notification email to %s", recipients.c_str());
  const ArmedRule& armed = notice_.Armed();
  NotificationFacts facts;
  facts.adapterTitle = AdapterTitle(*armed.watched, settings_.options.showIpInTitle != 0);
  facts.periodText = PeriodText(rule, now, Calendar());
  facts.periodTotal = PeriodTotal(rule, armed.periodBase, *armed.watched);
  network_.Startup();
  std::optional<MailJob> job = MakeNotificationJob(settings_.email, rule, facts);
  if (!job) return;
  ServiceLog& log = log_;
  const std::string jobRecipients = job->recipients;  // what the session was given, as the log says
  StartSmtpSession(
      std::move(*job), network_,
      [&log, recipients = jobRecipients](const std::string& error) {
        if (error.empty()) {
          log.Write("Successfully sent bandwidth usage notification email to %s.", recipients.c_str());
          return;
        }
        log.Write("Failed send bandwidth usage notification email to %s.", recipients.c_str());
        log.Write("Error: %s", error.c_str());
        log.Write("Please check your email settings at Options -> Notification -> Email Settings.");
      },
      smtpTimings_);
}

}  // namespace veltrano
