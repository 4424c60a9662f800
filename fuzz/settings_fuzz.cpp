// The settings of both programs read from registry values of any type and size, through the
// file-backed hive: the read rules hold afterwards, and settings once read, saved and read again
// save the same values a second time.
//
// Input: a flags byte; if its bit 0 is set, a u16 length and that many bytes appended to the
// current user's hive file as they are; then values, each as key selector (bit 7: the local
// machine), name index (255: a name of its own, length-prefixed), type, length (255: a u16
// length follows) and data.
#include <algorithm>
#include <filesystem>
#include <iomanip>
#include <sstream>

#include "engine/adapter_entry.h"
#include "fuzz_support.h"
#include "memory_hive.h"
#include "notify/notification_rule.h"
#include "platform/posix/file_registry_hive.h"
#include "settings/adapter_settings.h"
#include "settings/settings_store.h"
#include "settings/standalone_values.h"

namespace veltrano::fuzz {
namespace {

const char* const kKeys[] = {
    "Software\\Veltrano\\Options",
    "Software\\Veltrano\\Options\\EmailSettings",
    "Software\\Veltrano\\Service",
    "Software\\Veltrano\\Service\\Reports",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
    "Software\\Veltrano\\AdaptersEx\\100-",
    "Software\\Veltrano\\AdaptersEx\\200-",
    "Software\\Veltrano\\AdaptersEx\\300-{4D36E972-E325-11CE-BFC1-08002BE10318}",
    "Software\\Veltrano\\AdaptersEx\\300-001A2B3C4D070000",
};
constexpr std::uint8_t kOwnAdapterKey = 15;  // an adapter subkey named by the input

// Every value name the two programs read.
const char* const kNames[] = {
    "WeekStartDay", "MonthStartDay", "RateViewMargins", "TransparentPercent", "StartMinimized",
    "StartWithWindows", "HotkeyEnabled", "HotkeyChar", "DateFormat", "SemiTransparent", "EnableClickThrough",
    "ShowIPInTitle", "AlwaysOnTop", "ShowCaption", "DisplayUnitByte", "DisplayTitle", "DisplayGraph",
    "DisplayScaleGrid", "DisplayScale", "DisplayText", "DisplayMaxRateInText", "TextCrSameAsGraphCr",
    "DispAvgValuesInText", "DispAvgDownLine", "DispAvgUpLine", "DisplayTimeGrid", "DisplayTimeText",
    "ScaleGridOnTop", "TimeGridOnTop", "TimeTextOnTop", "PulseSpace", "PulseWidth", "ScaleGridLineStyle",
    "TimeGridLineStyle", "TimeGridIntervalSec", "TimeFormat", "RateHeightPercent", "GraphStyle", "GraphBkgColor",
    "DownColor", "BothDownUpColor", "GridColor", "UpColor", "AvgDownLineColor", "AvgUpLineColor", "TitleBkgColor",
    "TitleTextColor", "ScaleTextColor", "RateTextColor", "RateBkgColor", "BorderColor", "TimeGridColor",
    "TimeTextColor", "DispIconSystray", "ShowGraphInSystray", "ShowAdapterNameInSystrayTips",
    "ShowAdapterIPInSystrayTips", "STIfType", "NotificationEnabled", "NextAlertType", "NextAlertMin",
    "SumLastDays", "StopwatchResetAdapterGraph", "StopwatchAlwaysOnTop", "HWND", "TimeTextFontU", "RateFontU",
    "ScaleFontU", "TitleFontU", "STAdpID", "NotificationEx2U", "WndPosition", "FirstRun", "TrafficLogFile",
    "SmtpServer", "MailFrom", "AuthName", "AuthPass", "EmlTempSubject", "EmlTempBody", "SrvReqAuth",
    "ServiceEnabled", "ServiceOptions", "Report1", "Report2", "Report3", "Veltrano", "AdapterID", "AdapterName",
    "ConnRatebps", "Monitored", "Size", "RecordTrafficRates", "RecordNumberOnly", "RecordInterval", "RecordFile",
};
constexpr std::uint8_t kOwnName = 255;

std::string Hex(const std::string& bytes) {
  if (bytes.empty()) return "-";
  std::ostringstream out;
  for (unsigned char byte : bytes) out << std::hex << std::setw(2) << std::setfill('0') << static_cast<int>(byte);
  return out.str();
}

// The hive files in the store's text format: each value under a "K" line naming its key.
void WriteHiveFiles(InputReader& input, const std::filesystem::path& user, const std::filesystem::path& machine) {
  const std::uint8_t flags = input.Byte();
  const std::string rawTail = (flags & 1) ? input.Bytes(input.U16()) : std::string();
  std::string files[2];
  while (!input.Empty()) {
    const std::uint8_t selector = input.Byte();
    const std::uint8_t keyIndex = selector & 0x7F;
    std::string key;
    if (keyIndex < std::size(kKeys))
      key = kKeys[keyIndex];
    else if (keyIndex == kOwnAdapterKey)
      key = "Software\\Veltrano\\AdaptersEx\\" + input.Bytes(input.Byte());
    else
      continue;
    const std::uint8_t nameIndex = input.Byte();
    std::string name;
    if (nameIndex < std::size(kNames))
      name = kNames[nameIndex];
    else if (nameIndex == kOwnName)
      name = input.Bytes(input.Byte());
    else
      continue;
    const std::uint8_t type = input.Byte();
    size_t length = input.Byte();
    if (length == 255) length = input.U16();
    const std::string data = input.Bytes(length);
    files[selector >> 7] += "K " + key + "\nV " + std::to_string(type) + " " + Hex(data) + " " + name + "\n";
  }
  WriteWholeFile(user, files[0] + rawTail);
  WriteWholeFile(machine, files[1]);
}

// What the options pages, the panes and the service rely on after any read.
void CheckReadRules(const Options& options) {
  FUZZ_CHECK(options.weekStartDay <= 6);
  FUZZ_CHECK(options.monthStartDay >= 1 && options.monthStartDay <= 31);
  FUZZ_CHECK(options.transparentPercent >= 10 && options.transparentPercent <= 90);
  FUZZ_CHECK(options.displayText != 0 || options.displayGraph != 0);
  FUZZ_CHECK(options.nextAlertType == 0 || options.nextAlertType == 1);
  FUZZ_CHECK(static_cast<std::int32_t>(options.nextAlertMin) >= 1);
  FUZZ_CHECK(options.notificationRule.days >= 1);
  FUZZ_CHECK(options.stAdpId.size() <= kMaxAdapterIdLength);
  // A rule left on has a limit: its amount is a finite number, not negative.
  if (options.notificationEnabled) FUZZ_CHECK(HasUsableAmount(options.notificationRule));
}

constexpr std::uint32_t kEveryGroup = 0xFFFFFFFF;

// Everything the desktop keeps, written to a fresh hive as its saves would write it.
void SaveEverything(MemoryHive& hive, const Settings& settings, const std::vector<AdapterEntry>& adapters) {
  SaveOptions(hive, settings.options, kEveryGroup);
  SaveServiceSettings(hive, settings.service);
  SaveEmailSettings(hive, settings.email);
  if (!settings.trafficLogFile.empty()) WriteTrafficLogPath(hive, settings.trafficLogFile);
  AdapterList rows(adapters.begin(), adapters.end());
  SaveAdapters(hive, rows, kAdapterIdentity | kAdapterRecording);
}

void LoadEverything(RegistryHive& hive, Settings& settings, std::vector<AdapterEntry>& adapters) {
  MemoryHive emptyMachine;
  SettingsStore(hive, emptyMachine).LoadDesktop(settings);
  adapters = ReadAdapterSubkeys(hive, ProgramRole::kDesktop);
}

}  // namespace
}  // namespace veltrano::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace veltrano;
  using namespace veltrano::fuzz;
  InputReader input(data, size);
  const auto& folder = FreshScratchFolder();
  WriteHiveFiles(input, folder / "hkcu.reg", folder / "hklm.reg");
  FileRegistryHive currentUser((folder / "hkcu.reg").string());
  FileRegistryHive localMachine((folder / "hklm.reg").string());

  SettingsStore store(currentUser, localMachine);
  Settings desktop;
  store.LoadDesktop(desktop);
  CheckReadRules(desktop.options);
  std::vector<AdapterEntry> adapters = ReadAdapterSubkeys(currentUser, ProgramRole::kDesktop);
  std::uint32_t handle = 0;
  ReadMainWindowHandle(currentUser, handle);

  Settings service;
  store.LoadService(service);
  CheckReadRules(service.options);
  if (!service.service.options.notifyInService) FUZZ_CHECK(service.options.notificationEnabled == 0);
  for (const auto& report : service.service.reports) FUZZ_CHECK(report.interval >= 1 && report.countdown == report.interval);
  for (const auto& adapter : ReadAdapterSubkeys(localMachine, ProgramRole::kService)) {
    FUZZ_CHECK(adapter.kind == kAllConnections || adapter.kind == kDialUpConnections ||
               adapter.kind == kInterfaceAdapter);
    FUZZ_CHECK(adapter.id.size() <= kMaxAdapterIdLength);
  }

  // The Run value, not the stored switch, says whether the program starts with Windows.
  desktop.options.startWithWindows = 0;
  // An id with a backslash (never a real adapter's) makes its subkey name a key path, in the
  // Windows registry as here: such an entry is saved into nested keys and is not read back.
  adapters.erase(std::remove_if(adapters.begin(), adapters.end(),
                                [](const AdapterEntry& entry) { return entry.id.find('\\') != std::string::npos; }),
                 adapters.end());
  MemoryHive first, second;
  SaveEverything(first, desktop, adapters);
  Settings reread;
  std::vector<AdapterEntry> rereadAdapters;
  LoadEverything(first, reread, rereadAdapters);
  reread.options.startWithWindows = 0;
  SaveEverything(second, reread, rereadAdapters);
  if (first.Dump() != second.Dump()) {
    std::fprintf(stderr, "first save:\n%s\nsecond save:\n%s\n", first.Dump().c_str(), second.Dump().c_str());
    FUZZ_CHECK(first.Dump() == second.Dump());
  }
  return 0;
}
