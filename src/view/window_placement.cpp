// Main window placement and alpha.
#include "view/window_placement.h"

#include <algorithm>

namespace veltrano {
namespace {

bool Overlaps(const StackRect& a, const StackRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

bool HasSavedPosition(const WndPosition& saved) {
  return saved.right > saved.left && saved.bottom > saved.top;
}

StackRect PlaceMainWindow(const PlacementInput& input) {
  StackRect rect;
  bool useSaved = HasSavedPosition(input.saved);
  if (useSaved) {
    rect = {input.saved.left, input.saved.top, input.saved.right, input.saved.bottom};
    useSaved = std::any_of(input.monitors.begin(), input.monitors.end(),
                           [&](const StackRect& monitor) { return Overlaps(rect, monitor); });
  }
  if (!useSaved) {
    const int width = input.templateRect.Width();
    const int height = input.templateRect.Height();
    const int right = input.workArea.right - input.verticalScrollWidth;
    const int bottom = input.workArea.bottom - input.horizontalScrollHeight;
    rect = {right - width, bottom - height, right, bottom};
  }
  const int smallest = 2 * input.margin + 1;
  const int clientWidth = rect.Width() - input.frameWidth;
  const int clientHeight = rect.Height() - input.frameHeight;
  if (clientWidth < smallest) rect.right += smallest - clientWidth;
  if (clientHeight < smallest) rect.bottom += smallest - clientHeight;
  return rect;
}

std::uint8_t WindowAlpha(int percent) {
  const int clamped = std::clamp(percent, 0, 100);
  return static_cast<std::uint8_t>((100 - clamped) * 255 / 100);
}

int TransparencyPercent(bool semiTransparent, std::uint32_t transparentPercent) {
  return semiTransparent ? static_cast<int>(std::min<std::uint32_t>(transparentPercent, 100)) : 0;
}

}  // namespace veltrano
