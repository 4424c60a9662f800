// The general options under "Options": every value with its type, default, save group and read
// rule. The desktop reads all of them from the current user; the service reads a subset from the
// local machine.
#pragma once

#include <cstdint>
#include <string>

#include "notify/notification_rule.h"
#include "platform/registry_hive.h"
#include "settings/binary_records.h"

namespace veltrano {

enum SaveGroup : std::uint32_t {
  kGroupInstance = 0x4,
  kGroupDisplay = 0x10,
  kGroupColors = 0x40,
  kGroupFonts = 0x80,
  kGroupNotification = 0x200,
  kGroupWindow = 0x400,
  kGroupTray = 0x800,
  kGroupSummaryDays = 0x4000,
  kGroupGeneral = 0x200000,
  kGroupNextAlert = 0x800000,
  kGroupGraphStyle = 0x2000000,
};

struct Options {
  // General (switches are 0 or 1; any non-zero value reads as on).
  std::uint32_t weekStartDay = 0;
  std::uint32_t monthStartDay = 1;
  std::uint32_t rateViewMargins = 2;
  std::uint32_t transparentPercent = 10;
  std::uint32_t startMinimized = 0;
  std::uint32_t startWithWindows = 0;
  std::uint32_t hotkeyEnabled = 1;
  std::uint32_t hotkeyChar = 0x42;
  std::uint32_t dateFormat = 17;
  std::uint32_t semiTransparent = 1;
  std::uint32_t enableClickThrough = 0;
  std::uint32_t showIpInTitle = 1;
  std::uint32_t alwaysOnTop = 1;
  std::uint32_t showCaption = 1;
  std::uint32_t displayUnitByte = 0;

  // Display switches.
  std::uint32_t displayTitle = 1;
  std::uint32_t displayGraph = 1;
  std::uint32_t displayScaleGrid = 1;
  std::uint32_t displayScale = 1;
  std::uint32_t displayText = 1;
  std::uint32_t displayMaxRateInText = 1;
  std::uint32_t textCrSameAsGraphCr = 1;
  std::uint32_t dispAvgValuesInText = 0;
  std::uint32_t dispAvgDownLine = 0;
  std::uint32_t dispAvgUpLine = 0;
  std::uint32_t displayTimeGrid = 1;
  std::uint32_t displayTimeText = 1;
  std::uint32_t scaleGridOnTop = 0;
  std::uint32_t timeGridOnTop = 1;
  std::uint32_t timeTextOnTop = 1;

  // Graph style.
  std::uint32_t pulseSpace = 1;
  std::uint32_t pulseWidth = 3;
  std::uint32_t scaleGridLineStyle = 2;
  std::uint32_t timeGridLineStyle = 2;
  std::uint32_t timeGridIntervalSec = 30;
  std::uint32_t timeFormat = 0;
  std::uint32_t rateHeightPercent = 95;
  std::uint32_t graphStyle = 1;

  // Colours (COLORREF 0x00BBGGRR).
  std::uint32_t graphBkgColor = 0xDEDBAD;
  std::uint32_t downColor = 0x0000FF;
  std::uint32_t bothDownUpColor = 0x00FFFF;
  std::uint32_t gridColor = 0x9E9E9E;
  std::uint32_t upColor = 0x00CC00;
  std::uint32_t avgDownLineColor = 0x000080;
  std::uint32_t avgUpLineColor = 0x006400;
  std::uint32_t titleBkgColor = 0x9E9E9E;
  std::uint32_t titleTextColor = 0xFFFFFF;
  std::uint32_t scaleTextColor = 0x000000;
  std::uint32_t rateTextColor = 0x000000;
  std::uint32_t rateBkgColor = 0xFFFFFF;
  std::uint32_t borderColor = 0x333333;
  std::uint32_t timeGridColor = 0x6E6E6E;
  std::uint32_t timeTextColor = 0x3C3C3C;

  // Fonts.
  LogFont timeTextFont = DefaultFont(12, 700);
  LogFont rateFont = DefaultFont(13, 0);
  LogFont scaleFont = DefaultFont(12, 0);
  LogFont titleFont = DefaultFont(13, 700);

  // Tray icon.
  std::uint32_t dispIconSystray = 1;
  std::uint32_t showGraphInSystray = 1;
  std::uint32_t showAdapterNameInSystrayTips = 1;
  std::uint32_t showAdapterIpInSystrayTips = 1;
  std::uint32_t stIfType = 100;
  AdapterId stAdpId;

  // Notification.
  std::uint32_t notificationEnabled = 0;
  NotificationRule notificationRule = DefaultRule();
  std::uint32_t nextAlertType = 0;
  std::uint32_t nextAlertMin = 5;

  // Reports.
  std::uint32_t sumLastDays = 30;

  // Window and instance.
  WndPosition wndPosition;
  std::uint32_t stopwatchResetAdapterGraph = 0;
  std::uint32_t stopwatchAlwaysOnTop = 0;
  std::uint32_t mainWindowHandle = 0;  // "HWND"

  static LogFont DefaultFont(std::int32_t height, std::int32_t weight);
  static NotificationRule DefaultRule();
};

// Defaults that depend on the system: without layered windows the window cannot be
// semi-transparent.
Options DefaultOptions(bool layeredWindows = true);

// Desktop: every value of the general, display, style, colour, font, tray, notification and
// summary tables, the window rectangle and the stopwatch switches, from the given hive.
void LoadDesktopOptions(RegistryHive& currentUser, Options& options);
// Service: only DisplayUnitByte, ShowIPInTitle, WeekStartDay, MonthStartDay, NotificationEnabled,
// NotificationEx2U, DateFormat and SumLastDays.
void LoadServiceOptions(RegistryHive& localMachine, Options& options);
// Writes every value of every group in the mask; a mask of 0 writes nothing.
void SaveOptions(RegistryHive& hive, const Options& options, std::uint32_t groupMask);

// The rules applied after reading (also exposed for the options sheet, which validates alike).
void ApplyOptionReadRules(Options& options);
// The part of them for the graph style: column width below 1 becomes 3, space below 0 becomes 0,
// time grid interval below 1 becomes 30, a line style outside 0..4 becomes 2.
void ApplyGraphStyleReadRules(Options& options);

}  // namespace veltrano
