#include "view/graph_scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace veltrano {
namespace {

RateSample Sample(std::uint32_t down, std::uint32_t up, std::uint32_t avgDown = 0, std::uint32_t avgUp = 0) {
  return {down, up, avgDown, avgUp};
}

struct Feed {
  RateHistory history;
  GraphScale scale;
  GraphScale::Options options;

  void Add(const RateSample& sample) {
    history.push_back(sample);
    scale.Add(sample, history, options);
  }
};

TEST(FixedScale, IsAnEighthOfTheConnectionBitRateAndNeverZero) {
  EXPECT_EQ(FixedScaleFromConnRate(1000000), 125000u);
  EXPECT_EQ(FixedScaleFromConnRate(7), 1u);
  EXPECT_EQ(FixedScaleFromConnRate(0xFFFFFFFF), 0x1FFFFFFFu);
}

TEST(BarHeight, ScalesTruncatesAndCaps) {
  EXPECT_EQ(BarHeight(125000, 125000, 100), 100);
  EXPECT_EQ(BarHeight(250000, 125000, 100), 100);  // twice the fixed scale is capped
  EXPECT_EQ(BarHeight(62499, 125000, 100), 49);
  EXPECT_EQ(BarHeight(1, 125000, 100), 0);
  EXPECT_EQ(BarHeight(0xFFFFFFFF, 1, 100), 100);
  EXPECT_EQ(BarHeight(5, 0, 100), 0);  // no scale yet
  EXPECT_EQ(BarHeight(5, 5, 0), 0);
}

TEST(GraphScale, FixedScaleKeepsItsMaximumAndTracksTheVisibleOne) {
  Feed feed;
  feed.options.columnCount = 3;
  feed.scale.Set(true, 0, feed.history, feed.options);
  EXPECT_EQ(feed.scale.ScaleMax(), 1u);
  feed.scale.Set(true, 125000, feed.history, feed.options);
  feed.Add(Sample(900, 10));
  feed.Add(Sample(5, 300));
  feed.Add(Sample(1, 1));
  EXPECT_EQ(feed.scale.ScaleMax(), 125000u);
  EXPECT_EQ(feed.scale.VisibleMax(), 900u);
  feed.Add(Sample(2, 2));  // 900 scrolls out
  EXPECT_EQ(feed.scale.VisibleMax(), 300u);
  feed.Add(Sample(250000, 0));
  EXPECT_EQ(feed.scale.VisibleMax(), 250000u);
  EXPECT_EQ(feed.scale.ScaleMax(), 125000u);
}

TEST(GraphScale, AutomaticScaleGrowsAtOnceAndShrinksWhenItsMaximumLeavesTheView) {
  Feed feed;
  feed.options.columnCount = 2;
  feed.scale.Set(false, 0, feed.history, feed.options);
  EXPECT_EQ(feed.scale.ScaleMax(), 0u);
  feed.Add(Sample(0, 0));
  EXPECT_EQ(feed.scale.ScaleMax(), 0u);
  feed.Add(Sample(100, 700));
  EXPECT_EQ(feed.scale.ScaleMax(), 700u);
  feed.Add(Sample(50, 40));
  EXPECT_EQ(feed.scale.ScaleMax(), 700u);
  feed.Add(Sample(60, 10));  // 700 leaves the two visible columns
  EXPECT_EQ(feed.scale.ScaleMax(), 60u);
  EXPECT_EQ(feed.scale.VisibleMax(), 60u);
}

TEST(GraphScale, AverageLinesCountTowardsTheScaleOnlyWhenShown) {
  Feed feed;
  feed.options.columnCount = 5;
  feed.Add(Sample(10, 20, 500, 600));
  EXPECT_EQ(feed.scale.ScaleMax(), 20u);
  feed.options.avgUpLine = true;
  feed.scale.Recompute(feed.history, feed.options);
  EXPECT_EQ(feed.scale.ScaleMax(), 600u);
  EXPECT_EQ(feed.scale.VisibleMax(), 20u);  // "Max" is a rate, never an average
}

// Whatever arrives, the incremental upkeep must agree with a rescan of the visible samples.
TEST(GraphScale, IncrementalUpkeepMatchesARescanOnRandomTraffic) {
  for (int variant = 0; variant < 6; ++variant) {
    std::mt19937 random(variant);
    Feed feed;
    feed.options.columnCount = 7;
    feed.options.avgDownLine = variant & 1;
    feed.options.avgUpLine = variant & 2;
    const bool fixed = variant >= 4;
    feed.scale.Set(fixed, 5000, feed.history, feed.options);
    for (int i = 0; i < 2000; ++i) {
      // Few distinct values, so that ties with the maximum are common.
      const auto value = [&] { return static_cast<std::uint32_t>(random() % 6) * 1000; };
      feed.Add(Sample(value(), value(), value(), value()));
      GraphScale rescan;
      rescan.Set(fixed, 5000, feed.history, feed.options);
      ASSERT_EQ(feed.scale.ScaleMax(), rescan.ScaleMax()) << "variant " << variant << " sample " << i;
      ASSERT_EQ(feed.scale.VisibleMax(), rescan.VisibleMax()) << "variant " << variant << " sample " << i;
    }
  }
}

}  // namespace
}  // namespace veltrano
