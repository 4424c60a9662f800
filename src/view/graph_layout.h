// Where a rate graph pane puts its bands: title, graph (scale and plot) and rate text, from the
// client size, the switches, the font heights and the column pitch.
#pragma once

namespace veltrano {

// Half-open pixel rectangle in the pane's client area.
struct PaneRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool operator==(const PaneRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

struct LayoutInput {
  int width = 0;
  int height = 0;
  bool showTitle = true;
  bool showGraph = true;
  bool showScale = true;
  bool showText = true;
  int titleFontHeight = 13;
  int rateFontHeight = 13;
  int scaleFontHeight = 12;
  int scaleWidth = 0;
  int columnWidth = 3;
  int columnSpace = 1;
  int heightPercent = 95;
  // The font heights and scale width above are at this DPI already; the layout's own paddings
  // are 96-DPI sizes scaled to it.
  int dpi = 96;
};

struct PaneLayout {
  PaneRect titleRect, titleTextRect, graphRect, scaleRect, plotRect, textRect, textInnerRect;
  int scaleLineCount = 0;
  int scaleLineSpacing = 0;
  int maxBarHeight = 0;
  int columnCount = 0;
  int tickLength = 3;  // of the scale's ticks, at the layout's DPI
};

// How many columns of the given pitch the plot of a pane this wide shows (a partly shown column
// counts).
int ColumnCountFor(const LayoutInput& input);
PaneLayout Relayout(const LayoutInput& input);

// The height a newly shown pane asks for in the main window, from font heights at dpi.
int NaturalPaneHeight(bool showTitle, bool showText, bool showGraph, int titleFontHeight, int rateFontHeight,
                      int dpi = 96);

}  // namespace veltrano
