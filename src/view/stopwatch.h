// The stopwatch's measurement: the samples the sampler added to one adapter's rate history since
// the start, summed into totals, maximum, minimum and average rates, and the texts it shows.
#pragma once

#include <cstdint>
#include <string>

#include "engine/adapter_entry.h"

namespace veltrano {

struct StopwatchTexts {
  std::string totalDown, totalUp;  // bytes
  std::string bitsDown, bitsUp;    // the same totals in bits
  std::string maxDown, maxUp;
  std::string minDown, minUp;  // 0 while unset
  std::string avgDown, avgUp;
};

class Stopwatch {
 public:
  // Resets every figure and counts from the history's next sample on. `sampleCount` is the
  // row's count of samples since its rates were last reset.
  void Start(std::uint64_t sampleCount);
  void Stop() { running_ = false; }
  bool Running() const { return running_; }

  // One second of the stopwatch's own clock.
  void Tick() { ++elapsed_; }
  std::uint32_t Elapsed() const { return elapsed_; }
  // "00 : 00 : 00": hours, minutes, seconds.
  std::string ClockText() const;

  // Counts the samples added since the last update, newest first. A count below the one
  // remembered means the rates were reset meanwhile: what was counted stays, and the samples
  // since the reset are counted.
  void Update(const RateHistory& history, std::uint64_t sampleCount);
  // Counts one sample.
  void Add(const RateSample& sample);

  StopwatchTexts Display(bool unitBytes) const;

  std::uint64_t TotalDown() const { return totalDown_; }
  std::uint64_t TotalUp() const { return totalUp_; }
  std::uint32_t Samples() const { return samples_; }

 private:
  bool running_ = false;
  std::uint32_t elapsed_ = 0;
  std::uint64_t counted_ = 0;
  std::uint64_t totalDown_ = 0, totalUp_ = 0;
  std::uint32_t samples_ = 0;
  std::uint32_t maxDown_ = 0, maxUp_ = 0;
  bool minSet_ = false;
  std::uint32_t minDown_ = 0, minUp_ = 0;
  std::uint32_t avgDown_ = 0, avgUp_ = 0;
};

}  // namespace veltrano
