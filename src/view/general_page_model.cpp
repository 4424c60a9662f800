// Items, checks and the apply plan of the General options page.
#include "view/general_page_model.h"

#include "view/number_field.h"

namespace veltrano {

const DateFormatItem kDateFormatItems[7] = {
    {"MM/DD/YYYY", 17}, {"MM.DD.YYYY", 119}, {"DD/MM/YYYY", 34}, {"DD.MM.YYYY", 102},
    {"YYYY/MM/DD", 51}, {"YYYY-MM-DD", 68},  {"YYYY.MM.DD", 85},
};

const char* const kWeekDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

const char* const kUnitBytesExplanation =
    "1B/s stands for 1 Byte per second (1 Byte = 8 bits).\n1KB/s stands for 1024 Bytes per second.\n"
    "1MB/s stands for 1024 KB per second.\n1GB/s stands for 1024 MB per second.";
const char* const kUnitBitsExplanation =
    "1bps stands for 1 bit per second (8 bits = 1 Byte).\n1kbps stands for 1000 bits per second.\n"
    "1mbps stands for 1000 kb per second.\n1gbps stands for 1000 mb per second.";

std::string TransparencyItemText(int index) {
  return std::to_string(90 - 5 * index) + "% visible";
}

std::uint32_t TransparencyPercentAt(int index) {
  return static_cast<std::uint32_t>(10 + 5 * index);
}

int TransparencyIndexFor(std::uint32_t percent) {
  for (int index = 0; index < kTransparencyItemCount; ++index)
    if (TransparencyPercentAt(index) == percent) return index;
  return 1;
}

int DateFormatIndexFor(std::uint32_t code) {
  for (int index = 0; index < 7; ++index)
    if (kDateFormatItems[index].code == code) return index;
  return 0;
}

PageCheck<GeneralControl> ReadGeneralPage(const GeneralPageFields& fields, Options& result) {
  using Check = PageCheck<GeneralControl>;
  const Options& in = fields.values;
  if (fields.layeredWindows && (fields.transparencyIndex < 0 || fields.transparencyIndex >= kTransparencyItemCount))
    return Check::Refuse(GeneralControl::kTransparency, "You must select a transparency percent value.");
  std::int64_t margins = 0;
  if (!ParseWholeNumber(fields.margins, margins))
    return Check::Refuse(GeneralControl::kMargins, "The margins for rate view must be a number from 0 to 1000.");
  if (margins < 0)
    return Check::Refuse(GeneralControl::kMargins, "The margins for rate view must be greater than or equal to 0.");
  if (margins > 1000)
    return Check::Refuse(GeneralControl::kMargins, "The margins for rate view must be less than or equal to 1000.");
  if (!in.displayGraph && !in.displayText)
    return Check::Refuse(GeneralControl::kGraph, "At least either graph or text should be displayed.");

  result = in;
  result.rateViewMargins = static_cast<std::uint32_t>(margins);
  if (fields.layeredWindows) result.transparentPercent = TransparencyPercentAt(fields.transparencyIndex);
  result.weekStartDay = fields.weekStartIndex >= 0 && fields.weekStartIndex < 7 ? fields.weekStartIndex : 0;
  result.monthStartDay = fields.monthStartIndex >= 0 && fields.monthStartIndex < 31 ? fields.monthStartIndex + 1 : 1;
  result.hotkeyChar = fields.hotkeyIndex >= 0 && fields.hotkeyIndex < 26 ? 'A' + fields.hotkeyIndex : 'B';
  result.dateFormat =
      fields.dateFormatIndex >= 0 && fields.dateFormatIndex < 7 ? kDateFormatItems[fields.dateFormatIndex].code : 17;
  return {};
}

namespace {

bool On(std::uint32_t value) {
  return value != 0;
}

void CopyDisplaySwitches(const Options& from, Options& to) {
  to.displayTitle = from.displayTitle;
  to.displayGraph = from.displayGraph;
  to.displayScaleGrid = from.displayScaleGrid;
  to.displayScale = from.displayScale;
  to.displayText = from.displayText;
  to.displayMaxRateInText = from.displayMaxRateInText;
  to.textCrSameAsGraphCr = from.textCrSameAsGraphCr;
  to.dispAvgValuesInText = from.dispAvgValuesInText;
  to.dispAvgDownLine = from.dispAvgDownLine;
  to.dispAvgUpLine = from.dispAvgUpLine;
  to.displayTimeGrid = from.displayTimeGrid;
  to.displayTimeText = from.displayTimeText;
  to.scaleGridOnTop = from.scaleGridOnTop;
  to.timeGridOnTop = from.timeGridOnTop;
  to.timeTextOnTop = from.timeTextOnTop;
}

}  // namespace

GeneralApplyPlan PlanGeneralApply(const Options& current, const Options& page, bool layeredWindows,
                                  bool runValuePresent) {
  GeneralApplyPlan plan;
  Options& next = plan.next;
  next = current;

  plan.retitlePanes = On(page.showIpInTitle) != On(current.showIpInTitle);
  next.showIpInTitle = page.showIpInTitle;
  next.displayUnitByte = page.displayUnitByte;

  const NotificationRule& rule = current.notificationRule;
  if (On(current.notificationEnabled))
    plan.recomputeUsage = (rule.periodKind == 0 && page.weekStartDay != current.weekStartDay) ||
                          (rule.periodKind == 1 && page.monthStartDay != current.monthStartDay);
  next.weekStartDay = page.weekStartDay;
  next.monthStartDay = page.monthStartDay;
  next.dateFormat = page.dateFormat;

  if (On(page.hotkeyEnabled) != On(current.hotkeyEnabled)) {
    plan.hotkey = On(page.hotkeyEnabled) ? HotkeyAction::kRegister : HotkeyAction::kUnregister;
    next.hotkeyEnabled = page.hotkeyEnabled;
    next.hotkeyChar = page.hotkeyChar;
  } else if (On(page.hotkeyEnabled) && page.hotkeyChar != current.hotkeyChar) {
    plan.hotkey = HotkeyAction::kReregister;
    next.hotkeyChar = page.hotkeyChar;
  }

  plan.applyAlwaysOnTop = On(page.alwaysOnTop) != On(current.alwaysOnTop);
  plan.applyShowCaption = On(page.showCaption) != On(current.showCaption);
  next.alwaysOnTop = page.alwaysOnTop;
  next.showCaption = page.showCaption;

  if (layeredWindows) {
    next.semiTransparent = page.semiTransparent;
    next.transparentPercent = page.transparentPercent;
    next.enableClickThrough = page.enableClickThrough;
    plan.applyWindowStyle = true;
    plan.windowStylePercent = On(page.semiTransparent) ? page.transparentPercent : 0;
  }

  next.startMinimized = page.startMinimized;
  next.startWithWindows = page.startWithWindows;
  if (On(page.startWithWindows) != runValuePresent)
    plan.runValue = On(page.startWithWindows) ? RunValueAction::kCreate : RunValueAction::kDelete;

  CopyDisplaySwitches(page, next);
  plan.restackPanes = page.rateViewMargins != current.rateViewMargins;
  next.rateViewMargins = page.rateViewMargins;
  return plan;
}

}  // namespace veltrano
