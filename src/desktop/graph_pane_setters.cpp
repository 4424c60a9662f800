// Rate graph pane setters: each stores its value, and with the redraw flag set recomputes the
// layout where the value changes it and redraws.
#include <algorithm>

#include "desktop/graph_pane.h"
#include "platform/win32/wide_text.h"
#include "settings/options.h"
#include "view/graph_scale.h"

namespace veltrano {

void GraphPane::SetTitle(const std::string& text, bool redraw) {
  const std::wstring title = Widen(text);
  if (title == title_) return;
  title_ = title;
  Changed(false, redraw);
}

void GraphPane::SetShowTitle(bool on, bool redraw) {
  model_.Switches().showTitle = on;
  Changed(true, redraw);
}

void GraphPane::SetShowGraph(bool on, bool redraw) {
  model_.Switches().showGraph = on;
  Changed(true, redraw);
}

void GraphPane::SetShowScale(bool on, bool redraw) {
  model_.Switches().showScale = on;
  Changed(true, redraw);
}

void GraphPane::SetShowText(bool on, bool redraw) {
  model_.Switches().showText = on;
  Changed(true, redraw);
}

void GraphPane::SetShowAvgDownLine(bool on, bool redraw) {
  model_.Switches().showAvgDownLine = on;
  Changed(true, redraw);
}

void GraphPane::SetShowAvgUpLine(bool on, bool redraw) {
  model_.Switches().showAvgUpLine = on;
  Changed(true, redraw);
}

void GraphPane::SetShowScaleGrid(bool on, bool redraw) {
  model_.Switches().showScaleGrid = on;
  Changed(false, redraw);
}

void GraphPane::SetShowMaxInText(bool on, bool redraw) {
  model_.Switches().showMaxInText = on;
  Changed(false, redraw);
}

void GraphPane::SetTextColourAsGraph(bool on, bool redraw) {
  model_.Switches().textColourAsGraph = on;
  Changed(false, redraw);
}

void GraphPane::SetAvgInText(bool on, bool redraw) {
  model_.Switches().avgInText = on;
  Changed(false, redraw);
}

void GraphPane::SetShowTimeGrid(bool on, bool redraw) {
  model_.Switches().showTimeGrid = on;
  Changed(false, redraw);
}

void GraphPane::SetShowTimeText(bool on, bool redraw) {
  model_.Switches().showTimeText = on;
  Changed(false, redraw);
}

void GraphPane::SetScaleGridOnTop(bool on, bool redraw) {
  model_.Switches().scaleGridOnTop = on;
  Changed(false, redraw);
}

void GraphPane::SetTimeGridOnTop(bool on, bool redraw) {
  model_.Switches().timeGridOnTop = on;
  Changed(false, redraw);
}

void GraphPane::SetTimeTextOnTop(bool on, bool redraw) {
  model_.Switches().timeTextOnTop = on;
  Changed(false, redraw);
}

void GraphPane::SetUnitBytes(bool on, bool redraw) {
  const bool changed = model_.Switches().unitBytes != on;
  model_.Switches().unitBytes = on;
  if (changed) MeasureScaleWidth();
  Changed(true, redraw);
}

void GraphPane::SetGraphStyle(int style, bool redraw) {
  model_.SetGraphStyle(style);
  Changed(false, redraw);
}

void GraphPane::SetTimeFormat(int format, bool redraw) {
  model_.SetTimeFormat(format);
  Changed(false, redraw);
}

void GraphPane::SetGraphBackground(COLORREF colour, bool redraw) {
  model_.Colours().graphBackground = colour;
  Changed(false, redraw);
}

void GraphPane::SetGraphColours(COLORREF up, COLORREF down, COLORREF both, bool redraw) {
  PaneColours& colours = model_.Colours();
  colours.up = up;
  colours.down = down;
  colours.both = both;
  Changed(false, redraw);
}

void GraphPane::SetAverageColours(COLORREF avgUp, COLORREF avgDown, bool redraw) {
  model_.Colours().avgUp = avgUp;
  model_.Colours().avgDown = avgDown;
  Changed(false, redraw);
}

void GraphPane::SetScaleGrid(COLORREF colour, int style, bool redraw) {
  model_.Colours().scaleGrid = colour;
  model_.Colours().scaleGridStyle = ValidPenStyle(style);
  Changed(false, redraw);
}

void GraphPane::SetTimeGrid(COLORREF colour, int style, bool redraw) {
  model_.Colours().timeGrid = colour;
  model_.Colours().timeGridStyle = ValidPenStyle(style);
  Changed(false, redraw);
}

void GraphPane::SetTitleColours(COLORREF background, COLORREF text, bool redraw) {
  model_.Colours().titleBackground = background;
  model_.Colours().titleText = text;
  Changed(false, redraw);
}

void GraphPane::SetRateColours(COLORREF background, COLORREF text, bool redraw) {
  model_.Colours().rateBackground = background;
  model_.Colours().rateText = text;
  Changed(false, redraw);
}

void GraphPane::SetScaleTextColour(COLORREF colour, bool redraw) {
  model_.Colours().scaleText = colour;
  Changed(false, redraw);
}

void GraphPane::SetTimeTextColour(COLORREF colour, bool redraw) {
  model_.Colours().timeText = colour;
  Changed(false, redraw);
}

void GraphPane::SetBorderColour(COLORREF colour, bool redraw) {
  model_.Colours().border = colour;
  Changed(false, redraw);
}

void GraphPane::RebuildFont(FontSlot slot) {
  const HFONT fresh = CreatePaneFont(fonts_[slot], model_.Dpi());
  if (fontHandles_[slot]) {
    // The surface may still hold the old font; it must not stay selected once deleted.
    if (surface_) SelectObject(surface_, GetStockObject(SYSTEM_FONT));
    DeleteObject(fontHandles_[slot]);
  }
  fontHandles_[slot] = fresh;
  painter_.FontsChanged();
}

void GraphPane::SetDpi(int dpi, bool redraw) {
  if (dpi == model_.Dpi()) return;
  model_.SetDpi(dpi);
  if (window_) {
    for (int slot = 0; slot < kFontCount; ++slot) RebuildFont(static_cast<FontSlot>(slot));
  }
  MeasureScaleWidth();
  Changed(true, redraw);
}

void GraphPane::SetFont(FontSlot slot, const LogFont& font, bool redraw) {
  fonts_[slot] = font;
  if (window_) RebuildFont(slot);
  switch (slot) {
    case kTitleFont:
      model_.SetTitleFontHeight(font.height);
      break;
    case kRateFont:
      model_.SetRateFontHeight(font.height);
      break;
    case kScaleFont:
      model_.SetScaleFontHeight(font.height);
      MeasureScaleWidth();
      break;
    default:
      Changed(false, redraw);
      return;
  }
  Changed(true, redraw);
}

void GraphPane::SetTitleFont(const LogFont& font, bool redraw) {
  SetFont(kTitleFont, font, redraw);
}
void GraphPane::SetRateFont(const LogFont& font, bool redraw) {
  SetFont(kRateFont, font, redraw);
}
void GraphPane::SetScaleFont(const LogFont& font, bool redraw) {
  SetFont(kScaleFont, font, redraw);
}
void GraphPane::SetTimeFont(const LogFont& font, bool redraw) {
  SetFont(kTimeFont, font, redraw);
}

void GraphPane::SetTitleFont(const Bytes& record, bool redraw) {
  SetFont(kTitleFont, PaneFontFromRecord(record, Options::DefaultFont(13, 700)), redraw);
}
void GraphPane::SetRateFont(const Bytes& record, bool redraw) {
  SetFont(kRateFont, PaneFontFromRecord(record, Options::DefaultFont(13, 0)), redraw);
}
void GraphPane::SetScaleFont(const Bytes& record, bool redraw) {
  SetFont(kScaleFont, PaneFontFromRecord(record, Options::DefaultFont(12, 0)), redraw);
}
void GraphPane::SetTimeFont(const Bytes& record, bool redraw) {
  SetFont(kTimeFont, PaneFontFromRecord(record, Options::DefaultFont(12, 700)), redraw);
}

bool GraphPane::SetHeightPercent(int percent, bool redraw) {
  if (!model_.SetHeightPercent(percent)) return false;
  Changed(true, redraw);
  return true;
}

void GraphPane::SetColumns(int width, int space, bool redraw) {
  model_.SetColumns(width, space);
  Changed(true, redraw);
}

void GraphPane::SetTimeGridInterval(int seconds, bool redraw) {
  model_.SetTimeGridInterval(seconds);
  Changed(false, redraw);
}

void GraphPane::SetScale(bool fixed, std::uint32_t bytesPerSecond, bool redraw) {
  model_.SetScale(fixed, bytesPerSecond);
  Changed(false, redraw);
}

void GraphPane::SetScaleFromConnRate(std::uint32_t connRateBps, bool redraw) {
  SetScale(connRateBps != 0, connRateBps ? FixedScaleFromConnRate(connRateBps) : 0, redraw);
}

void GraphPane::ResetTimeGrid(bool redraw) {
  model_.ResetTimeGrid();
  Changed(false, redraw);
}

void GraphPane::AddSample(const RateSample& sample) {
  model_.AddSample(sample);
  Redraw();
}

void GraphPane::HistoryChanged() {
  model_.RecomputeMaxima();
  Redraw();
}

void GraphPane::RelayoutAndRedraw() {
  Changed(true, true);
}

}  // namespace veltrano
