// The order of applying the Service page, and the recovery when the service does not come up.
#include "view/service_handover.h"

#include <vector>

namespace veltrano {
namespace {

bool Pending(ServiceState state) {
  return state == ServiceState::kStartPending || state == ServiceState::kRunning;
}

const char* const kServiceLogName = "pellacorservice.log";
constexpr size_t kServiceLogLinesShown = 6;

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.find_last_of("\\/") + 1);
}

}  // namespace

ServiceHandover::ServiceHandover(ServiceManager& services, SettingsStore& store, TrafficLog& log,
                                 const LocalTime& lastTick, FileSystem& files, HandoverActions actions,
                                 HandoverTiming timing)
    : services_(services),
      store_(store),
      log_(log),
      lastTick_(lastTick),
      files_(files),
      actions_(std::move(actions)),
      timing_(timing) {}

HandoverOutcome ServiceHandover::Apply(const ServiceSettings& page, Settings& settings, AdapterList& rows,
                                       const std::string& serviceExecutable) {
  const bool wasEnabled = settings.service.serviceEnabled != 0;
  const bool enabled = page.serviceEnabled != 0;
  const bool serviceRecorded = wasEnabled && settings.service.options.recorderInService != 0;
  if (!wasEnabled && enabled) log_.WriteToday(rows, lastTick_);

  settings.service.serviceEnabled = enabled ? 1 : 0;
  settings.service.options.notifyInService = page.options.notifyInService;
  settings.service.options.recorderInService = page.options.recorderInService;
  settings.service.reports = page.reports;
  if (log_.IsOpen()) settings.trafficLogFile = log_.Path();
  // One save: the user's service settings always, and while enabled the machine's copies of the
  // service settings, the log path, the general, summary-days and notification groups and every
  // adapter's identity and recording values (with the e-mail settings when notification is on).
  store_.Save(SaveTrigger::kServicePageApplied, settings, rows);

  if (enabled) {
    const bool serviceRecords = settings.service.options.recorderInService != 0;
    if (serviceRecords && actions_.closeRecorderFiles) actions_.closeRecorderFiles();
    // The service stops recording rates: the desktop records again from now on.
    if (serviceRecorded && !serviceRecords && actions_.reopenRecorders) actions_.reopenRecorders();
    if (!wasEnabled) ReopenLog(LogRole::kDesktopReader);
    return BringUp(settings, rows, serviceExecutable);
  }
  if (!wasEnabled) return HandoverOutcome::kSettingsOnly;

  if (Pending(services_.QueryState(kServiceName))) services_.Stop(kServiceName);
  services_.Remove(kServiceName);
  TakeLogBack(settings, rows);
  return HandoverOutcome::kServiceDown;
}

HandoverOutcome ServiceHandover::BringUp(Settings& settings, AdapterList& rows, const std::string& serviceExecutable) {
  const ServiceState state = services_.QueryState(kServiceName);
  if (Pending(state)) return HandoverOutcome::kServiceUp;
  if (state == ServiceState::kUnknown) {
    if (!files_.Exists(serviceExecutable))
      return Recover(settings, rows, serviceExecutable, "The service program " + serviceExecutable + " was not found.");
    if (!services_.Install(serviceExecutable, kServiceName, kServiceManagerDisplayName, true))
      return Recover(settings, rows, serviceExecutable,
                     "The service could not be installed: " + services_.LastError() + ".");
  }
  if (!services_.Start(kServiceName))
    return Recover(settings, rows, serviceExecutable,
                   "The service manager could not start it: " + services_.LastError() + ".");
  if (!StaysRunning())
    return Recover(settings, rows, serviceExecutable, "The service stopped again right after it started.");
  return HandoverOutcome::kServiceUp;
}

// A service reports running before its worker has read the settings and opened the log; if
// either fails the service ends itself moments later, which is what we watch for here.
bool ServiceHandover::StaysRunning() {
  for (unsigned waited = 0; waited < timing_.confirmMs; waited += timing_.pollMs) {
    if (actions_.pause) actions_.pause(timing_.pollMs);
    if (services_.QueryState(kServiceName) != ServiceState::kRunning) return false;
  }
  return true;
}

// Whatever the service got to, it is taken away again, and the desktop becomes the writer: the
// log must never be left without one.
HandoverOutcome ServiceHandover::Recover(Settings& settings, AdapterList& rows, const std::string& serviceExecutable,
                                         const std::string& why) {
  const std::string serviceWrote = ServiceLogTail(serviceExecutable);
  const ServiceState state = services_.QueryState(kServiceName);
  if (state != ServiceState::kUnknown) {
    if (state != ServiceState::kStopped) services_.Stop(kServiceName);
    services_.Remove(kServiceName);
  }
  settings.service.serviceEnabled = 0;
  store_.Save(SaveTrigger::kServicePageApplied, settings, rows);
  SaveServiceSettings(store_.LocalMachine(), settings.service);
  TakeLogBack(settings, rows);

  std::string text = "The service could not be started. " + why;
  if (!serviceWrote.empty()) text += "\n\nThe service wrote:\n" + serviceWrote;
  text += "\n\nThe program goes on logging traffic itself.";
  if (actions_.warn) actions_.warn(text);
  return HandoverOutcome::kServiceFailed;
}

void ServiceHandover::TakeLogBack(Settings& settings, AdapterList& rows) {
  ReopenLog(LogRole::kDesktopWriter);
  if (log_.IsOpen()) log_.LoadToday(rows, lastTick_);
  // The service counted up to its last write, past our last tick: our counting starts again from
  // the counters' next reading, or that stretch would be counted a second time.
  for (AdapterEntry& row : rows) row.hasPrev = false;
  if (settings.options.notificationEnabled && actions_.rearmNotification) actions_.rearmNotification();
  if (actions_.reopenRecorders) actions_.reopenRecorders();
}

void ServiceHandover::ReopenLog(LogRole role) {
  const std::string path = log_.Path();
  if (path.empty()) return;
  log_.Close();
  LogOpenOptions options;
  options.role = role;
  options.customPath = true;  // the same file again: no location search, no migration
  options.serviceManager = role == LogRole::kDesktopWriter ? &services_ : nullptr;
  log_.Open(path, options);
}

// The lines the service wrote to its own log about its last start, without their time stamps.
std::string ServiceHandover::ServiceLogTail(const std::string& serviceExecutable) {
  const auto file = files_.Open(FolderOf(serviceExecutable) + kServiceLogName, FileMode::kReader);
  if (!file) return {};
  const std::uint64_t size = file->Size();
  const std::uint64_t from = size > 4096 ? size - 4096 : 0;
  std::string text(static_cast<size_t>(size - from), '\0');
  text.resize(file->ReadAt(from, &text[0], text.size()));
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    const size_t stamp = line.rfind("]: ", 40);
    if (line.empty()) continue;
    if (line.find("start up...") != std::string::npos) lines.clear();  // only the last start counts
    lines.push_back(stamp == std::string::npos ? line : line.substr(stamp + 3));
  }
  if (lines.size() > kServiceLogLinesShown) lines.erase(lines.begin(), lines.end() - kServiceLogLinesShown);
  std::string joined;
  for (const std::string& line : lines) joined += (joined.empty() ? "" : "\n") + line;
  return joined;
}

}  // namespace veltrano
