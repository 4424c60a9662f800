// The General options page as plain logic: its list items, the checks of its fields and what
// applying it changes in the main window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/options.h"
#include "view/page_check.h"

namespace veltrano {

constexpr int kTransparencyItemCount = 17;
// "90% visible" ... "10% visible": item i means TransparentPercent 10 + 5 i.
std::string TransparencyItemText(int index);
std::uint32_t TransparencyPercentAt(int index);
// The item of a stored percent; a percent that is not on the list selects the second item.
int TransparencyIndexFor(std::uint32_t percent);

struct DateFormatItem {
  const char* text;
  std::uint32_t code;
};
extern const DateFormatItem kDateFormatItems[7];
int DateFormatIndexFor(std::uint32_t code);  // the first item for an unknown code

extern const char* const kWeekDayNames[7];
extern const char* const kUnitBytesExplanation;
extern const char* const kUnitBitsExplanation;

enum class GeneralControl { kNone, kTransparency, kMargins, kGraph };

// What the page's controls hold when it is validated. `values` carries every check box and the
// unit radio pair; the lists are given as selected indexes (-1: none) and the margins as typed.
struct GeneralPageFields {
  Options values;
  bool layeredWindows = true;
  int transparencyIndex = -1;
  std::string margins;
  int hotkeyIndex = -1;  // 0 = "A"
  int monthStartIndex = -1;
  int weekStartIndex = -1;
  int dateFormatIndex = -1;
};

// Checks the fields in order; when accepted, `result` receives every value the page edits.
PageCheck<GeneralControl> ReadGeneralPage(const GeneralPageFields& fields, Options& result);

enum class HotkeyAction { kNone, kRegister, kUnregister, kReregister };
enum class RunValueAction { kNone, kCreate, kDelete };

// What applying the page does, in the order the main window carries it out.
struct GeneralApplyPlan {
  Options next;  // the main window's options after the apply
  bool retitlePanes = false;
  bool recomputeUsage = false;
  HotkeyAction hotkey = HotkeyAction::kNone;
  bool applyAlwaysOnTop = false;
  bool applyShowCaption = false;
  bool applyWindowStyle = false;
  std::uint32_t windowStylePercent = 0;  // 0 when the window is not semi-transparent
  RunValueAction runValue = RunValueAction::kNone;
  bool restackPanes = false;
};

GeneralApplyPlan PlanGeneralApply(const Options& current, const Options& page, bool layeredWindows,
                                  bool runValuePresent);

}  // namespace veltrano
