// The texts of a pane: the rate text band (plain and coloured) and the scale labels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/adapter_entry.h"
#include "view/graph_layout.h"

namespace veltrano {

struct RateTextSwitches {
  bool showMax = true;
  bool averages = false;
  bool unitBytes = false;
};

// The coloured form's three pieces; max is empty when the maximum is not shown.
struct RateTextPieces {
  std::string max;
  std::string down;
  std::string up;
};

RateTextPieces RateTextParts(const RateSample& newest, std::uint32_t visibleMax, const RateTextSwitches& switches);
// "(Max: 1.00 kbps)  Down: 992 bps  Up: 0 bps" and its variants.
std::string PlainRateText(const RateTextPieces& pieces);
// Where the coloured form starts so that its pieces, two spaces apart, are centred in the band.
int ColouredRateTextStart(int left, int width, int piecesWidth, int spaceWidth, bool hasMax);

struct ScaleLabel {
  int y = 0;
  bool tick = false;        // a 3-pixel tick at y
  std::uint32_t value = 0;  // bytes per second
  PaneRect textRect;        // right-aligned text of FormatRate(value)
};

// One label per scale line, top to bottom, for a non-empty scale and a positive bar height.
void ScaleLabels(const PaneLayout& layout, int scaleFontHeight, std::uint32_t scaleMax,
                 std::vector<ScaleLabel>& labels);

}  // namespace veltrano
