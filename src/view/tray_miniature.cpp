// Tray miniature: columns rise from y = 14, newest at x = 14; lines run from x = 14 leftwards.
#include "view/tray_miniature.h"

#include <algorithm>

namespace veltrano {
namespace {

constexpr int kBase = 14;
constexpr int kColumns = 14;
constexpr int kColumnHeight = 14;
constexpr int kLinePoints = 15;
constexpr int kLineHeight = 13;

int Scaled(std::uint32_t value, std::uint32_t scaleMax, int height) {
  const double scaled = static_cast<double>(value) / static_cast<double>(scaleMax) * height;
  return std::min(height, static_cast<int>(scaled));
}

void AddColumn(int x, int up, int down, std::vector<MiniLine>& lines) {
  MiniPoint at{x, kBase};
  auto lineTo = [&](MiniPen pen, int height) {
    const MiniPoint to{x, kBase - height};
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

MiniatureDrawing DrawMiniature(const RateHistory& history, std::uint32_t scaleMax, int graphStyle) {
  MiniatureDrawing drawing;
  if (scaleMax == 0) return drawing;
  auto sample = history.rbegin();
  if (graphStyle == 1) {
    for (int x = kBase; x > kBase - kColumns && sample != history.rend(); --x, ++sample) {
      AddColumn(x, Scaled(sample->sent, scaleMax, kColumnHeight), Scaled(sample->received, scaleMax, kColumnHeight),
                drawing.lines);
    }
    return drawing;
  }
  for (int i = 0; i < kLinePoints && sample != history.rend(); ++i, ++sample) {
    const int x = kBase - i;
    drawing.upPolyline.push_back({x, kBase - Scaled(sample->sent, scaleMax, kLineHeight)});
    drawing.downPolyline.push_back({x, kBase - Scaled(sample->received, scaleMax, kLineHeight)});
  }
  return drawing;
}

}  // namespace veltrano
