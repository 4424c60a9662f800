// The rate a pane draws at full bar height (fixed, or the largest visible value) and the largest
// visible rate shown as "Max", kept up to date one sample at a time.
#pragma once

#include <cstdint>

#include "engine/adapter_entry.h"

namespace veltrano {

// scaleMax of an adapter's ConnRatebps when it fixes the scale (0 means automatic).
std::uint32_t FixedScaleFromConnRate(std::uint32_t connRateBps);

// Bar height of a rate: rate / scaleMax of maxBarHeight, truncated and capped; 0 without a scale.
int BarHeight(std::uint32_t rate, std::uint32_t scaleMax, int maxBarHeight);

class GraphScale {
 public:
  struct Options {
    int columnCount = 0;
    bool avgDownLine = false;  // the averages count towards the automatic scale when drawn
    bool avgUpLine = false;
  };

  bool Fixed() const { return fixed_; }
  std::uint32_t ScaleMax() const { return scaleMax_; }
  std::uint32_t VisibleMax() const { return visibleMax_; }

  // Fixed: scaleMax = bytesPerSecond, at least 1. Automatic: recomputed from the history.
  void Set(bool fixed, std::uint32_t bytesPerSecond, const RateHistory& history, const Options& options);
  // Rescans the first columnCount samples, newest first.
  void Recompute(const RateHistory& history, const Options& options);
  // sample has just been put at the newest end of history.
  void Add(const RateSample& sample, const RateHistory& history, const Options& options);

 private:
  bool fixed_ = false;
  std::uint32_t scaleMax_ = 0;
  std::uint32_t visibleMax_ = 0;
};

}  // namespace veltrano
