// The tray miniature's lines in both styles.
#include "view/tray_miniature.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

RateHistory History(std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> downUp) {
  RateHistory history;
  for (const auto& [down, up] : downUp) history.push_back({down, up, 0, 0});
  return history;
}

TEST(TrayMiniature, NothingIsDrawnWithoutAScale) {
  const MiniatureDrawing drawing = DrawMiniature(History({{100, 100}}), 0, 1);
  EXPECT_TRUE(drawing.lines.empty());
  EXPECT_TRUE(DrawMiniature(History({{100, 100}}), 0, 0).upPolyline.empty());
}

TEST(TrayMiniature, AColumnStacksTheSmallerDirectionInTheBothPen) {
  // Down 100 of 100 is 14 pixels, up 50 is 7: both up to 7, then down to 14.
  const MiniatureDrawing drawing = DrawMiniature(History({{100, 50}}), 100, 1);
  ASSERT_EQ(drawing.lines.size(), 2u);
  EXPECT_EQ(drawing.lines[0].pen, MiniPen::kBoth);
  EXPECT_EQ(drawing.lines[0].from, (MiniPoint{14, 14}));
  EXPECT_EQ(drawing.lines[0].to, (MiniPoint{14, 7}));
  EXPECT_EQ(drawing.lines[1].pen, MiniPen::kDown);
  EXPECT_EQ(drawing.lines[1].to, (MiniPoint{14, 0}));
}

TEST(TrayMiniature, ColumnsOfOneDirectionEqualValuesAndCaps) {
  auto lines = DrawMiniature(History({{0, 30}}), 100, 1).lines;
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].pen, MiniPen::kUp);
  EXPECT_EQ(lines[0].to, (MiniPoint{14, 14 - 4}));  // 30 / 100 * 14 = 4.2

  lines = DrawMiniature(History({{50, 50}}), 100, 1).lines;
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].pen, MiniPen::kBoth);
  EXPECT_EQ(lines[0].to, (MiniPoint{14, 7}));

  lines = DrawMiniature(History({{500, 0}}), 100, 1).lines;
  EXPECT_EQ(lines.at(0).to, (MiniPoint{14, 0})) << "capped at 14";
  EXPECT_TRUE(DrawMiniature(History({{0, 0}}), 100, 1).lines.empty());
}

TEST(TrayMiniature, TheNewestFourteenSamplesRunFromXFourteenLeftwards) {
  RateHistory history;
  for (std::uint32_t i = 1; i <= 20; ++i) history.push_back({i, 0, 0, 0});
  const auto lines = DrawMiniature(history, 20, 1).lines;
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines.front().from.x, 14);
  EXPECT_EQ(lines.front().to.y, 0) << "newest sample is 20 of 20";
  EXPECT_EQ(lines.back().from.x, 1);
  EXPECT_EQ(lines.back().to.y, 14 - static_cast<int>(7.0 / 20 * 14));
}

TEST(TrayMiniature, LinesHaveFifteenPointsScaledToThirteen) {
  RateHistory history;
  for (std::uint32_t i = 0; i < 20; ++i) history.push_back({i, 2 * i, 0, 0});
  const MiniatureDrawing drawing = DrawMiniature(history, 38, 0);
  ASSERT_EQ(drawing.downPolyline.size(), 15u);
  ASSERT_EQ(drawing.upPolyline.size(), 15u);
  EXPECT_EQ(drawing.upPolyline.front(), (MiniPoint{14, 1}));         // 38 of 38 is 13 pixels
  EXPECT_EQ(drawing.downPolyline.front(), (MiniPoint{14, 14 - 6}));  // 19 / 38 * 13 = 6.5
  EXPECT_EQ(drawing.downPolyline.back().x, 0);
  EXPECT_TRUE(drawing.lines.empty());

  const MiniatureDrawing short_ = DrawMiniature(History({{1, 1}, {2, 2}}), 2, 0);
  EXPECT_EQ(short_.upPolyline.size(), 2u);
}

// At a larger icon size the miniature keeps one-pixel columns inside its frame: more seconds,
// taller columns.
TEST(TrayMiniature, ALargerIconShowsMoreAndTallerColumns) {
  RateHistory history;
  for (int i = 0; i < 40; ++i) history.push_back({100, 0, 0, 0});
  const auto lines = DrawMiniature(history, 100, 1, 24).lines;
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines.front().from, (MiniPoint{22, 22}));
  EXPECT_EQ(lines.front().to, (MiniPoint{22, 0}));
  EXPECT_EQ(lines.back().from.x, 1);
  EXPECT_EQ(DrawMiniature(history, 100, 0, 24).downPolyline.size(), 23u);
}

}  // namespace
}  // namespace veltrano
