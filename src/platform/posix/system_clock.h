// Local time from the C library.
#pragma once

#include "platform/clock.h"

namespace veltrano {

class SystemClock : public Clock {
 public:
  LocalTime Now() override;
};

}  // namespace veltrano
