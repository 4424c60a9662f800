// Tray miniature: inside a one-pixel frame, columns rise from y = size - 2, newest at
// x = size - 2; lines run from there leftwards.
#include "view/tray_miniature.h"

#include <algorithm>

namespace veltrano {
namespace {

int Scaled(std::uint32_t value, std::uint32_t scaleMax, int height) {
  const double scaled = static_cast<double>(value) / static_cast<double>(scaleMax) * height;
  return std::min(height, static_cast<int>(scaled));
}

void AddColumn(int x, int base, int up, int down, std::vector<MiniLine>& lines) {
  MiniPoint at{x, base};
  auto lineTo = [&](MiniPen pen, int height) {
    const MiniPoint to{x, base - height};
    lines.push_back({pen, at, to});
    at = to;
  };
  if (up < down) {
    if (up > 0) lineTo(MiniPen::kBoth, up);
    lineTo(MiniPen::kDown, down);
  } else if (down < up) {
    if (down > 0) lineTo(MiniPen::kBoth, down);
    lineTo(MiniPen::kUp, up);
  } else if (down != 0) {
    lineTo(MiniPen::kBoth, down);
  }
}

}  // namespace

MiniatureDrawing DrawMiniature(const RateHistory& history, std::uint32_t scaleMax, int graphStyle, int size) {
  MiniatureDrawing drawing;
  if (scaleMax == 0 || size < 4) return drawing;
  const int base = size - 2;
  const int columns = size - 2;
  const int columnHeight = size - 2;
  const int linePoints = size - 1;
  const int lineHeight = size - 3;
  auto sample = history.rbegin();
  if (graphStyle == 1) {
    for (int x = base; x > base - columns && sample != history.rend(); --x, ++sample) {
      AddColumn(x, base, Scaled(sample->sent, scaleMax, columnHeight), Scaled(sample->received, scaleMax, columnHeight),
                drawing.lines);
    }
    return drawing;
  }
  for (int i = 0; i < linePoints && sample != history.rend(); ++i, ++sample) {
    const int x = base - i;
    drawing.upPolyline.push_back({x, base - Scaled(sample->sent, scaleMax, lineHeight)});
    drawing.downPolyline.push_back({x, base - Scaled(sample->received, scaleMax, lineHeight)});
  }
  return drawing;
}

}  // namespace veltrano
