// The live miniature of a rate graph shown as the tray icon, as large as the system's small icon
// (16 x 16 at 96 DPI): the lines to draw, from the newest samples and the pane's scale, in the
// column or line style.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/adapter_entry.h"

namespace veltrano {

constexpr int kMiniatureSize = 16;  // at 96 DPI

enum class MiniPen { kUp, kDown, kBoth };

struct MiniPoint {
  int x = 0;
  int y = 0;
  bool operator==(const MiniPoint& other) const { return x == other.x && y == other.y; }
};

// A line from one point to another, drawn without its end pixel.
struct MiniLine {
  MiniPen pen;
  MiniPoint from;
  MiniPoint to;
};

struct MiniatureDrawing {
  std::vector<MiniLine> lines;        // column style
  std::vector<MiniPoint> upPolyline;  // line style, drawn first
  std::vector<MiniPoint> downPolyline;
};

// graphStyle 1 is the column graph, 0 the line graph. A scale of 0 (automatic, no traffic yet)
// draws nothing over the background and frame. A larger icon shows more one-pixel columns, as a
// wider pane does, and taller ones.
MiniatureDrawing DrawMiniature(const RateHistory& history, std::uint32_t scaleMax, int graphStyle,
                               int size = kMiniatureSize);

}  // namespace veltrano
