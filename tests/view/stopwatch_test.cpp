#include "view/stopwatch.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

// Appends samples as the sampler does: newest at the back, the row's count going up.
struct Row {
  RateHistory history;
  std::uint64_t count = 0;
  void Add(std::uint32_t down, std::uint32_t up) {
    RateSample sample;
    sample.received = down;
    sample.sent = up;
    history.push_back(sample);
    ++count;
  }
};

TEST(Stopwatch, CountsOnlyTheSamplesAddedSinceTheStart) {
  Row row;
  row.Add(999999, 999999);  // before the start
  Stopwatch watch;
  watch.Start(row.count);
  row.Add(100, 5);
  watch.Update(row.history, row.count);
  row.Add(50, 10);
  row.Add(80, 1);
  watch.Update(row.history, row.count);
  watch.Update(row.history, row.count);  // nothing new
  EXPECT_EQ(watch.Samples(), 3u);
  const StopwatchTexts texts = watch.Display(true);
  EXPECT_EQ(texts.totalDown, "230 B");
  EXPECT_EQ(texts.totalUp, "16 B");
  EXPECT_EQ(texts.bitsDown, "1.8 kb");
  EXPECT_EQ(texts.bitsUp, "128 b");
  EXPECT_EQ(texts.maxDown, "100 B/s");
  EXPECT_EQ(texts.maxUp, "10 B/s");
  EXPECT_EQ(texts.minDown, "50 B/s");
  EXPECT_EQ(texts.minUp, "1 B/s");
  EXPECT_EQ(texts.avgDown, "76 B/s");
  EXPECT_EQ(texts.avgUp, "5 B/s");
  EXPECT_EQ(watch.Display(false).maxDown, "800 bps");
}

TEST(Stopwatch, UnsetMinimaShowZeroAndBothMinimaMoveTogether) {
  Row row;
  Stopwatch watch;
  watch.Start(row.count);
  watch.Stop();
  EXPECT_EQ(watch.Display(true).minDown, "0 B/s");
  EXPECT_EQ(watch.Display(true).avgUp, "0 B/s");
  watch.Start(row.count);
  row.Add(100, 10);
  row.Add(50, 5);
  watch.Update(row.history, row.count);
  EXPECT_EQ(watch.Display(true).minDown, "50 B/s");
  EXPECT_EQ(watch.Display(true).minUp, "5 B/s");
}

TEST(Stopwatch, ARatesResetKeepsWhatWasCountedAndCountsTheNewSamples) {
  Row row;
  for (int i = 0; i < 5; ++i) row.Add(1, 1);
  Stopwatch watch;
  watch.Start(row.count);
  row.Add(10, 0);
  row.Add(10, 0);
  watch.Update(row.history, row.count);
  row = Row();  // the main window's "Reset Rates"
  row.Add(7, 0);
  watch.Update(row.history, row.count);
  EXPECT_EQ(watch.TotalDown(), 27u);
  EXPECT_EQ(watch.Samples(), 3u);
}

TEST(Stopwatch, TheClockShowsHoursMinutesAndSeconds) {
  Stopwatch watch;
  EXPECT_EQ(watch.ClockText(), "00 : 00 : 00");
  for (int i = 0; i < 3725; ++i) watch.Tick();
  EXPECT_EQ(watch.ClockText(), "01 : 02 : 05");
  watch.Start(0);
  EXPECT_EQ(watch.Elapsed(), 0u);
}

}  // namespace
}  // namespace veltrano
