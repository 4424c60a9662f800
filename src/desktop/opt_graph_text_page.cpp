// Graph & Text page: pickers for colours and fonts, the graph's numbers, checked and handed over.
#include "desktop/opt_graph_text_page.h"

#include <commdlg.h>

#include <cstring>

#include "desktop/options_controls.h"
#include "desktop/resources/options_ids.h"
#include "view/graph_text_page_model.h"

namespace veltrano {
namespace {

LOGFONTW ToLogFontW(const LogFont& font) {
  const Bytes bytes = EncodeLogFont(font);
  LOGFONTW native{};
  static_assert(sizeof native == 92, "LOGFONTW is stored whole");
  std::memcpy(&native, bytes.data(), sizeof native);
  return native;
}

LogFont FromLogFontW(const LOGFONTW& native) {
  Bytes bytes(sizeof native);
  std::memcpy(bytes.data(), &native, sizeof native);
  return DecodeLogFont(bytes);
}

void FillItems(HWND page, int id, const ListItem* items, int count, std::uint32_t value) {
  for (int index = 0; index < count; ++index) AddComboItem(page, id, items[index].text);
  SelectComboItem(page, id, ListIndexFor(items, count, value));
}

}  // namespace

COptGraphTextPage::COptGraphTextPage(HINSTANCE instance, Options& data, ui::Prompter& prompter, HWND mainWindow)
    : COptPage(instance, IDD_OPT_GRAPH_TEXT, prompter, mainWindow), data_(data), edited_(data) {}

COptGraphTextPage::~COptGraphTextPage() {
  ReleaseBrushes();
}

void COptGraphTextPage::ReleaseBrushes() {
  for (HBRUSH& brush : brushes_) {
    if (brush) DeleteObject(brush);
    brush = nullptr;
  }
}

INT_PTR COptGraphTextPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CTLCOLORSTATIC) {
    const INT_PTR brush = OnSwatchColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    if (brush) return brush;
  }
  if (message == WM_DESTROY) ReleaseBrushes();
  return COptPage::HandleMessage(message, wParam, lParam);
}

// A swatch is painted with its colour's brush; every other static keeps the default look.
INT_PTR COptGraphTextPage::OnSwatchColour(HDC dc, HWND control) {
  const int index = GetDlgCtrlID(control) - IDC_GT_SWATCH_FIRST;
  if (index < 0 || index >= kColourButtonCount || !brushes_[index]) return 0;
  SetBkColor(dc, edited_.*kColourButtons[index].colour);
  return reinterpret_cast<INT_PTR>(brushes_[index]);
}

void COptGraphTextPage::OnInitDialog() {
  edited_ = data_;
  FillLists();
  LoadNumbers();
  RefreshSwatches();
}

void COptGraphTextPage::FillLists() {
  HWND page = Handle();
  FillItems(page, IDC_GT_GRAPH_STYLE, kGraphStyleItems, 2, edited_.graphStyle);
  FillItems(page, IDC_GT_SCALE_GRID_STYLE, kGridStyleItems, 5, edited_.scaleGridLineStyle);
  FillItems(page, IDC_GT_TIME_GRID_STYLE, kGridStyleItems, 5, edited_.timeGridLineStyle);
  FillItems(page, IDC_GT_TIME_FORMAT, kTimeFormatItems, 3, edited_.timeFormat);
  SetSpinRange(page, IDC_GT_HEIGHT_SPIN, 50, 100);
  SetSpinRange(page, IDC_GT_PULSE_WIDTH_SPIN, 1, 1000);
  SetSpinRange(page, IDC_GT_PULSE_SPACE_SPIN, 0, 1000);
  SetSpinRange(page, IDC_GT_TIME_INTERVAL_SPIN, 1, 10000);
}

void COptGraphTextPage::LoadNumbers() {
  HWND page = Handle();
  SetItemText(page, IDC_GT_HEIGHT_PERCENT, std::to_string(edited_.rateHeightPercent));
  SetItemText(page, IDC_GT_PULSE_WIDTH, std::to_string(edited_.pulseWidth));
  SetItemText(page, IDC_GT_PULSE_SPACE, std::to_string(edited_.pulseSpace));
  SetItemText(page, IDC_GT_TIME_INTERVAL, std::to_string(edited_.timeGridIntervalSec));
}

void COptGraphTextPage::RefreshSwatches() {
  ReleaseBrushes();
  for (int index = 0; index < kColourButtonCount; ++index) {
    brushes_[index] = CreateSolidBrush(edited_.*kColourButtons[index].colour);
    InvalidateRect(Item(IDC_GT_SWATCH_FIRST + index), nullptr, TRUE);
  }
}

void COptGraphTextPage::PickColour(int index) {
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = Handle();
  choose.rgbResult = edited_.*kColourButtons[index].colour;
  choose.lpCustColors = customColours_;
  choose.Flags = CC_FULLOPEN | CC_RGBINIT;
  if (!ChooseColorW(&choose)) return;
  edited_.*kColourButtons[index].colour = choose.rgbResult;
  RefreshSwatches();
  SetModified();
}

void COptGraphTextPage::PickFont(LogFont& font) {
  LOGFONTW native = ToLogFontW(font);
  CHOOSEFONTW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = Handle();
  choose.lpLogFont = &native;
  choose.Flags = CF_SCREENFONTS | CF_NOVERTFONTS | CF_NOSCRIPTSEL | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFontW(&choose)) return;
  font = FontFromPicker(FromLogFontW(native));
  SetModified();
}

bool COptGraphTextPage::OnCommand(WORD id, WORD notifyCode, HWND) {
  const int colour = id - IDC_GT_COLOUR_FIRST;
  if (colour >= 0 && colour < kColourButtonCount) {
    PickColour(colour);
    return true;
  }
  switch (id) {
    case IDC_GT_COLOURS_DEFAULT:
      ResetColours(edited_);
      RefreshSwatches();
      SetModified();
      return true;
    case IDC_GT_FONTS_DEFAULT:
      ResetFonts(edited_);
      SetModified();
      return true;
    case IDC_GT_TITLE_FONT:
      PickFont(edited_.titleFont);
      return true;
    case IDC_GT_RATE_FONT:
      PickFont(edited_.rateFont);
      return true;
    case IDC_GT_SCALE_FONT:
      PickFont(edited_.scaleFont);
      return true;
    case IDC_GT_TIME_FONT:
      PickFont(edited_.timeTextFont);
      return true;
  }
  MarkModifiedOnChange(notifyCode);
  return false;
}

bool COptGraphTextPage::OnApply() {
  HWND page = Handle();
  GraphTextPageFields fields;
  fields.values = edited_;
  fields.heightPercent = ItemText(page, IDC_GT_HEIGHT_PERCENT);
  fields.pulseWidth = ItemText(page, IDC_GT_PULSE_WIDTH);
  fields.pulseSpace = ItemText(page, IDC_GT_PULSE_SPACE);
  fields.timeGridInterval = ItemText(page, IDC_GT_TIME_INTERVAL);
  fields.graphStyleIndex = ComboSelection(page, IDC_GT_GRAPH_STYLE);
  fields.scaleGridStyleIndex = ComboSelection(page, IDC_GT_SCALE_GRID_STYLE);
  fields.timeGridStyleIndex = ComboSelection(page, IDC_GT_TIME_GRID_STYLE);
  fields.timeFormatIndex = ComboSelection(page, IDC_GT_TIME_FORMAT);

  Options accepted;
  const PageCheck<GraphTextControl> check = ReadGraphTextPage(fields, accepted);
  if (!check.Accepted()) {
    const int focus = check.focus == GraphTextControl::kHeightPercent ? IDC_GT_HEIGHT_PERCENT
                      : check.focus == GraphTextControl::kPulseWidth  ? IDC_GT_PULSE_WIDTH
                      : check.focus == GraphTextControl::kPulseSpace  ? IDC_GT_PULSE_SPACE
                                                                      : IDC_GT_TIME_INTERVAL;
    Refuse(focus, check.message);
    return false;
  }
  data_ = accepted;
  edited_ = accepted;
  HandOver(kGraphTextPageCode, &data_);
  return true;
}

}  // namespace veltrano
