#include "view/graph_canvas.h"

#include <gtest/gtest.h>

#include <vector>

namespace veltrano {
namespace {

// A canvas with a guard band of pixels around it that no drawing may touch.
class GuardedCanvas {
 public:
  static constexpr std::uint32_t kGuard = 0xA5A5A5A5;
  GuardedCanvas(int width, int height)
      : width_(width), height_(height), memory_(static_cast<size_t>(width) * height + 2 * kSlack, kGuard) {
    std::fill(memory_.begin() + kSlack, memory_.end() - kSlack, 0u);
    canvas.Attach(memory_.data() + kSlack, width, height);
  }
  bool GuardsIntact() const {
    for (size_t i = 0; i < kSlack; ++i) {
      if (memory_[i] != kGuard || memory_[memory_.size() - 1 - i] != kGuard) return false;
    }
    return true;
  }
  int Count(std::uint32_t colour) const {
    int count = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) count += canvas.At(x, y) == colour;
    return count;
  }

  PixelCanvas canvas;

 private:
  static constexpr size_t kSlack = 64;
  int width_;
  int height_;
  std::vector<std::uint32_t> memory_;
};

TEST(PixelCanvas, FillsHalfOpenRectanglesInTheDibsByteOrder) {
  GuardedCanvas guarded(10, 6);
  guarded.canvas.Fill({2, 1, 5, 3}, 0x0000FF);
  EXPECT_EQ(guarded.Count(0x0000FF), 6);
  EXPECT_EQ(guarded.canvas.At(2, 1), 0x0000FFu);
  EXPECT_EQ(guarded.canvas.At(5, 1), 0u);
  EXPECT_EQ(guarded.canvas.At(4, 3), 0u);
}

TEST(PixelCanvas, OutlinesStayInsideTheRectangle) {
  GuardedCanvas guarded(10, 6);
  guarded.canvas.Outline({0, 0, 10, 6}, 0x333333);
  EXPECT_EQ(guarded.Count(0x333333), 2 * 10 + 2 * 4);
  EXPECT_EQ(guarded.canvas.At(9, 5), 0x333333u);
  EXPECT_EQ(guarded.canvas.At(1, 1), 0u);
}

TEST(PixelCanvas, PenStylesFollowTheCosmeticPatterns) {
  GuardedCanvas guarded(48, 5);
  guarded.canvas.HorizontalLine(0, 48, 0, 0x111111, 0);
  guarded.canvas.HorizontalLine(0, 48, 1, 0x222222, 1);
  guarded.canvas.HorizontalLine(0, 48, 2, 0x333333, 2);
  guarded.canvas.HorizontalLine(0, 48, 3, 0x444444, 3);
  guarded.canvas.HorizontalLine(0, 48, 4, 0x555555, 4);
  EXPECT_EQ(guarded.Count(0x111111), 48);
  EXPECT_EQ(guarded.Count(0x222222), 36);  // 18 on, 6 off
  EXPECT_EQ(guarded.Count(0x333333), 24);  // 3 on, 3 off
  EXPECT_EQ(guarded.canvas.At(2, 2), 0x333333u);
  EXPECT_EQ(guarded.canvas.At(3, 2), 0u);
  EXPECT_EQ(guarded.Count(0x444444), 24);
  EXPECT_EQ(guarded.Count(0x555555), 30);
}

TEST(PixelCanvas, LinesLeaveOutTheirEndPointInEitherDirection) {
  GuardedCanvas guarded(8, 8);
  guarded.canvas.VerticalLine(3, 1, 5, 0xABCDEF);
  guarded.canvas.VerticalLine(5, 6, 2, 0x123456);
  EXPECT_EQ(guarded.canvas.At(3, 4), 0xABCDEFu);
  EXPECT_EQ(guarded.canvas.At(3, 5), 0u);
  EXPECT_EQ(guarded.canvas.At(5, 6), 0x123456u);
  EXPECT_EQ(guarded.canvas.At(5, 2), 0u);
  EXPECT_EQ(guarded.Count(0x123456), 4);
}

TEST(PixelCanvas, NothingOutsideTheBufferIsEverWritten) {
  for (const auto& size : {std::pair<int, int>{0, 0}, {1, 1}, {5000, 3}, {3, 50}}) {
    GuardedCanvas guarded(size.first, size.second);
    PixelCanvas& canvas = guarded.canvas;
    canvas.Fill({-10, -10, 6000, 6000}, 1);
    canvas.Outline({-1, -1, 6000, 4}, 2);
    canvas.HorizontalLine(-50, 7000, 2, 3, 2);
    canvas.HorizontalLine(7000, -50, -1, 3);
    canvas.VerticalLine(2, -40, 9000, 4, 1);
    canvas.VerticalLine(-1, 0, 10, 4);
    PixelCanvas::Snapshot snapshot;
    canvas.Save({-5, -5, 9000, 9000}, snapshot);
    canvas.Restore(snapshot);
    EXPECT_TRUE(guarded.GuardsIntact()) << size.first << "x" << size.second;
  }
  PixelCanvas detached;
  detached.Fill({0, 0, 10, 10}, 1);
  detached.HorizontalLine(0, 10, 0, 1);
}

TEST(PixelCanvas, PolylinesDrawEveryPointButTheLastWithoutGaps) {
  GuardedCanvas guarded(20, 12);
  const std::vector<PlotPoint> points{{19, 11}, {15, 2}, {11, 2}, {7, 9}, {3, 9}};
  guarded.canvas.Polyline(points, 0x0000FF);
  for (size_t i = 0; i + 1 < points.size(); ++i) EXPECT_EQ(guarded.canvas.At(points[i].x, points[i].y), 0x0000FFu) << i;
  EXPECT_EQ(guarded.canvas.At(3, 9), 0u);
  // A steep segment is one pixel per row, a flat one one pixel per column.
  for (int y = 3; y < 11; ++y) {
    int inRow = 0;
    for (int x = 15; x <= 19; ++x) inRow += guarded.canvas.At(x, y) == 0x0000FF;
    EXPECT_EQ(inRow, 1) << "row " << y;
  }
  EXPECT_EQ(guarded.Count(0x0000FF), 9 + 4 + 7 + 4);
  guarded.canvas.Polyline({{-30, -30}, {40, 40}, {40, -9}}, 0x00FF00);
  EXPECT_TRUE(guarded.GuardsIntact());
}

TEST(PixelCanvas, ASnapshotPutsBackExactlyWhatWasThere) {
  GuardedCanvas guarded(20, 10);
  PixelCanvas& canvas = guarded.canvas;
  canvas.Fill({0, 0, 20, 10}, 0xDEDBAD);
  canvas.Fill({4, 2, 9, 7}, 0x00FFFF);
  PixelCanvas::Snapshot snapshot;
  canvas.Save({3, 1, 10, 8}, snapshot);
  canvas.Fill({0, 0, 20, 10}, 0);
  canvas.Restore(snapshot);
  EXPECT_EQ(guarded.Count(0x00FFFF), 25);
  EXPECT_EQ(guarded.Count(0xDEDBAD), 7 * 7 - 25);
  EXPECT_EQ(canvas.At(2, 1), 0u);

  PixelCanvas other;
  std::vector<std::uint32_t> small(4 * 4);
  other.Attach(small.data(), 4, 4);
  other.Restore(snapshot);  // from a larger canvas: refused rather than written past the end
  EXPECT_EQ(other.At(3, 3), 0u);
}

}  // namespace
}  // namespace veltrano
