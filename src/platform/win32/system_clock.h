// Local time from GetLocalTime.
#pragma once

#include "platform/clock.h"

namespace veltrano {

class SystemClock : public Clock {
 public:
  LocalTime Now() override;
};

}  // namespace veltrano
