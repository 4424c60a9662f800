// Scale upkeep: a rescan only when the sample that just scrolled out could have been a maximum.
#include "view/graph_scale.h"

#include <algorithm>

namespace veltrano {
namespace {

std::uint32_t ScaleValue(const RateSample& sample, const GraphScale::Options& options) {
  std::uint32_t value = std::max(sample.received, sample.sent);
  if (options.avgDownLine) value = std::max(value, sample.averageReceived);
  if (options.avgUpLine) value = std::max(value, sample.averageSent);
  return value;
}

std::uint32_t Peak(const RateSample& sample) {
  return std::max(sample.received, sample.sent);
}

// The sample that has just left the plot, or null while the history still fits.
const RateSample* Departed(const RateHistory& history, int columnCount) {
  if (columnCount < 0 || history.size() <= static_cast<size_t>(columnCount)) return nullptr;
  return &history[history.size() - 1 - static_cast<size_t>(columnCount)];
}

}  // namespace

std::uint32_t FixedScaleFromConnRate(std::uint32_t connRateBps) {
  return std::max<std::uint32_t>(1, connRateBps / 8);
}

int BarHeight(std::uint32_t rate, std::uint32_t scaleMax, int maxBarHeight) {
  if (scaleMax == 0 || maxBarHeight <= 0) return 0;
  const double height = static_cast<double>(rate) / scaleMax * maxBarHeight;
  return height >= maxBarHeight ? maxBarHeight : static_cast<int>(height);
}

void GraphScale::Set(bool fixed, std::uint32_t bytesPerSecond, const RateHistory& history, const Options& options) {
  fixed_ = fixed;
  if (fixed) scaleMax_ = std::max<std::uint32_t>(1, bytesPerSecond);
  Recompute(history, options);
}

void GraphScale::Recompute(const RateHistory& history, const Options& options) {
  std::uint32_t scale = 0;
  std::uint32_t visible = 0;
  const size_t count = std::min(history.size(), static_cast<size_t>(std::max(0, options.columnCount)));
  for (auto it = history.rbegin(); it != history.rbegin() + static_cast<std::ptrdiff_t>(count); ++it) {
    scale = std::max(scale, ScaleValue(*it, options));
    visible = std::max(visible, Peak(*it));
  }
  visibleMax_ = visible;
  if (!fixed_) scaleMax_ = scale;
}

void GraphScale::Add(const RateSample& sample, const RateHistory& history, const Options& options) {
  const RateSample* departed = Departed(history, options.columnCount);
  const bool raisedVisible = Peak(sample) > visibleMax_;
  visibleMax_ = std::max(visibleMax_, Peak(sample));
  if (fixed_) {
    if (!raisedVisible && departed && Peak(*departed) >= visibleMax_) Recompute(history, options);
    return;
  }
  const std::uint32_t value = ScaleValue(sample, options);
  if (value > scaleMax_) {
    scaleMax_ = value;
    return;
  }
  // With average lines the scale can lie above every rate, so the visible maximum leaving is a
  // reason of its own to rescan.
  if (departed && (ScaleValue(*departed, options) >= scaleMax_ || (!raisedVisible && Peak(*departed) >= visibleMax_))) {
    Recompute(history, options);
  }
}

}  // namespace veltrano
