// Pane layout. Bands overlap by one pixel so that neighbouring outlines share a border line.
#include "view/graph_layout.h"

#include <algorithm>

#include "view/dpi_scale.h"

namespace veltrano {
namespace {

PaneRect Shrunk(const PaneRect& rect, int dx, int dy) {
  return {rect.left + dx, rect.top + dy, rect.right - dx, rect.bottom - dy};
}

bool TooSmallForText(const PaneRect& rect) {
  return rect.Height() < 5 || rect.Width() < 7;
}

bool ScaleFits(const LayoutInput& input) {
  return input.showScale && input.scaleWidth + 3 < input.width;
}

// A text band: the font's height and two pixels above and below, at 96 DPI.
int BandHeight(int fontHeight, int dpi) {
  return fontHeight + ScaleToDpi(4, dpi);
}

}  // namespace

int ColumnCountFor(const LayoutInput& input) {
  if (input.width <= 2) return 0;
  const int usable = input.showScale && input.showGraph && input.scaleWidth + 3 < input.width
                         ? input.width - (input.scaleWidth + 3)
                         : input.width - 2;
  // Setters keep the pitch at 1 or more; a bad value must still not divide by zero.
  const long long pitch = std::max(1LL, static_cast<long long>(input.columnWidth) + input.columnSpace);
  return static_cast<int>(usable / pitch + (usable % pitch ? 1 : 0));
}

PaneLayout Relayout(const LayoutInput& input) {
  PaneLayout layout;
  layout.columnCount = ColumnCountFor(input);
  layout.tickLength = ScaleToDpi(3, input.dpi);
  const int w = input.width;
  const int h = input.height;
  if (w <= 0 || h <= 0) return layout;

  const int padX = ScaleToDpi(3, input.dpi);
  // Half the band's room above its font, so that the text keeps its whole height.
  const int padY = ScaleToDpi(4, input.dpi) / 2;
  int edge = 0;
  if (input.showTitle) {
    layout.titleRect = {0, 0, w, std::min(BandHeight(input.titleFontHeight, input.dpi), h)};
    if (!TooSmallForText(layout.titleRect)) layout.titleTextRect = Shrunk(layout.titleRect, padX, padY);
    edge = layout.titleRect.bottom - 1;
  }
  if (layout.titleRect.bottom >= h) return layout;

  if (input.showText) {
    const int top = h - BandHeight(input.rateFontHeight, input.dpi);
    layout.textRect = {0, input.showGraph && top >= edge ? top : edge, w, h};
    if (!TooSmallForText(layout.textRect)) {
      PaneRect inner = Shrunk(layout.textRect, padX, padY);
      if (input.rateFontHeight < inner.Height()) inner = Shrunk(inner, 0, (inner.Height() - input.rateFontHeight) / 2);
      layout.textInnerRect = inner;
    }
  }

  if (!input.showGraph) return layout;
  if (input.showText) {
    if (edge < layout.textRect.top) layout.graphRect = {0, edge, w, layout.textRect.top + 1};
  } else {
    layout.graphRect = {0, edge, w, h};
  }
  if (layout.graphRect.Height() <= 2 || w <= 2) return layout;

  const PaneRect& graph = layout.graphRect;
  if (ScaleFits(input)) {
    layout.scaleRect = {graph.left + 1, graph.top + 1, input.scaleWidth + 1, graph.bottom - 1};
    // A font of height 0 (the system's default size) still gives at least one label.
    const int fontHeight = std::max(1, input.scaleFontHeight);
    int count = (graph.Height() - 2) / fontHeight;
    if (count > 6) count = (count - 6) / 3 + 6;
    if (count <= 0) count = 1;
    layout.scaleLineCount = count;
    layout.scaleLineSpacing = std::max(0, (layout.scaleRect.Height() - input.scaleFontHeight / 2) / count);
    layout.plotRect = {input.scaleWidth + 2, graph.top + 1, w - 1, graph.bottom - 1};
  } else {
    layout.plotRect = Shrunk(graph, 1, 1);
  }
  layout.maxBarHeight = layout.plotRect.Empty() ? 0 : layout.plotRect.Height() * input.heightPercent / 100;
  return layout;
}

int NaturalPaneHeight(bool showTitle, bool showText, bool showGraph, int titleFontHeight, int rateFontHeight,
                      int dpi) {
  const int border = ScaleToDpi(3, dpi);
  return (showTitle ? titleFontHeight + border : 0) + (showText ? rateFontHeight + border : 0) +
         (showGraph ? ScaleToDpi(100, dpi) : 0);
}

}  // namespace veltrano
