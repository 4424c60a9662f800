// The PC speaker through Beep(), which returns once the tone has sounded.
#pragma once

#include <windows.h>

#include "platform/speaker.h"

namespace veltrano {

class Win32Speaker : public Speaker {
 public:
  void Beep(unsigned frequencyHz, unsigned durationMs) override { ::Beep(frequencyHz, durationMs); }
};

}  // namespace veltrano
