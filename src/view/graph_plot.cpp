// Column and line graph geometry.
#include "view/graph_plot.h"

#include <algorithm>

#include "view/graph_scale.h"

namespace veltrano {
namespace {

long long Pitch(const PlotGeometry& geometry) {
  return std::max(1LL, static_cast<long long>(geometry.columnWidth) + geometry.columnSpace);
}

std::uint32_t Value(const RateSample& sample, LineValue value) {
  switch (value) {
    case LineValue::kDown:
      return sample.received;
    case LineValue::kUp:
      return sample.sent;
    case LineValue::kAvgDown:
      return sample.averageReceived;
    case LineValue::kAvgUp:
      return sample.averageSent;
  }
  return 0;
}

}  // namespace

void ColumnFills(const RateHistory& history, const PlotGeometry& geometry, std::vector<ColumnFill>& fills) {
  fills.clear();
  const PaneRect& plot = geometry.plot;
  if (plot.Empty() || geometry.scaleMax == 0 || geometry.maxBarHeight <= 0) return;
  const int bottom = plot.bottom;
  long long x = plot.right;
  for (auto it = history.rbegin(); it != history.rend() && x > plot.left; ++it, x -= Pitch(geometry)) {
    const int right = static_cast<int>(x);
    const int left = static_cast<int>(std::max<long long>(x - geometry.columnWidth, plot.left));
    const int d = BarHeight(it->received, geometry.scaleMax, geometry.maxBarHeight);
    const int u = BarHeight(it->sent, geometry.scaleMax, geometry.maxBarHeight);
    const int overlap = std::min(d, u);
    if (overlap > 0) fills.push_back({{left, bottom - overlap, right, bottom}, ColumnColour::kBoth});
    if (d > u) fills.push_back({{left, bottom - d, right, bottom - u}, ColumnColour::kDown});
    if (u > d) fills.push_back({{left, bottom - u, right, bottom - d}, ColumnColour::kUp});
  }
}

void LinePoints(const RateHistory& history, const PlotGeometry& geometry, LineValue value,
                std::vector<PlotPoint>& points) {
  points.clear();
  const PaneRect& plot = geometry.plot;
  if (plot.Empty()) return;
  const int height = geometry.maxBarHeight - 1;
  long long x = plot.right - 1;
  for (auto it = history.rbegin(); it != history.rend() && x >= plot.left; ++it, x -= Pitch(geometry)) {
    points.push_back({static_cast<int>(x), plot.bottom - 1 - BarHeight(Value(*it, value), geometry.scaleMax, height)});
  }
}

void ScaleGridRows(const PaneLayout& layout, int scaleFontHeight, std::vector<int>& ys) {
  ys.clear();
  const PaneRect& plot = layout.plotRect;
  if (plot.Empty()) return;
  for (int k = 0; k < layout.scaleLineCount; ++k) {
    const int y = plot.top + scaleFontHeight / 2 + k * layout.scaleLineSpacing;
    if (y >= plot.bottom) break;
    ys.push_back(y);
  }
}

}  // namespace veltrano
