#include "view/graph_time.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

LocalTime At(int hour, int minute, int second) {
  LocalTime time;
  time.year = 2026;
  time.month = 3;
  time.day = 14;
  time.hour = hour;
  time.minute = minute;
  time.second = second;
  return time;
}

TEST(TimeGrid, StartsOneIntervalOfColumnsFromTheRight) {
  TimeGrid grid;
  grid.Reset(30, 3, 1);
  EXPECT_EQ(grid.OffsetMax(), 119);
  EXPECT_EQ(grid.Offset(), 119);
  EXPECT_EQ(grid.Phase(), 29);
  std::vector<int> xs;
  grid.Lines(0, 400, 30, 3, 1, xs);
  EXPECT_EQ(xs, (std::vector<int>{281, 161, 41}));  // 120 pixels apart
}

// Line k must lie on the left edge of the column of the sample received phase + k * interval
// samples ago, whatever the pitch and interval.
TEST(TimeGrid, LinesScrollWithTheColumns) {
  const int shapes[][3] = {{30, 3, 1}, {5, 1, 0}, {7, 4, 3}, {1, 2, 2}};
  for (const auto& shape : shapes) {
    const int interval = shape[0], width = shape[1], space = shape[2], pitch = width + space;
    TimeGrid grid;
    grid.Reset(interval, width, space);
    const int right = 1000;
    for (int sample = 0; sample < 3 * interval + 5; ++sample) {
      grid.Advance(interval, width, space);
      std::vector<int> xs;
      grid.Lines(0, right, interval, width, space, xs);
      ASSERT_FALSE(xs.empty());
      for (size_t k = 0; k < xs.size(); ++k) {
        const int age = grid.Phase() + static_cast<int>(k) * interval;
        EXPECT_EQ(xs[k], right - age * pitch - width) << interval << "/" << width << "/" << space << " k " << k;
      }
    }
  }
}

TEST(TimeGrid, HugeIntervalsAndPitchesEndTheLoop) {
  TimeGrid grid;
  grid.Reset(2000000000, 1000000, 5);
  std::vector<int> xs;
  grid.Lines(0, 300, 2000000000, 1000000, 5, xs);
  EXPECT_TRUE(xs.empty());
  grid.Advance(2000000000, 1000000, 5);
  grid.Lines(0, 3000000, 2000000000, 1000000, 5, xs);
  EXPECT_EQ(xs, (std::vector<int>{2000000}));
}

TEST(TimeLabel, FollowsTheFormatAndTheClock) {
  EXPECT_EQ(FormatTimeLabel(At(13, 5, 7), 0, false), "13:05:07");
  EXPECT_EQ(FormatTimeLabel(At(13, 5, 7), 1, false), "13:05");
  EXPECT_EQ(FormatTimeLabel(At(13, 5, 7), 2, false), "05:07");
  EXPECT_EQ(FormatTimeLabel(At(13, 5, 0), 1, true), "1:05");
  EXPECT_EQ(FormatTimeLabel(At(12, 30, 0), 1, true), "0:30");
  EXPECT_EQ(FormatTimeLabel(At(0, 0, 9), 0, true), "0:00:09");
  EXPECT_EQ(FormatTimeLabel(At(9, 1, 2), 7, false), "9:01:02");
}

TEST(TimeLabel, TwelveHoursUnlessTheLocaleSaysTwentyFour) {
  const std::string twelve = "0", twentyFour = "1";
  EXPECT_TRUE(Use12HourClock(&twelve));
  EXPECT_FALSE(Use12HourClock(&twentyFour));
  EXPECT_TRUE(Use12HourClock(nullptr));
}

TEST(TimeLabel, CountsBackAcrossMidnightAndTheYear) {
  LocalTime newYear = At(0, 0, 10);
  newYear.month = 1;
  newYear.day = 1;
  const LocalTime before = SecondsBefore(newYear, 40);
  EXPECT_EQ(before.year, 2025);
  EXPECT_EQ(before.month, 12);
  EXPECT_EQ(before.day, 31);
  EXPECT_EQ(FormatTimeLabel(before, 0, false), "23:59:30");
  EXPECT_EQ(FormatTimeLabel(SecondsBefore(At(13, 5, 0), 3600 + 60), 0, false), "12:04:00");
}

}  // namespace
}  // namespace veltrano
