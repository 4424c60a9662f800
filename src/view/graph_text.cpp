// Rate text and scale label values.
#include "view/graph_text.h"

#include <algorithm>

#include "reports/value_format.h"

namespace veltrano {

RateTextPieces RateTextParts(const RateSample& newest, std::uint32_t visibleMax, const RateTextSwitches& switches) {
  const auto rate = [&](std::uint32_t value) { return FormatRate(value, switches.unitBytes); };
  RateTextPieces pieces;
  if (switches.showMax) pieces.max = "(Max: " + rate(visibleMax) + ")";
  if (switches.averages) {
    pieces.down = "Avg Down: " + rate(newest.averageReceived);
    pieces.up = "Avg Up: " + rate(newest.averageSent);
  } else {
    pieces.down = "Down: " + rate(newest.received);
    pieces.up = "Up: " + rate(newest.sent);
  }
  return pieces;
}

std::string PlainRateText(const RateTextPieces& pieces) {
  std::string text;
  if (!pieces.max.empty()) text = pieces.max + "  ";
  return text + pieces.down + "  " + pieces.up;
}

int ColouredRateTextStart(int left, int width, int piecesWidth, int spaceWidth, bool hasMax) {
  return left + (width - piecesWidth - (hasMax ? 4 : 2) * spaceWidth) / 2;
}

void ScaleLabels(const PaneLayout& layout, int scaleFontHeight, std::uint32_t scaleMax,
                 std::vector<ScaleLabel>& labels) {
  labels.clear();
  const PaneRect& scale = layout.scaleRect;
  if (scale.Empty() || layout.maxBarHeight <= 0) return;
  const int half = scaleFontHeight / 2;
  for (int i = 1; i <= layout.scaleLineCount; ++i) {
    ScaleLabel label;
    label.y = scale.top + half + (i - 1) * layout.scaleLineSpacing;
    if (label.y < scale.bottom) {
      label.tick = true;
      // At 50% height the top labels read about twice scaleMax, which may pass the 32-bit range.
      const double value = static_cast<double>(scaleMax) / layout.maxBarHeight * (scale.bottom - label.y);
      label.value = value >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
    }
    label.textRect = {scale.left + 1, label.y - half, scale.right - layout.tickLength - 1,
                      std::min(label.y + scaleFontHeight - half, scale.bottom)};
    labels.push_back(label);
  }
}

}  // namespace veltrano
