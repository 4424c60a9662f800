// Pane drawing with GDI. Every text is drawn with a transparent background; fills use the DC
// brush so that a redraw creates no brush.
#include "desktop/graph_painter.h"

#include <string>

#include "platform/win32/wide_text.h"
#include "reports/value_format.h"
#include "view/dpi_scale.h"
#include "view/graph_time.h"

namespace veltrano {
namespace {

RECT ToRect(const PaneRect& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
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

HFONT CreatePaneFont(const LogFont& font, int dpi) {
  LOGFONTW record{};
  record.lfHeight = ScaleToDpi(font.height, dpi);
  record.lfWidth = ScaleToDpi(font.width, dpi);
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

void GraphPainter::Invalidate() {
  title_.valid = scale_.valid = rate_.valid = false;
}

void GraphPainter::FontsChanged() {
  Invalidate();
  timeText_.font = rateText_.font = nullptr;
}

void GraphPainter::Release() {
  FontsChanged();
  for (FastFont* fast : {&timeText_, &rateText_}) {
    fast->glyphs.SetSource(nullptr);
    fast->source.SetFont(nullptr);
    fast->source.Release();
  }
}

void GraphPainter::UseFont(FastFont& fast, HFONT font) {
  if (fast.font == font) return;
  fast.font = font;
  fast.source.SetFont(font);
  fast.glyphs.SetSource(&fast.source);
}

int GraphPainter::MeasureText(HDC dc, FastFont& fast, const std::string& text) {
  int width = 0;
  if (fast.glyphs.Measure(text, width)) return width;
  SelectObject(dc, fast.font);
  return TextWidth(dc, Widen(text));
}

void GraphPainter::FastText(HDC dc, FastFont& fast, const std::string& text, const PaneRect& rect, UINT format,
                            COLORREF colour) {
  const int line = fast.source.LineHeight();
  int width = 0;
  if (line > 0 && fast.glyphs.Measure(text, width)) {
    const int x = format & DT_CENTER ? rect.left + (rect.Width() - width) / 2 : rect.left;
    const int y = format & DT_BOTTOM ? rect.bottom - line : rect.top;
    fast.glyphs.Draw(*canvas_, text, x, y, colour, rect);
    return;
  }
  SelectObject(dc, fast.font);
  SetTextColor(dc, colour);
  Text(dc, Widen(text), rect, format);
  GdiFlush();
}

void GraphPainter::Draw(HDC dc, PixelCanvas& canvas, const GraphModel& model, const PaneTools& tools,
                        const std::wstring& title, const LocalTime& now) {
  model_ = &model;
  tools_ = &tools;
  canvas_ = &canvas;
  UseFont(timeText_, tools.timeFont);
  UseFont(rateText_, tools.rateFont);
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
  GdiFlush();
}

void GraphPainter::DrawTitle(HDC dc, const std::wstring& title) {
  const PaneLayout& layout = model_->Layout();
  if (layout.titleRect.Empty()) return;
  if (title_.valid) {
    canvas_->Restore(title_.pixels);
    return;
  }
  canvas_->Fill(layout.titleRect, model_->Colours().titleBackground);
  canvas_->Outline(layout.titleRect, model_->Colours().border);
  if (!layout.titleTextRect.Empty()) {
    SelectObject(dc, tools_->titleFont);
    SetTextColor(dc, model_->Colours().titleText);
    Text(dc, title, layout.titleTextRect, DT_LEFT | DT_TOP | DT_END_ELLIPSIS);
    GdiFlush();
  }
  canvas_->Save(layout.titleRect, title_.pixels);
  title_.valid = true;
}

void GraphPainter::DrawGraphBand(HDC) {
  const PaneLayout& layout = model_->Layout();
  if (layout.graphRect.Empty()) return;
  canvas_->Fill(layout.graphRect, model_->Colours().graphBackground);
  canvas_->Outline(layout.graphRect, model_->Colours().border);
  if (!layout.scaleRect.Empty()) {
    canvas_->VerticalLine(layout.scaleRect.right, layout.scaleRect.top, layout.scaleRect.bottom,
                          model_->Colours().border);
  }
}

// The labels and ticks lie inside the scale rectangle, which nothing else draws on: while the
// scale and the settings stay as they are, its pixels are put back instead of drawn.
void GraphPainter::DrawScaleLabels(HDC dc) {
  const PaneLayout& layout = model_->Layout();
  if (layout.scaleRect.Empty() || layout.maxBarHeight <= 0) return;
  if (scale_.valid && scale_.scaleMax == model_->ScaleMax()) {
    canvas_->Restore(scale_.pixels);
    return;
  }
  ScaleLabels(layout, model_->ScaleFontHeight(), model_->ScaleMax(), labels_);
  SelectObject(dc, tools_->scaleFont);
  SetTextColor(dc, model_->Colours().scaleText);
  const int right = layout.scaleRect.right;
  for (const ScaleLabel& label : labels_) {
    if (label.tick) canvas_->HorizontalLine(right - layout.tickLength, right, label.y, model_->Colours().border);
    Text(dc, Widen(FormatRate(label.value, model_->Switches().unitBytes)), label.textRect, DT_RIGHT | DT_TOP);
  }
  GdiFlush();
  canvas_->Save(layout.scaleRect, scale_.pixels);
  scale_.scaleMax = model_->ScaleMax();
  scale_.valid = true;
}

void GraphPainter::DrawScaleGrid(HDC) {
  const PaneLayout& layout = model_->Layout();
  if (!model_->Switches().showScaleGrid || !model_->Switches().showScale) return;
  ScaleGridRows(layout, model_->ScaleFontHeight(), lines_);
  const PaneColours& colours = model_->Colours();
  for (int y : lines_) {
    canvas_->HorizontalLine(layout.plotRect.left, layout.plotRect.right, y, colours.scaleGrid, colours.scaleGridStyle);
  }
}

void GraphPainter::DrawTimeGrid(HDC) {
  const PaneRect& plot = model_->Layout().plotRect;
  if (!model_->Switches().showTimeGrid || !model_->Switches().showGraph || plot.Empty()) return;
  model_->Grid().Lines(plot.left, plot.right, model_->TimeGridInterval(), model_->ColumnWidth(), model_->ColumnSpace(),
                       lines_);
  const PaneColours& colours = model_->Colours();
  for (int x : lines_) canvas_->VerticalLine(x, plot.top, plot.bottom, colours.timeGrid, colours.timeGridStyle);
}

PlotGeometry GraphPainter::Geometry() const {
  const PaneLayout& layout = model_->Layout();
  return {layout.plotRect, layout.maxBarHeight, model_->ScaleMax(), model_->ColumnWidth(), model_->ColumnSpace()};
}

void GraphPainter::DrawLine(std::uint32_t colour, LineValue value) {
  LinePoints(model_->History(), Geometry(), value, points_);
  canvas_->Polyline(points_, colour);
}

void GraphPainter::DrawGraph(HDC) {
  const PaneLayout& layout = model_->Layout();
  if (layout.plotRect.Empty()) return;
  if (model_->GraphStyle() == 0) {
    // Without a scale every point would lie on the bottom row; the lines are left out instead.
    if (model_->ScaleMax() == 0) return;
    DrawLine(model_->Colours().up, LineValue::kUp);
    DrawLine(model_->Colours().down, LineValue::kDown);
    return;
  }
  if (model_->GraphStyle() != 1) return;
  ColumnFills(model_->History(), Geometry(), fills_);
  const PaneColours& colours = model_->Colours();
  for (const ColumnFill& fill : fills_) {
    const COLORREF colour = fill.colour == ColumnColour::kBoth   ? colours.both
                            : fill.colour == ColumnColour::kDown ? colours.down
                                                                 : colours.up;
    canvas_->Fill(fill.rect, colour);
  }
}

void GraphPainter::DrawAverageLines(HDC) {
  const PaneLayout& layout = model_->Layout();
  const PaneSwitches& on = model_->Switches();
  if (layout.plotRect.Empty() || model_->ScaleMax() == 0 || layout.maxBarHeight <= 0) return;
  if (on.showAvgUpLine) DrawLine(model_->Colours().avgUp, LineValue::kAvgUp);
  if (on.showAvgDownLine) DrawLine(model_->Colours().avgDown, LineValue::kAvgDown);
}

void GraphPainter::DrawTimeLabels(HDC dc, const LocalTime& now) {
  const PaneRect& plot = model_->Layout().plotRect;
  if (!model_->Switches().showTimeText || !model_->Switches().showGraph || plot.Empty()) return;
  model_->Grid().Lines(plot.left, plot.right, model_->TimeGridInterval(), model_->ColumnWidth(), model_->ColumnSpace(),
                       lines_);
  const UINT vertical = model_->Switches().timeTextOnTop ? DT_TOP : DT_BOTTOM;
  std::int64_t age = model_->Grid().Phase();
  for (int x : lines_) {
    const std::string label = FormatTimeLabel(SecondsBefore(now, age), model_->TimeFormat(), model_->Use12Hour());
    FastText(dc, timeText_, label, {x + model_->Scaled(4), plot.top, plot.right, plot.bottom}, DT_LEFT | vertical,
             model_->Colours().timeText);
    age += model_->TimeGridInterval();
  }
}

// The rate band is drawn last and covers its whole rectangle, so an unchanged text is put back
// from the previous redraw.
void GraphPainter::DrawRateText(HDC dc) {
  const PaneLayout& layout = model_->Layout();
  if (layout.textRect.Empty()) return;
  const RateHistory& history = model_->History();
  const bool withText = !layout.textInnerRect.Empty() && !history.empty();
  const PaneSwitches& on = model_->Switches();
  RateTextPieces pieces;
  if (withText)
    pieces = RateTextParts(history.back(), model_->VisibleMax(), {on.showMaxInText, on.avgInText, on.unitBytes});
  const std::wstring key = withText ? Widen(pieces.max + "\n" + pieces.down + "\n" + pieces.up) : std::wstring();
  if (rate_.valid && rate_.text == key) {
    canvas_->Restore(rate_.pixels);
    return;
  }
  canvas_->Fill(layout.textRect, model_->Colours().rateBackground);
  canvas_->Outline(layout.textRect, model_->Colours().border);
  if (withText) {
    if (on.textColourAsGraph) {
      DrawColouredRateText(dc, pieces);
    } else {
      FastText(dc, rateText_, PlainRateText(pieces), layout.textInnerRect, DT_CENTER | DT_BOTTOM,
               model_->Colours().rateText);
    }
  }
  canvas_->Save(layout.textRect, rate_.pixels);
  rate_.text = key;
  rate_.valid = true;
}
void GraphPainter::DrawColouredRateText(HDC dc, const RateTextPieces& pieces) {
  const PaneRect& inner = model_->Layout().textInnerRect;
  const PaneColours& colours = model_->Colours();
  const int space = MeasureText(dc, rateText_, " ");
  const int maxWidth = pieces.max.empty() ? 0 : MeasureText(dc, rateText_, pieces.max);
  const int downWidth = MeasureText(dc, rateText_, pieces.down);
  int x = ColouredRateTextStart(inner.left, inner.Width(), maxWidth + downWidth + MeasureText(dc, rateText_, pieces.up),
                                space, !pieces.max.empty());
  const auto piece = [&](const std::string& text, COLORREF colour) {
    FastText(dc, rateText_, text, {x, inner.top, inner.right, inner.bottom}, DT_LEFT | DT_BOTTOM, colour);
  };
  if (!pieces.max.empty()) {
    piece(pieces.max, colours.rateText);
    x += maxWidth + 2 * space;
  }
  piece(pieces.down, colours.down);
  x += downWidth + 2 * space;
  piece(pieces.up, colours.up);
}

}  // namespace veltrano
