#include "view/graph_plot.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

PlotGeometry Plot() {
  return {{62, 17, 299, 123}, 100, 1000, 3, 1};
}

TEST(ColumnGraph, DrawsTheOverlapInTheBothColourAndOnlyTheExcessInItsOwn) {
  const RateHistory history{{500, 200, 0, 0}, {200, 500, 0, 0}, {300, 300, 0, 0}, {0, 0, 0, 0}};
  std::vector<ColumnFill> fills;
  ColumnFills(history, Plot(), fills);
  ASSERT_EQ(fills.size(), 5u);
  // Newest first; 0/0 draws nothing at x = 299.
  EXPECT_EQ(fills[0].rect, (PaneRect{292, 93, 295, 123}));
  EXPECT_EQ(fills[0].colour, ColumnColour::kBoth);
  EXPECT_EQ(fills[1].rect, (PaneRect{288, 103, 291, 123}));
  EXPECT_EQ(fills[1].colour, ColumnColour::kBoth);
  EXPECT_EQ(fills[2].rect, (PaneRect{288, 73, 291, 103}));
  EXPECT_EQ(fills[2].colour, ColumnColour::kUp);
  EXPECT_EQ(fills[3].colour, ColumnColour::kBoth);
  EXPECT_EQ(fills[4].rect, (PaneRect{284, 73, 287, 103}));
  EXPECT_EQ(fills[4].colour, ColumnColour::kDown);
}

TEST(ColumnGraph, StopsAtThePlotsLeftEdgeAndClipsThePartialColumn) {
  RateHistory history(100, RateSample{1000, 0, 0, 0});
  PlotGeometry geometry = Plot();
  geometry.plot = {10, 0, 20, 50};  // 10 pixels: columns at 20, 16 and a 2-pixel one at 12
  std::vector<ColumnFill> fills;
  ColumnFills(history, geometry, fills);
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_EQ(fills[2].rect, (PaneRect{10, -50, 12, 50}));
  EXPECT_EQ(fills[0].rect.top, 50 - 100);
}

TEST(ColumnGraph, DrawsNothingWithoutAScaleOrBarHeight) {
  const RateHistory history{{500, 200, 0, 0}};
  std::vector<ColumnFill> fills;
  PlotGeometry geometry = Plot();
  geometry.scaleMax = 0;
  ColumnFills(history, geometry, fills);
  EXPECT_TRUE(fills.empty());
  geometry = Plot();
  geometry.maxBarHeight = 0;
  ColumnFills(history, geometry, fills);
  EXPECT_TRUE(fills.empty());
}

TEST(LineGraph, PlotsFromTheRightEdgeWithOnePixelLessHeight) {
  const RateHistory history{{1000, 0, 0, 0}, {500, 0, 0, 0}, {0, 2000, 0, 0}};
  std::vector<PlotPoint> points;
  LinePoints(history, Plot(), LineValue::kDown, points);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].x, 298);
  EXPECT_EQ(points[0].y, 122);
  EXPECT_EQ(points[1].x, 294);
  EXPECT_EQ(points[1].y, 122 - 49);  // 500 / 1000 of 99
  EXPECT_EQ(points[2].y, 122 - 99);
  LinePoints(history, Plot(), LineValue::kUp, points);
  EXPECT_EQ(points[0].y, 122 - 99);  // capped at 99
}

TEST(LineGraph, KeepsPointsOnOrRightOfThePlotsLeftEdge) {
  RateHistory history(100, RateSample{0, 0, 7, 7});
  PlotGeometry geometry = Plot();
  geometry.plot = {10, 0, 20, 50};
  std::vector<PlotPoint> points;
  LinePoints(history, geometry, LineValue::kAvgUp, points);
  ASSERT_EQ(points.size(), 3u);  // 19, 15, 11
  EXPECT_EQ(points.back().x, 11);
}

TEST(ScaleGrid, RowsLineUpWithTheTicksAndStayInThePlot) {
  PaneLayout layout;
  layout.plotRect = {62, 17, 299, 123};
  layout.scaleLineCount = 6;
  layout.scaleLineSpacing = 16;
  std::vector<int> ys;
  ScaleGridRows(layout, 12, ys);
  EXPECT_EQ(ys, (std::vector<int>{23, 39, 55, 71, 87, 103}));
  layout.plotRect.bottom = 60;
  ScaleGridRows(layout, 12, ys);
  EXPECT_EQ(ys, (std::vector<int>{23, 39, 55}));
}

}  // namespace
}  // namespace veltrano
