// Stopwatch figures.
#include "view/stopwatch.h"

#include <algorithm>

#include "core/text.h"
#include "reports/value_format.h"

namespace veltrano {

void Stopwatch::Start(std::uint64_t sampleCount) {
  *this = Stopwatch();
  counted_ = sampleCount;
  running_ = true;
}

std::string Stopwatch::ClockText() const {
  return StringPrintf("%02d : %02d : %02d", static_cast<int>(elapsed_ / 3600), static_cast<int>(elapsed_ / 60 % 60),
                      static_cast<int>(elapsed_ % 60));
}

void Stopwatch::Update(const RateHistory& history, std::uint64_t sampleCount) {
  const std::uint64_t fresh = sampleCount >= counted_ ? sampleCount - counted_ : sampleCount;
  const size_t walk = static_cast<size_t>(std::min<std::uint64_t>(fresh, history.size()));
  for (size_t i = 0; i < walk; ++i) Add(history[history.size() - 1 - i]);
  counted_ = sampleCount;
}

void Stopwatch::Add(const RateSample& sample) {
  totalDown_ += sample.received;
  totalUp_ += sample.sent;
  ++samples_;
  maxDown_ = std::max(maxDown_, sample.received);
  maxUp_ = std::max(maxUp_, sample.sent);
  if (!minSet_) {
    minDown_ = sample.received;
    minUp_ = sample.sent;
    minSet_ = true;
  } else {
    minDown_ = std::min(minDown_, sample.received);
    minUp_ = std::min(minUp_, sample.sent);
  }
  avgDown_ = static_cast<std::uint32_t>(totalDown_ / samples_);
  avgUp_ = static_cast<std::uint32_t>(totalUp_ / samples_);
}

StopwatchTexts Stopwatch::Display(bool unitBytes) const {
  StopwatchTexts texts;
  texts.totalDown = FormatVolume(static_cast<std::int64_t>(totalDown_), true);
  texts.totalUp = FormatVolume(static_cast<std::int64_t>(totalUp_), true);
  texts.bitsDown = FormatVolume(static_cast<std::int64_t>(totalDown_), false);
  texts.bitsUp = FormatVolume(static_cast<std::int64_t>(totalUp_), false);
  texts.maxDown = FormatRate(maxDown_, unitBytes);
  texts.maxUp = FormatRate(maxUp_, unitBytes);
  texts.minDown = FormatRate(minSet_ ? minDown_ : 0, unitBytes);
  texts.minUp = FormatRate(minSet_ ? minUp_ : 0, unitBytes);
  texts.avgDown = FormatRate(avgDown_, unitBytes);
  texts.avgUp = FormatRate(avgUp_, unitBytes);
  return texts;
}

}  // namespace veltrano
