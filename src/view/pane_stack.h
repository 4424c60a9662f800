// Stacking of the graph panes inside the main window: where each pane goes at start-up, on a
// size change, when a pane is shown or hidden, and while a splitter is dragged. Rectangles are
// in client coordinates; shares are a pane's height over the client height.
#pragma once

#include <cstdint>
#include <vector>

namespace veltrano {

struct StackRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Height() const { return bottom - top; }
  int Width() const { return right - left; }
  bool operator==(const StackRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

// The gap between two panes, and what a shown pane adds beyond its natural height.
constexpr int kSplitterHeight = 2;
constexpr int kShowPaneExtra = 3;

// RateViewMargins as used for arithmetic: a hand-edited value beyond what the options page allows
// would overflow the window size computations.
int EffectiveMargin(std::uint32_t rateViewMargins);

// One pane of the stack as the main window sees it.
struct StackedPane {
  StackRect rect;
  float share = 0.0f;
};

struct PaneStack {
  std::vector<StackedPane> panes;    // top to bottom
  std::vector<StackRect> splitters;  // one per boundary, between panes i and i + 1
};

// Natural height of a pane: title band, text band and 100 pixels of graph as switched on.
int NaturalHeight(bool showTitle, bool showText, bool showGraph, int titleFontHeight, int rateFontHeight);

// How much taller the window gets before the panes are created at start-up: 3 pixels per pane
// without a usable share, but only when more than one pane is shown.
int StartupGrowth(const std::vector<float>& shares, int clientHeight);

// Places the panes at start-up in a client area of this size (already grown).
PaneStack CreatePaneStack(const std::vector<float>& shares, int clientWidth, int clientHeight, int margin);

// Re-places the panes for a new client size. widthOnly: only the width changed since the last
// layout, so the panes keep their vertical extent.
void LayoutPaneStack(PaneStack& stack, int clientWidth, int clientHeight, int margin, bool widthOnly);

// Restacks after a pane was added or removed: panes keep their heights (the one at newIndex gets
// newHeight), each clipped at clientHeight - margin, and every share is recomputed.
void RestackKeepingHeights(PaneStack& stack, int clientWidth, int clientHeight, int margin, int newIndex = -1,
                           int newHeight = 0);

// The window's new screen rectangle when a pane of this natural height is shown: it grows up by
// natural + 3, or down when its top would leave the screen.
StackRect GrowForShownPane(const StackRect& window, int naturalHeight);
// The window's new screen rectangle when a pane of this height is hidden: the top moves down.
StackRect ShrinkForHiddenPane(const StackRect& window, int paneHeight);

// The splitter under a client point, or -1.
int SplitterAt(const PaneStack& stack, int x, int y);
// Moves splitter index to follow the pointer's y, clamped so that neither pane gets shorter than
// 1 pixel; the two panes and their shares follow.
void DragSplitter(PaneStack& stack, int index, int pointerY, int clientHeight);

}  // namespace veltrano
