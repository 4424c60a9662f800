// Local time, always taken through this seam so that tests can run any date and hour.
#pragma once

#include "core/local_time.h"

namespace veltrano {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
};

}  // namespace veltrano
