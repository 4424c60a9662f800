// Pane drawing with GDI. Every text is drawn with a transparent background; fills use the DC
// brush so that a redraw creates no brush.
#include "desktop/graph_painter.h"

#include <string>

#include "platform/win32/wide_text.h"
#include "reports/value_format.h"
#include "view/graph_time.h"

namespace veltrano {
namespace {

RECT ToRect(const PaneRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

void Fill(HDC dc, const PaneRect& rect, COLORREF colour) {
  const RECT area = ToRect(rect);
  SetDCBrushColor(dc, colour);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// Outline without fill; a 1-pixel pen stays inside the half-open rectangle.
void Outline(HDC dc, const PaneRect& rect, HPEN pen) {
  SelectObject(dc, pen);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void Text(HDC dc, const std::wstring& text, const PaneRect& rect, UINT format) {
  RECT area = ToRect(rect);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format | DT_SINGLELINE | DT_NOPREFIX);
}

int TextWidth(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

}  // namespace

HFONT CreatePaneFont(const LogFont& font) {
  LOGFONTW record{};
  record.lfHeight = font.height;
  record.lfWidth = font.width;
  record.lfEscapement = font.escapement;
  record.lfOrientation = font.orientation;
  record.lfWeight = font.weight;
  record.lfItalic = font.italic;
  record.lfUnderline = font.underline;
  record.lfStrikeOut = font.strikeOut;
  record.lfCharSet = font.charSet;
  record.lfOutPrecision = font.outPrecision;
  record.lfClipPrecision = font.clipPrecision;
  record.lfQuality = font.quality;
  record.lfPitchAndFamily = font.pitchAndFamily;
  const std::wstring face = Widen(font.faceName).substr(0, LF_FACESIZE - 1);
  face.copy(record.lfFaceName, face.size());
  return CreateFontIndirectW(&record);
}

void GraphPainter::Draw(HDC dc, const GraphModel& model, const PaneTools& tools, const std::wstring& title,
                        const LocalTime& now) {
  model_ = &model;
  tools_ = &tools;
  const PaneSwitches& on = model.Switches();
  SetBkMode(dc, TRANSPARENT);
  DrawTitle(dc, title);
  DrawGraphBand(dc);
  DrawScaleLabels(dc);
  if (!on.scaleGridOnTop) DrawScaleGrid(dc);
  if (!on.timeGridOnTop) DrawTimeGrid(dc);
  DrawGraph(dc);
  DrawAverageLines(dc);
  if (on.scaleGridOnTop) DrawScaleGrid(dc);
  if (on.timeGridOnTop) DrawTimeGrid(dc);
  DrawTimeLabels(dc, now);
  DrawRateText(dc);
}

void GraphPainter::DrawTitle(HDC dc, const std::wstring& title) {
  const PaneLayout& layout = model_->Layout();
  if (layout.titleRect.Empty()) return;
  Fill(dc, layout.titleRect, model_->Colours().titleBackground);
  Outline(dc, layout.titleRect, tools_->border);
  if (layout.titleTextRect.Empty()) return;
  SelectObject(dc, tools_->titleFont);
  SetTextColor(dc, model_->Colours().titleText);
  Text(dc, title, layout.titleTextRect, DT_LEFT | DT_TOP | DT_END_ELLIPSIS);
}

void GraphPainter::DrawGraphBand(HDC dc) {
  const PaneLayout& layout = model_->Layout();
  if (layout.graphRect.Empty()) return;
  Fill(dc, layout.graphRect, model_->Colours().graphBackground);
  Outline(dc, layout.graphRect, tools_->border);
  if (!layout.scaleRect.Empty()) Line(dc, layout.scaleRect.right, layout.scaleRect.top, layout.scaleRect.right,
                                      layout.scaleRect.bottom);
}

void GraphPainter::DrawScaleLabels(HDC dc) {
  const PaneLayout& layout = model_->Layout();
  ScaleLabels(layout, model_->ScaleFontHeight(), model_->ScaleMax(), labels_);
  if (labels_.empty()) return;
  SelectObject(dc, tools_->scaleFont);
  SelectObject(dc, tools_->border);
  SetTextColor(dc, model_->Colours().scaleText);
  const int right = layout.scaleRect.right;
  for (const ScaleLabel& label : labels_) {
    if (label.tick) Line(dc, right - 3, label.y, right, label.y);
    Text(dc, Widen(FormatRate(label.value, model_->Switches().unitBytes)), label.textRect, DT_RIGHT | DT_TOP);
  }
}

void GraphPainter::DrawScaleGrid(HDC dc) {
  const PaneLayout& layout = model_->Layout();
  if (!model_->Switches().showScaleGrid || !model_->Switches().showScale) return;
  ScaleGridRows(layout, model_->ScaleFontHeight(), lines_);
  SelectObject(dc, tools_->scaleGrid);
  for (int y : lines_) Line(dc, layout.plotRect.left, y, layout.plotRect.right, y);
}

void GraphPainter::DrawTimeGrid(HDC dc) {
  const PaneRect& plot = model_->Layout().plotRect;
  if (!model_->Switches().showTimeGrid || !model_->Switches().showGraph || plot.Empty()) return;
  model_->Grid().Lines(plot.left, plot.right, model_->TimeGridInterval(), model_->ColumnWidth(),
                       model_->ColumnSpace(), lines_);
  SelectObject(dc, tools_->timeGrid);
  for (int x : lines_) Line(dc, x, plot.top, x, plot.bottom);
}

PlotGeometry GraphPainter::Geometry() const {
  const PaneLayout& layout = model_->Layout();
  return {layout.plotRect, layout.maxBarHeight, model_->ScaleMax(), model_->ColumnWidth(), model_->ColumnSpace()};
}

void GraphPainter::DrawLine(HDC dc, HPEN pen, LineValue value) {
  LinePoints(model_->History(), Geometry(), value, points_);
  if (points_.size() < 2) return;  // a single point is no line yet
  polyline_.resize(points_.size());
  for (size_t i = 0; i < points_.size(); ++i) polyline_[i] = {points_[i].x, points_[i].y};
  SelectObject(dc, pen);
  Polyline(dc, polyline_.data(), static_cast<int>(polyline_.size()));
}

void GraphPainter::DrawGraph(HDC dc) {
  const PaneLayout& layout = model_->Layout();
  if (layout.plotRect.Empty()) return;
  if (model_->GraphStyle() == 0) {
    // Without a scale every point would lie on the bottom row; the lines are left out instead.
    if (model_->ScaleMax() == 0) return;
    DrawLine(dc, tools_->up, LineValue::kUp);
    DrawLine(dc, tools_->down, LineValue::kDown);
    return;
  }
  if (model_->GraphStyle() != 1) return;
  ColumnFills(model_->History(), Geometry(), fills_);
  const PaneColours& colours = model_->Colours();
  for (const ColumnFill& fill : fills_) {
    const COLORREF colour = fill.colour == ColumnColour::kBoth   ? colours.both
                            : fill.colour == ColumnColour::kDown ? colours.down
                                                                 : colours.up;
    Fill(dc, fill.rect, colour);
  }
}

void GraphPainter::DrawAverageLines(HDC dc) {
  const PaneLayout& layout = model_->Layout();
  const PaneSwitches& on = model_->Switches();
  if (layout.plotRect.Empty() || model_->ScaleMax() == 0 || layout.maxBarHeight <= 0) return;
  if (on.showAvgUpLine) DrawLine(dc, tools_->avgUp, LineValue::kAvgUp);
  if (on.showAvgDownLine) DrawLine(dc, tools_->avgDown, LineValue::kAvgDown);
}

void GraphPainter::DrawTimeLabels(HDC dc, const LocalTime& now) {
  const PaneRect& plot = model_->Layout().plotRect;
  if (!model_->Switches().showTimeText || !model_->Switches().showGraph || plot.Empty()) return;
  model_->Grid().Lines(plot.left, plot.right, model_->TimeGridInterval(), model_->ColumnWidth(),
                       model_->ColumnSpace(), lines_);
  SelectObject(dc, tools_->timeFont);
  SetTextColor(dc, model_->Colours().timeText);
  const UINT vertical = model_->Switches().timeTextOnTop ? DT_TOP : DT_BOTTOM;
  std::int64_t age = model_->Grid().Phase();
  for (int x : lines_) {
    const std::string label = FormatTimeLabel(SecondsBefore(now, age), model_->TimeFormat(), model_->Use12Hour());
    Text(dc, Widen(label), {x + 4, plot.top, plot.right, plot.bottom}, DT_LEFT | vertical);
    age += model_->TimeGridInterval();
  }
}

void GraphPainter::DrawRateText(HDC dc) {
  const PaneLayout& layout = model_->Layout();
  if (layout.textRect.Empty()) return;
  Fill(dc, layout.textRect, model_->Colours().rateBackground);
  Outline(dc, layout.textRect, tools_->border);
  const RateHistory& history = model_->History();
  if (layout.textInnerRect.Empty() || history.empty()) return;
  const PaneSwitches& on = model_->Switches();
  const RateTextPieces pieces =
      RateTextParts(history.back(), model_->VisibleMax(), {on.showMaxInText, on.avgInText, on.unitBytes});
  SelectObject(dc, tools_->rateFont);
  if (on.textColourAsGraph) {
    DrawColouredRateText(dc, pieces);
    return;
  }
  SetTextColor(dc, model_->Colours().rateText);
  Text(dc, Widen(PlainRateText(pieces)), layout.textInnerRect, DT_CENTER | DT_BOTTOM);
}

void GraphPainter::DrawColouredRateText(HDC dc, const RateTextPieces& pieces) {
  const PaneRect& inner = model_->Layout().textInnerRect;
  const PaneColours& colours = model_->Colours();
  const std::wstring max = Widen(pieces.max);
  const std::wstring down = Widen(pieces.down);
  const std::wstring up = Widen(pieces.up);
  const int space = TextWidth(dc, L" ");
  const int maxWidth = max.empty() ? 0 : TextWidth(dc, max);
  const int downWidth = TextWidth(dc, down);
  int x = ColouredRateTextStart(inner.left, inner.Width(), maxWidth + downWidth + TextWidth(dc, up), space,
                                !max.empty());
  const auto piece = [&](const std::wstring& text, COLORREF colour) {
    SetTextColor(dc, colour);
    Text(dc, text, {x, inner.top, inner.right, inner.bottom}, DT_LEFT | DT_BOTTOM);
  };
  if (!max.empty()) {
    piece(max, colours.rateText);
    x += maxWidth + 2 * space;
  }
  piece(down, colours.down);
  x += downWidth + 2 * space;
  piece(up, colours.up);
}

}  // namespace veltrano
