// General page: fills the controls from the sheet's copy, checks them and hands them over.
#include "desktop/opt_general_page.h"

#include "desktop/options_controls.h"
#include "desktop/resources/options_ids.h"
#include "view/general_page_model.h"

namespace veltrano {
namespace {

// The display switches in the order of their check boxes (IDC_GEN_DISPLAY_FIRST onwards).
std::uint32_t Options::*const kDisplaySwitches[] = {
    &Options::displayTitle,         &Options::displayGraph,        &Options::displayText,
    &Options::displayMaxRateInText, &Options::displayScale,        &Options::displayScaleGrid,
    &Options::displayTimeGrid,      &Options::displayTimeText,     &Options::scaleGridOnTop,
    &Options::timeGridOnTop,        &Options::timeTextOnTop,       &Options::dispAvgDownLine,
    &Options::dispAvgUpLine,        &Options::dispAvgValuesInText, &Options::textCrSameAsGraphCr,
};

struct SwitchBox {
  int id;
  std::uint32_t Options::*value;
};
const SwitchBox kSwitchBoxes[] = {
    {IDC_GEN_ALWAYS_ON_TOP, &Options::alwaysOnTop},
    {IDC_GEN_SHOW_CAPTION, &Options::showCaption},
    {IDC_GEN_START_WITH_WINDOWS, &Options::startWithWindows},
    {IDC_GEN_START_MINIMIZED, &Options::startMinimized},
    {IDC_GEN_HOTKEY, &Options::hotkeyEnabled},
    {IDC_GEN_CLICK_THROUGH, &Options::enableClickThrough},
    {IDC_GEN_SEMI_TRANSPARENT, &Options::semiTransparent},
    {IDC_GEN_SHOW_IP, &Options::showIpInTitle},
};

}  // namespace

COptGeneralPage::COptGeneralPage(HINSTANCE instance, GeneralPageData& data, ui::Prompter& prompter, HWND mainWindow)
    : COptPage(instance, IDD_OPT_GENERAL, prompter, mainWindow), data_(data) {}

void COptGeneralPage::OnInitDialog() {
  FillLists();
  LoadFields();
}

void COptGeneralPage::FillLists() {
  HWND page = Handle();
  for (char letter = 'A'; letter <= 'Z'; ++letter) AddComboItem(page, IDC_GEN_HOTKEY_CHAR, std::string(1, letter));
  for (int index = 0; index < kTransparencyItemCount; ++index)
    AddComboItem(page, IDC_GEN_TRANSPARENCY, TransparencyItemText(index));
  for (int day = 1; day <= 31; ++day) AddComboItem(page, IDC_GEN_MONTH_START, std::to_string(day));
  for (const char* name : kWeekDayNames) AddComboItem(page, IDC_GEN_WEEK_START, name);
  for (const DateFormatItem& item : kDateFormatItems) AddComboItem(page, IDC_GEN_DATE_FORMAT, item.text);
  SetSpinRange(page, IDC_GEN_MARGINS_SPIN, 0, 1000);
}

void COptGeneralPage::LoadFields() {
  HWND page = Handle();
  const Options& options = data_.options;
  for (const SwitchBox& box : kSwitchBoxes) SetChecked(page, box.id, options.*box.value != 0);
  for (int index = 0; index < 15; ++index)
    SetChecked(page, IDC_GEN_DISPLAY_FIRST + index, options.*kDisplaySwitches[index] != 0);
  const int letter = static_cast<int>(options.hotkeyChar) - 'A';
  SelectComboItem(page, IDC_GEN_HOTKEY_CHAR, letter >= 0 && letter < 26 ? letter : -1);
  SelectComboItem(page, IDC_GEN_TRANSPARENCY, TransparencyIndexFor(options.transparentPercent));
  SelectComboItem(page, IDC_GEN_MONTH_START, static_cast<int>(options.monthStartDay) - 1);
  SelectComboItem(page, IDC_GEN_WEEK_START, static_cast<int>(options.weekStartDay));
  SelectComboItem(page, IDC_GEN_DATE_FORMAT, DateFormatIndexFor(options.dateFormat));
  SetItemText(page, IDC_GEN_MARGINS, std::to_string(options.rateViewMargins));
  SetChecked(page, IDC_GEN_UNIT_BYTES, options.displayUnitByte != 0);
  SetChecked(page, IDC_GEN_UNIT_BITS, options.displayUnitByte == 0);
  EnableTransparency();
}

// Without layered windows the look switches cannot work: they stay disabled.
void COptGeneralPage::EnableTransparency() {
  HWND page = Handle();
  EnableItem(page, IDC_GEN_SEMI_TRANSPARENT, data_.layeredWindows);
  EnableItem(page, IDC_GEN_CLICK_THROUGH, data_.layeredWindows);
  EnableItem(page, IDC_GEN_TRANSPARENCY, data_.layeredWindows && IsChecked(page, IDC_GEN_SEMI_TRANSPARENT));
}

bool COptGeneralPage::OnCommand(WORD id, WORD notifyCode, HWND) {
  switch (id) {
    case IDC_GEN_BYTES_HELP:
      prompter_.Inform(Handle(), kUnitBytesExplanation);
      return true;
    case IDC_GEN_BITS_HELP:
      prompter_.Inform(Handle(), kUnitBitsExplanation);
      return true;
    case IDC_GEN_SEMI_TRANSPARENT:
      EnableTransparency();
      break;
  }
  MarkModifiedOnChange(notifyCode);
  return false;
}

bool COptGeneralPage::OnApply() {
  HWND page = Handle();
  GeneralPageFields fields;
  fields.values = data_.options;
  for (const SwitchBox& box : kSwitchBoxes) fields.values.*box.value = IsChecked(page, box.id);
  for (int index = 0; index < 15; ++index)
    fields.values.*kDisplaySwitches[index] = IsChecked(page, IDC_GEN_DISPLAY_FIRST + index);
  fields.values.displayUnitByte = IsChecked(page, IDC_GEN_UNIT_BYTES);
  fields.layeredWindows = data_.layeredWindows;
  fields.transparencyIndex = ComboSelection(page, IDC_GEN_TRANSPARENCY);
  fields.margins = ItemText(page, IDC_GEN_MARGINS);
  fields.hotkeyIndex = ComboSelection(page, IDC_GEN_HOTKEY_CHAR);
  fields.monthStartIndex = ComboSelection(page, IDC_GEN_MONTH_START);
  fields.weekStartIndex = ComboSelection(page, IDC_GEN_WEEK_START);
  fields.dateFormatIndex = ComboSelection(page, IDC_GEN_DATE_FORMAT);

  Options accepted;
  const PageCheck<GeneralControl> check = ReadGeneralPage(fields, accepted);
  if (!check.Accepted()) {
    const int focus = check.focus == GeneralControl::kTransparency ? IDC_GEN_TRANSPARENCY
                      : check.focus == GeneralControl::kMargins    ? IDC_GEN_MARGINS
                                                                   : IDC_GEN_DISPLAY_GRAPH;
    Refuse(focus, check.message);
    return false;
  }
  data_.options = accepted;
  HandOver(kGeneralPageCode, &data_);
  return true;
}

}  // namespace veltrano
