// Probe for the end-to-end drivers: runs the settings store and the adapter table against the
// real registry and IP helper under Wine and prints what they hold, one "name=value" per line.
//   settings_probe save-sample    save a known set of settings as the desktop would
//   settings_probe dump-desktop   load as the desktop does (current user)
//   settings_probe dump-service   load as the service does (local machine)
//   settings_probe adapters       build the adapter table and list its rows
//   settings_probe dump-log PATH  read a traffic log beside its writer and list its records
//   settings_probe service-config the service's entry as the service manager reports it
//   settings_probe send-mail SERVER PORT FROM TO AUTH USER PASS MESSAGE-FILE
//                                 one delivery through the SMTP client over Windows Sockets
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/adapter_table.h"
#include "engine/traffic_log.h"
#include "notify/smtp_client.h"
#include "platform/win32/iphlp_interface_source.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry_hive.h"
#include "platform/win32/winsock_network.h"
#include "settings/adapter_settings.h"
#include "settings/settings_store.h"
#include "settings/standalone_values.h"

namespace veltrano {
namespace {

void Print(const std::string& name, const std::string& value) {
  std::printf("%s=%s\n", name.c_str(), value.c_str());
}
void Print(const std::string& name, std::uint64_t value) {
  Print(name, std::to_string(value));
}

void PrintFont(const std::string& name, const LogFont& font) {
  Print(name + ".height", std::to_string(font.height));
  Print(name + ".weight", std::to_string(font.weight));
  Print(name + ".face", font.faceName);
}

void PrintSettings(const Settings& settings) {
  const Options& o = settings.options;
  Print("WeekStartDay", o.weekStartDay);
  Print("MonthStartDay", o.monthStartDay);
  Print("RateViewMargins", o.rateViewMargins);
  Print("TransparentPercent", o.transparentPercent);
  Print("DateFormat", o.dateFormat);
  Print("ShowIPInTitle", o.showIpInTitle);
  Print("DisplayUnitByte", o.displayUnitByte);
  Print("DisplayText", o.displayText);
  Print("DisplayGraph", o.displayGraph);
  Print("GraphBkgColor", o.graphBkgColor);
  Print("HotkeyChar", o.hotkeyChar);
  Print("STAdpID", o.stAdpId);
  Print("NextAlertType", o.nextAlertType);
  Print("NextAlertMin", o.nextAlertMin);
  Print("SumLastDays", o.sumLastDays);
  Print("StartWithWindows", o.startWithWindows);
  PrintFont("RateFontU", o.rateFont);
  PrintFont("TitleFontU", o.titleFont);
  Print("WndPosition", std::to_string(o.wndPosition.left) + "," + std::to_string(o.wndPosition.top) + "," +
                           std::to_string(o.wndPosition.right) + "," + std::to_string(o.wndPosition.bottom));
  Print("NotificationEnabled", o.notificationEnabled);
  Print("Rule.version", o.notificationRule.version);
  Print("Rule.amount", o.notificationRule.amount);
  Print("Rule.days", static_cast<std::uint64_t>(o.notificationRule.days));
  Print("Rule.emailAddresses", o.notificationRule.emailAddresses);
  Print("EmlTempSubject", settings.email.subject);
  Print("SmtpServer", settings.email.smtpServer);
  Print("AuthPass", settings.email.authPass);
  Print("ServiceEnabled", settings.service.serviceEnabled);
  Print("ServiceOptions.notify", settings.service.options.notifyInService);
  Print("ServiceOptions.recorder", settings.service.options.recorderInService);
  Print("Reports", settings.service.reports.size());
  for (size_t i = 0; i < settings.service.reports.size(); ++i) {
    const auto& r = settings.service.reports[i];
    Print("Report" + std::to_string(i + 1), std::to_string(r.reportType) + "," + std::to_string(r.adapterKind) + "," +
                                                r.adapterId + "," + std::to_string(r.interval) + "," +
                                                std::to_string(r.countdown) + "," + r.filePath);
  }
  Print("TrafficLogFile", settings.trafficLogFile);
}

void PrintAdapters(const std::vector<AdapterEntry>& entries) {
  Print("Adapters", entries.size());
  for (const auto& e : entries)
    Print("Adapter", std::to_string(e.kind) + "|" + e.id + "|" + e.displayName + "|" + std::to_string(e.monitored) +
                         "|" + std::to_string(e.recordRates) + "|" + std::to_string(e.recordInterval) + "|" +
                         e.recordFile);
}

int SaveSample(SettingsStore& store) {
  Settings settings;
  Options& o = settings.options;
  o.weekStartDay = 1;
  o.monthStartDay = 15;
  o.dateFormat = 3;
  o.displayUnitByte = 1;
  o.graphBkgColor = 0x112233;
  o.rateFont.faceName = "Courier New";
  o.rateFont.height = -11;
  o.stAdpId = "{TRAY}";
  o.stIfType = 300;
  o.notificationEnabled = 1;
  o.notificationRule.adapterKind = kAllConnections;
  o.notificationRule.amount = "1.5";
  o.notificationRule.unit = 3;
  o.notificationRule.days = 7;
  o.notificationRule.emailAddresses = "ops@example.org";
  o.sumLastDays = 45;
  o.wndPosition = {100, 200, 520, 380};
  settings.email.smtpServer = "smtp.example.org";
  settings.email.authPass = "s3cret";
  settings.service.serviceEnabled = 1;
  settings.service.options.notifyInService = 1;
  for (int i = 0; i < 3; ++i) {
    ScheduledReport report;
    report.reportType = i + 1;
    report.interval = 60 * (i + 1);
    report.filePath = "C:\\reports\\r" + std::to_string(i + 1) + ".html";
    settings.service.reports.push_back(report);
  }
  settings.trafficLogFile = "C:\\data\\qxrsum_v2.log";

  AdapterList rows(3);
  rows.front().kind = kAllConnections;
  rows.front().displayName = "All Connections";
  rows.front().monitored = true;
  std::next(rows.begin())->kind = kDialUpConnections;
  std::next(rows.begin())->displayName = "Dial-Up Connections";
  rows.back().id = "{SAMPLE-NIC}";
  rows.back().displayName = "Sample NIC";
  rows.back().recordRates = true;
  rows.back().recordInterval = 5;
  rows.back().recordFile = "C:\\rates\\nic.csv";

  for (auto trigger : {SaveTrigger::kGeneralPageApplied, SaveTrigger::kGraphTextPageApplied,
                       SaveTrigger::kAdaptersPageApplied, SaveTrigger::kNotificationPageApplied,
                       SaveTrigger::kAlertWindowClosed, SaveTrigger::kServicePageApplied, SaveTrigger::kDesktopExit})
    store.Save(trigger, settings, rows);
  store.Save(SaveTrigger::kReportsWindowClosed, settings, rows, true);
  SetStartWithWindows(store.CurrentUser(), true, "C:\\Veltrano\\Pellacor.exe");
  return 0;
}

int ListAdapters(RegistryHive& currentUser) {
  IphlpInterfaceSource source;
  AdapterTable table(source);
  if (!table.BindInterfaceApi()) return 2;
  table.LoadAdapterSettings(ReadAdapterSubkeys(currentUser, ProgramRole::kDesktop), ProgramRole::kDesktop);
  for (const auto& row : table.Rows())
    Print("Row", std::to_string(row.kind) + "\t" + row.id + "\t" + std::to_string(row.ifType) + "\t" +
                     std::to_string(row.prevInOctets) + "\t" + std::to_string(row.prevOutOctets) + "\t" +
                     row.ipAddress + "\t" + row.description + "\t" + row.displayName);
  return 0;
}

int DumpLog(const std::string& path) {
  Win32FileSystem files;
  TrafficLog log(files);
  LogOpenOptions options;
  options.role = LogRole::kDesktopReader;
  if (!log.Open(path, options)) {
    Print("Open", "0");
    return 1;
  }
  Print("Open", "1");
  log.ForEachRecord([](const DayRecord& record, std::uint64_t) {
    Print("Record", std::to_string(record.year) + "-" + std::to_string(record.month) + "-" +
                        std::to_string(record.day) + "\t" + std::to_string(record.kind) + "\t" +
                        std::string(record.id) + "\t" + std::to_string(record.received) + "\t" +
                        std::to_string(record.sent));
  });
  return 0;
}

int PrintServiceConfig() {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = manager ? OpenServiceW(manager, L"VeltranoService", SERVICE_QUERY_CONFIG) : nullptr;
  DWORD needed = 0;
  if (service) QueryServiceConfigW(service, nullptr, 0, &needed);
  std::vector<unsigned char> buffer(needed ? needed : 1);
  auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
  const bool ok = service && QueryServiceConfigW(service, config, needed, &needed);
  Print("Installed", ok ? "1" : "0");
  if (ok) {
    Print("Type", config->dwServiceType);
    Print("Start", config->dwStartType);
    Print("ErrorControl", config->dwErrorControl);
    Print("BinaryPath", Narrow(config->lpBinaryPathName, wcslen(config->lpBinaryPathName)));
    Print("Account", config->lpServiceStartName ? Narrow(config->lpServiceStartName, wcslen(config->lpServiceStartName))
                                                : std::string());
    Print("DisplayName", Narrow(config->lpDisplayName, wcslen(config->lpDisplayName)));
  }
  if (service) CloseServiceHandle(service);
  if (manager) CloseServiceHandle(manager);
  return ok ? 0 : 1;
}

int SendMail(char** argv) {
  std::FILE* file = std::fopen(argv[9], "rb");
  if (!file) return 2;
  std::string message;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) message.append(buffer, n);
  std::fclose(file);
  WinsockNetwork network;
  if (!network.Startup()) return 2;
  SmtpTimings timings;
  timings.port = static_cast<std::uint16_t>(std::atoi(argv[3]));
  timings.retryDelayMs = 100;
  const MailJob job = MakeMailJob(argv[2], argv[4], argv[5], std::atoi(argv[6]) != 0, argv[7], argv[8], message);
  Print("Result", RunSmtpSession(job, network, timings));
  return 0;
}

}  // namespace
}  // namespace veltrano

int main(int argc, char** argv) {
  using namespace veltrano;
  const std::string command = argc > 1 ? argv[1] : "";
  Win32RegistryHive currentUser(RegistryRoot::kCurrentUser);
  Win32RegistryHive localMachine(RegistryRoot::kLocalMachine);
  SettingsStore store(currentUser, localMachine);
  if (command == "save-sample") return SaveSample(store);
  if (command == "adapters") return ListAdapters(currentUser);
  if (command == "dump-log" && argc > 2) return DumpLog(argv[2]);
  if (command == "service-config") return PrintServiceConfig();
  if (command == "send-mail" && argc > 9) return SendMail(argv);
  Settings settings;
  if (command == "dump-desktop") {
    store.LoadDesktop(settings);
    PrintSettings(settings);
    PrintAdapters(ReadAdapterSubkeys(currentUser, ProgramRole::kDesktop));
    return 0;
  }
  if (command == "dump-service") {
    store.LoadService(settings);
    PrintSettings(settings);
    PrintAdapters(ReadAdapterSubkeys(localMachine, ProgramRole::kService));
    return 0;
  }
  std::fprintf(stderr,
               "usage: settings_probe save-sample|dump-desktop|dump-service|adapters|dump-log PATH|service-config\n");
  return 2;
}
