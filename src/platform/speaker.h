// The PC speaker: a tone of a frequency for a duration, returning when it has sounded.
#pragma once

namespace veltrano {

class Speaker {
 public:
  virtual ~Speaker() = default;
  virtual void Beep(unsigned frequencyHz, unsigned durationMs) = 0;
};

}  // namespace veltrano
