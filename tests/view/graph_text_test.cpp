#include "view/graph_text.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(RateText, PlainFormJoinsMaxAndRatesWithTwoSpaces) {
  const RateSample newest{124, 0, 1250, 125};
  EXPECT_EQ(PlainRateText(RateTextParts(newest, 125, {true, false, false})),
            "(Max: 1.00 kbps)  Down: 992 bps  Up: 0 bps");
  EXPECT_EQ(PlainRateText(RateTextParts(newest, 125, {false, true, false})), "Avg Down: 10.0 kbps  Avg Up: 1.00 kbps");
  EXPECT_EQ(PlainRateText(RateTextParts(newest, 10240, {true, false, true})),
            "(Max: 10.0 KB/s)  Down: 124 B/s  Up: 0 B/s");
}

TEST(RateText, ColouredPiecesKeepMaxDownAndUpApart) {
  const RateTextPieces pieces = RateTextParts({1000, 999, 0, 0}, 1000, {true, false, true});
  EXPECT_EQ(pieces.max, "(Max: 0.98 KB/s)");
  EXPECT_EQ(pieces.down, "Down: 0.98 KB/s");
  EXPECT_EQ(pieces.up, "Up: 999 B/s");
  EXPECT_TRUE(RateTextParts({}, 0, {false, false, true}).max.empty());
}

TEST(RateText, ColouredFormIsCentredAndMayStartLeftOfTheBand) {
  EXPECT_EQ(ColouredRateTextStart(3, 294, 200, 4, true), 3 + (294 - 200 - 16) / 2);
  EXPECT_EQ(ColouredRateTextStart(3, 294, 200, 4, false), 3 + (294 - 200 - 8) / 2);
  EXPECT_EQ(ColouredRateTextStart(3, 94, 200, 4, true), 3 + (94 - 216) / 2);
  EXPECT_LT(ColouredRateTextStart(3, 94, 200, 4, true), 3);
}

PaneLayout ScaleLayout(int maxBarHeight) {
  PaneLayout layout;
  layout.scaleRect = {1, 17, 61, 123};
  layout.scaleLineCount = 6;
  layout.scaleLineSpacing = 16;
  layout.maxBarHeight = maxBarHeight;
  return layout;
}

TEST(ScaleLabels, TickEveryLineAndReadTheRateAtItsHeight) {
  std::vector<ScaleLabel> labels;
  ScaleLabels(ScaleLayout(100), 12, 125000, labels);
  ASSERT_EQ(labels.size(), 6u);
  EXPECT_EQ(labels[0].y, 23);
  EXPECT_EQ(labels[5].y, 23 + 5 * 16);
  EXPECT_TRUE(labels[0].tick);
  EXPECT_EQ(labels[0].value, 125000u);  // 100 pixels above the bottom = full bar height
  EXPECT_EQ(labels[5].value, static_cast<std::uint32_t>(125000.0 / 100 * 20));
  EXPECT_EQ(labels[0].textRect, (PaneRect{2, 17, 57, 29}));
  EXPECT_EQ(labels[5].textRect.bottom, 109);
}

TEST(ScaleLabels, AtHalfHeightTheTopReadsAboutTwiceTheScale) {
  std::vector<ScaleLabel> labels;
  ScaleLabels(ScaleLayout(53), 12, 125000, labels);
  EXPECT_EQ(labels[0].value, 235849u);  // 100 of 53 pixels
  ScaleLabels(ScaleLayout(53), 12, 0xFFFFFFFF, labels);
  EXPECT_EQ(labels[0].value, 0xFFFFFFFFu);  // beyond 32 bits stays at the largest rate
}

TEST(ScaleLabels, ReadZeroWithoutScaleAndBelowTheScaleColumn) {
  std::vector<ScaleLabel> labels;
  ScaleLabels(ScaleLayout(100), 12, 0, labels);
  for (const ScaleLabel& label : labels) EXPECT_EQ(label.value, 0u);

  PaneLayout low = ScaleLayout(100);
  low.scaleRect = {1, 17, 61, 40};
  low.scaleLineCount = 3;
  low.scaleLineSpacing = 20;
  ScaleLabels(low, 12, 125000, labels);
  ASSERT_EQ(labels.size(), 3u);
  EXPECT_FALSE(labels[2].tick);  // y = 63 lies below the column
  EXPECT_EQ(labels[2].value, 0u);
  EXPECT_EQ(labels[2].textRect.bottom, 40);

  ScaleLabels(ScaleLayout(0), 12, 125000, labels);
  EXPECT_TRUE(labels.empty());
}

}  // namespace
}  // namespace veltrano
