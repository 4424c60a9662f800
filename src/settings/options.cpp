// Load and save of the general options, table-driven: one row per DWORD value.
#include "settings/options.h"

#include "core/text.h"
#include "settings/registry_values.h"

namespace veltrano {
namespace {

const std::string kOptionsKey = SettingsKey("Options");

struct DwordOption {
  const char* name;
  SaveGroup group;
  std::uint32_t Options::*field;
  bool serviceReads;
};

const DwordOption kDwordOptions[] = {
    {"WeekStartDay", kGroupGeneral, &Options::weekStartDay, true},
    {"MonthStartDay", kGroupGeneral, &Options::monthStartDay, true},
    {"RateViewMargins", kGroupGeneral, &Options::rateViewMargins, false},
    {"TransparentPercent", kGroupGeneral, &Options::transparentPercent, false},
    {"StartMinimized", kGroupGeneral, &Options::startMinimized, false},
    {"StartWithWindows", kGroupGeneral, &Options::startWithWindows, false},
    {"HotkeyEnabled", kGroupGeneral, &Options::hotkeyEnabled, false},
    {"HotkeyChar", kGroupGeneral, &Options::hotkeyChar, false},
    {"DateFormat", kGroupGeneral, &Options::dateFormat, true},
    {"SemiTransparent", kGroupGeneral, &Options::semiTransparent, false},
    {"EnableClickThrough", kGroupGeneral, &Options::enableClickThrough, false},
    {"ShowIPInTitle", kGroupGeneral, &Options::showIpInTitle, true},
    {"AlwaysOnTop", kGroupGeneral, &Options::alwaysOnTop, false},
    {"ShowCaption", kGroupGeneral, &Options::showCaption, false},
    {"DisplayUnitByte", kGroupGeneral, &Options::displayUnitByte, true},

    {"DisplayTitle", kGroupDisplay, &Options::displayTitle, false},
    {"DisplayGraph", kGroupDisplay, &Options::displayGraph, false},
    {"DisplayScaleGrid", kGroupDisplay, &Options::displayScaleGrid, false},
    {"DisplayScale", kGroupDisplay, &Options::displayScale, false},
    {"DisplayText", kGroupDisplay, &Options::displayText, false},
    {"DisplayMaxRateInText", kGroupDisplay, &Options::displayMaxRateInText, false},
    {"TextCrSameAsGraphCr", kGroupDisplay, &Options::textCrSameAsGraphCr, false},
    {"DispAvgValuesInText", kGroupDisplay, &Options::dispAvgValuesInText, false},
    {"DispAvgDownLine", kGroupDisplay, &Options::dispAvgDownLine, false},
    {"DispAvgUpLine", kGroupDisplay, &Options::dispAvgUpLine, false},
    {"DisplayTimeGrid", kGroupDisplay, &Options::displayTimeGrid, false},
    {"DisplayTimeText", kGroupDisplay, &Options::displayTimeText, false},
    {"ScaleGridOnTop", kGroupDisplay, &Options::scaleGridOnTop, false},
    {"TimeGridOnTop", kGroupDisplay, &Options::timeGridOnTop, false},
    {"TimeTextOnTop", kGroupDisplay, &Options::timeTextOnTop, false},

    {"PulseSpace", kGroupGraphStyle, &Options::pulseSpace, false},
    {"PulseWidth", kGroupGraphStyle, &Options::pulseWidth, false},
    {"ScaleGridLineStyle", kGroupGraphStyle, &Options::scaleGridLineStyle, false},
    {"TimeGridLineStyle", kGroupGraphStyle, &Options::timeGridLineStyle, false},
    {"TimeGridIntervalSec", kGroupGraphStyle, &Options::timeGridIntervalSec, false},
    {"TimeFormat", kGroupGraphStyle, &Options::timeFormat, false},
    {"RateHeightPercent", kGroupGraphStyle, &Options::rateHeightPercent, false},
    {"GraphStyle", kGroupGraphStyle, &Options::graphStyle, false},

    {"GraphBkgColor", kGroupColors, &Options::graphBkgColor, false},
    {"DownColor", kGroupColors, &Options::downColor, false},
    {"BothDownUpColor", kGroupColors, &Options::bothDownUpColor, false},
    {"GridColor", kGroupColors, &Options::gridColor, false},
    {"UpColor", kGroupColors, &Options::upColor, false},
    {"AvgDownLineColor", kGroupColors, &Options::avgDownLineColor, false},
    {"AvgUpLineColor", kGroupColors, &Options::avgUpLineColor, false},
    {"TitleBkgColor", kGroupColors, &Options::titleBkgColor, false},
    {"TitleTextColor", kGroupColors, &Options::titleTextColor, false},
    {"ScaleTextColor", kGroupColors, &Options::scaleTextColor, false},
    {"RateTextColor", kGroupColors, &Options::rateTextColor, false},
    {"RateBkgColor", kGroupColors, &Options::rateBkgColor, false},
    {"BorderColor", kGroupColors, &Options::borderColor, false},
    {"TimeGridColor", kGroupColors, &Options::timeGridColor, false},
    {"TimeTextColor", kGroupColors, &Options::timeTextColor, false},

    {"DispIconSystray", kGroupTray, &Options::dispIconSystray, false},
    {"ShowGraphInSystray", kGroupTray, &Options::showGraphInSystray, false},
    {"ShowAdapterNameInSystrayTips", kGroupTray, &Options::showAdapterNameInSystrayTips, false},
    {"ShowAdapterIPInSystrayTips", kGroupTray, &Options::showAdapterIpInSystrayTips, false},
    {"STIfType", kGroupTray, &Options::stIfType, false},

    {"NotificationEnabled", kGroupNotification, &Options::notificationEnabled, true},
    {"NextAlertType", kGroupNextAlert, &Options::nextAlertType, false},
    {"NextAlertMin", kGroupNextAlert, &Options::nextAlertMin, false},

    {"SumLastDays", kGroupSummaryDays, &Options::sumLastDays, true},

    {"StopwatchResetAdapterGraph", kGroupWindow, &Options::stopwatchResetAdapterGraph, false},
    {"StopwatchAlwaysOnTop", kGroupWindow, &Options::stopwatchAlwaysOnTop, false},
    {"HWND", kGroupInstance, &Options::mainWindowHandle, false},
};

struct FontOption {
  const char* name;
  LogFont Options::*field;
};

const FontOption kFontOptions[] = {
    {"TimeTextFontU", &Options::timeTextFont},
    {"RateFontU", &Options::rateFont},
    {"ScaleFontU", &Options::scaleFont},
    {"TitleFontU", &Options::titleFont},
};

constexpr size_t kTrayAdapterIdBufferBytes = 2048;

void ReadDwords(RegistryHive& hive, Options& options, bool serviceOnly) {
  for (const auto& option : kDwordOptions) {
    if (option.group == kGroupInstance) continue;  // "HWND" has a reader of its own
    if (serviceOnly && !option.serviceReads) continue;
    ReadDword(hive, kOptionsKey, option.name, options.*option.field);
  }
}

// A stored rule of another version, or of another size, is rejected: the rule is cleared and
// notification switched off. The day count is made valid whether or not a rule was stored.
void ReadNotificationRule(RegistryHive& hive, Options& options) {
  RegValue raw;
  if (hive.QueryValue(kOptionsKey, "NotificationEx2U", raw)) {
    const NotificationRule stored = DecodeNotificationRule(raw.data);
    const bool accepted = raw.type == kRegBinary && raw.data.size() == NotificationRule::kSize &&
                          (stored.version == 2 || stored.version == 3);
    if (accepted) {
      options.notificationRule = stored;
      // "-5" or "inf" would fire at once or never convert: off for this run, nothing written back.
      if (!HasUsableAmount(stored)) options.notificationEnabled = 0;
    } else {
      options.notificationRule = NotificationRule{};
      options.notificationEnabled = 0;
    }
  }
  if (options.notificationRule.days <= 0) options.notificationRule.days = 1;
}

}  // namespace

LogFont Options::DefaultFont(std::int32_t height, std::int32_t weight) {
  LogFont font;
  font.height = height;
  font.weight = weight;
  font.faceName = "Tahoma";
  return font;
}

NotificationRule Options::DefaultRule() {
  NotificationRule rule;
  rule.days = 1;
  return rule;
}

Options DefaultOptions(bool layeredWindows) {
  Options options;
  options.transparentPercent = layeredWindows ? 10 : 0;
  options.semiTransparent = layeredWindows ? 1 : 0;
  return options;
}

void ApplyOptionReadRules(Options& options) {
  if (options.weekStartDay > 6) options.weekStartDay = 0;
  if (options.monthStartDay < 1 || options.monthStartDay > 31) options.monthStartDay = 1;
  if (static_cast<std::int32_t>(options.rateViewMargins) < 0) options.rateViewMargins = 2;
  const auto percent = static_cast<std::int32_t>(options.transparentPercent);
  if (percent < 10) options.transparentPercent = 10;
  if (percent > 90) options.transparentPercent = 90;
  if (options.displayText == 0 && options.displayGraph == 0) options.displayText = options.displayGraph = 1;
  if (options.nextAlertType != 0 && options.nextAlertType != 1) options.nextAlertType = 0;
  if (static_cast<std::int32_t>(options.nextAlertMin) < 1) options.nextAlertMin = 1;
  ApplyGraphStyleReadRules(options);
}

// A pane's grid and label loops step by these widths: a stored 0 or negative one would never end.
void ApplyGraphStyleReadRules(Options& options) {
  const auto isBelow = [](std::uint32_t value, std::int32_t limit) { return static_cast<std::int32_t>(value) < limit; };
  if (isBelow(options.pulseWidth, 1)) options.pulseWidth = 3;
  if (isBelow(options.pulseSpace, 0)) options.pulseSpace = 0;
  if (isBelow(options.timeGridIntervalSec, 1)) options.timeGridIntervalSec = 30;
  if (options.scaleGridLineStyle > 4) options.scaleGridLineStyle = 2;
  if (options.timeGridLineStyle > 4) options.timeGridLineStyle = 2;
}

void LoadDesktopOptions(RegistryHive& currentUser, Options& options) {
  ReadDwords(currentUser, options, false);
  for (const auto& font : kFontOptions) {
    Bytes raw;
    if (ReadBinary(currentUser, kOptionsKey, font.name, LogFont::kSize, raw)) options.*font.field = DecodeLogFont(raw);
  }
  std::string trayId;
  if (ReadString(currentUser, kOptionsKey, "STAdpID", trayId, kTrayAdapterIdBufferBytes))
    options.stAdpId = AsciiUpper(trayId.substr(0, kMaxAdapterIdLength));
  ReadNotificationRule(currentUser, options);
  Bytes position;
  if (ReadBinary(currentUser, kOptionsKey, "WndPosition", WndPosition::kSize, position))
    options.wndPosition = DecodeWndPosition(position);
  ApplyOptionReadRules(options);
}

void LoadServiceOptions(RegistryHive& localMachine, Options& options) {
  ReadDwords(localMachine, options, true);
  ReadNotificationRule(localMachine, options);
  ApplyOptionReadRules(options);
}

void SaveOptions(RegistryHive& hive, const Options& options, std::uint32_t groupMask) {
  if (groupMask == 0 || !hive.CreateKey(kOptionsKey)) return;
  for (const auto& option : kDwordOptions) {
    if (groupMask & option.group) WriteDword(hive, kOptionsKey, option.name, options.*option.field);
  }
  if (groupMask & kGroupFonts) {
    for (const auto& font : kFontOptions) WriteBinary(hive, kOptionsKey, font.name, EncodeLogFont(options.*font.field));
  }
  if (groupMask & kGroupTray) WriteString(hive, kOptionsKey, "STAdpID", options.stAdpId);
  if (groupMask & kGroupNotification)
    WriteBinary(hive, kOptionsKey, "NotificationEx2U", EncodeNotificationRule(options.notificationRule));
  if (groupMask & kGroupWindow) WriteBinary(hive, kOptionsKey, "WndPosition", EncodeWndPosition(options.wndPosition));
}

}  // namespace veltrano
