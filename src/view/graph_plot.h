// The geometry of what a pane plots: column rectangles, line graph points and scale grid rows,
// computed from the history newest first and only as far as the plot reaches.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/adapter_entry.h"
#include "view/graph_layout.h"

namespace veltrano {

enum class ColumnColour { kDown, kUp, kBoth };

struct ColumnFill {
  PaneRect rect;
  ColumnColour colour;
};

struct PlotPoint {
  int x = 0;
  int y = 0;
};

struct PlotGeometry {
  PaneRect plot;
  int maxBarHeight = 0;
  std::uint32_t scaleMax = 0;
  int columnWidth = 3;
  int columnSpace = 1;
};

// The column graph: the overlap of download and upload in the both colour, the excess of the
// larger one in its own colour, nothing for a sample of 0 and 0.
void ColumnFills(const RateHistory& history, const PlotGeometry& geometry, std::vector<ColumnFill>& fills);

// Which value of a sample a polyline follows.
enum class LineValue { kDown, kUp, kAvgDown, kAvgUp };

// A polyline of the line graph (or an average line): the newest point at plot.right - 1, older
// samples one pitch further left while x >= plot.left.
void LinePoints(const RateHistory& history, const PlotGeometry& geometry, LineValue value,
                std::vector<PlotPoint>& points);

// y of each horizontal scale grid line, lined up with the scale ticks.
void ScaleGridRows(const PaneLayout& layout, int scaleFontHeight, std::vector<int>& ys);

}  // namespace veltrano
