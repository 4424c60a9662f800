// Pane stacking arithmetic.
#include "view/pane_stack.h"

#include <algorithm>

namespace veltrano {
namespace {

constexpr int kLargestMargin = 1000;
constexpr int kGraphHeight = 100;
constexpr int kBandExtra = 3;

int ShareHeight(float share, int clientHeight) {
  return static_cast<int>(share * static_cast<float>(clientHeight));
}

float ShareOf(int height, int clientHeight) {
  return clientHeight > 0 ? static_cast<float>(height) / static_cast<float>(clientHeight) : 0.0f;
}

void RebuildSplitters(PaneStack& stack) {
  stack.splitters.clear();
  for (size_t i = 1; i < stack.panes.size(); ++i) {
    const StackRect& upper = stack.panes[i - 1].rect;
    const StackRect& lower = stack.panes[i].rect;
    stack.splitters.push_back({upper.left, upper.bottom, upper.right, lower.top});
  }
}

void RecomputeShares(PaneStack& stack, int clientHeight) {
  for (auto& pane : stack.panes) pane.share = ShareOf(pane.rect.Height(), clientHeight);
}

}  // namespace

int EffectiveMargin(std::uint32_t rateViewMargins) {
  return static_cast<int>(std::min<std::uint32_t>(rateViewMargins, kLargestMargin));
}

int NaturalHeight(bool showTitle, bool showText, bool showGraph, int titleFontHeight, int rateFontHeight) {
  return (showTitle ? titleFontHeight + kBandExtra : 0) + (showText ? rateFontHeight + kBandExtra : 0) +
         (showGraph ? kGraphHeight : 0);
}

int StartupGrowth(const std::vector<float>& shares, int clientHeight) {
  if (shares.size() < 2) return 0;
  int growth = 0;
  for (float share : shares) {
    if (ShareHeight(share, clientHeight) <= 0) growth += kShowPaneExtra;
  }
  return growth;
}

PaneStack CreatePaneStack(const std::vector<float>& shares, int clientWidth, int clientHeight, int margin) {
  PaneStack stack;
  const int limit = clientHeight - margin;
  int y = margin;
  for (size_t i = 0; i < shares.size(); ++i) {
    const bool last = i + 1 == shares.size();
    int bottom = y + std::max(1, ShareHeight(shares[i], clientHeight));
    if (last || bottom > limit) bottom = limit;
    stack.panes.push_back({{margin, y, clientWidth - margin, bottom}, shares[i]});
    y = std::min(bottom + kSplitterHeight, limit);
  }
  RebuildSplitters(stack);
  // A share that was zero (a row never shown before) would give its pane no height at the next
  // resize; the shares follow what was placed, as after every other restack.
  RecomputeShares(stack, clientHeight);
  return stack;
}

void LayoutPaneStack(PaneStack& stack, int clientWidth, int clientHeight, int margin, bool widthOnly) {
  if (2 * margin >= clientWidth || 2 * margin >= clientHeight) {
    for (auto& pane : stack.panes) pane.rect = StackRect{};
    RebuildSplitters(stack);
    return;
  }
  // A stack that the margins emptied has no vertical extent left to keep.
  const bool emptied = std::all_of(stack.panes.begin(), stack.panes.end(),
                                   [](const StackedPane& pane) { return pane.rect == StackRect{}; });
  if (widthOnly && !emptied) {
    for (auto& pane : stack.panes) pane.rect.right = clientWidth - margin;
    RebuildSplitters(stack);
    return;
  }
  if (stack.panes.size() == 1) {
    stack.panes[0].rect = {margin, margin, clientWidth - margin, clientHeight - margin};
    stack.splitters.clear();
    return;
  }
  const int limit = clientHeight - margin;
  int y = margin;
  for (size_t i = 0; i < stack.panes.size(); ++i) {
    const bool last = i + 1 == stack.panes.size();
    int bottom = y + ShareHeight(stack.panes[i].share, clientHeight);
    if (last || bottom > limit) bottom = limit;
    stack.panes[i].rect = {margin, y, clientWidth - margin, std::max(y, bottom)};
    y = std::min(bottom + kSplitterHeight, limit);
  }
  RebuildSplitters(stack);
}

void RestackKeepingHeights(PaneStack& stack, int clientWidth, int clientHeight, int margin, int newIndex,
                           int newHeight) {
  const int limit = clientHeight - margin;
  int y = margin;
  for (size_t i = 0; i < stack.panes.size(); ++i) {
    const int height = static_cast<int>(i) == newIndex ? newHeight : stack.panes[i].rect.Height();
    const int top = std::min(y, limit);
    const int bottom = std::max(top, std::min(top + height, limit));
    stack.panes[i].rect = {margin, top, clientWidth - margin, bottom};
    y = bottom + kSplitterHeight;
  }
  RebuildSplitters(stack);
  RecomputeShares(stack, clientHeight);
}

StackRect GrowForShownPane(const StackRect& window, int naturalHeight) {
  const int growth = naturalHeight + kShowPaneExtra;
  StackRect grown = window;
  if (window.top - growth < 0) {
    grown.bottom += growth;
  } else {
    grown.top -= growth;
  }
  return grown;
}

StackRect ShrinkForHiddenPane(const StackRect& window, int paneHeight) {
  StackRect shrunk = window;
  shrunk.top = std::min(window.bottom, window.top + paneHeight + kSplitterHeight);
  return shrunk;
}

int SplitterAt(const PaneStack& stack, int x, int y) {
  for (size_t i = 0; i < stack.splitters.size(); ++i) {
    const StackRect& splitter = stack.splitters[i];
    if (x >= splitter.left && x < splitter.right && y >= splitter.top && y < splitter.bottom) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void DragSplitter(PaneStack& stack, int index, int pointerY, int clientHeight) {
  if (index < 0 || static_cast<size_t>(index) + 1 >= stack.panes.size()) return;
  StackedPane& upper = stack.panes[index];
  StackedPane& lower = stack.panes[index + 1];
  const int highest = upper.rect.top + 1;
  const int lowest = lower.rect.bottom - 3;
  if (lowest < highest) return;
  const int y = std::clamp(pointerY, highest, lowest);
  StackRect& splitter = stack.splitters[index];
  splitter.top = y;
  splitter.bottom = y + kSplitterHeight;
  upper.rect.bottom = splitter.top;
  lower.rect.top = splitter.bottom;
  upper.share = ShareOf(upper.rect.Height(), clientHeight);
  lower.share = ShareOf(lower.rect.Height(), clientHeight);
}

}  // namespace veltrano
