// The vertical time grid that scrolls with the columns, and the texts of its time labels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/local_time.h"

namespace veltrano {

class TimeGrid {
 public:
  // interval in seconds (samples), width and space of a column in pixels.
  void Reset(int interval, int columnWidth, int columnSpace);
  // One sample arrived: the lines move left by one column.
  void Advance(int interval, int columnWidth, int columnSpace);

  int Offset() const { return offset_; }
  int Phase() const { return phase_; }
  int OffsetMax() const { return offsetMax_; }

  // x of every grid line (and time label) in a plot spanning (left, right), newest first:
  // right - offset, then one interval of columns further left while x > left.
  void Lines(int left, int right, int interval, int columnWidth, int columnSpace, std::vector<int>& xs) const;

 private:
  int offset_ = 0;
  int phase_ = 0;
  int offsetMax_ = 0;
};

// Whether the locale's time format indicator ("0" 12-hour, "1" 24-hour) asks for a 12-hour clock;
// an indicator that could not be read counts as 12-hour.
bool Use12HourClock(const std::string* indicator);

// "%d:%02d:%02d" (format 0), "%d:%02d" (1) or "%02d:%02d" (2, minutes and seconds); the hour is
// taken modulo 12 on a 12-hour clock.
std::string FormatTimeLabel(const LocalTime& time, int format, bool use12Hour);

// The local calendar time the given number of seconds earlier.
LocalTime SecondsBefore(const LocalTime& time, std::int64_t seconds);

}  // namespace veltrano
