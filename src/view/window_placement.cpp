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
  // Growing never makes the window larger than the work area, and a grown window is kept inside
  // it: margins that no screen can hold leave the panes empty rather than the window out of reach.
  const int smallest = 2 * input.margin + 1;
  const int clientWidth = rect.Width() - input.frameWidth;
  const int clientHeight = rect.Height() - input.frameHeight;
  if (clientWidth < smallest) {
    rect.right += std::max(0, std::min(smallest - clientWidth, input.workArea.Width() - rect.Width()));
    const int overhang = rect.right - input.workArea.right;
    if (overhang > 0) rect = {rect.left - overhang, rect.top, rect.right - overhang, rect.bottom};
  }
  if (clientHeight < smallest) {
    rect.bottom += std::max(0, std::min(smallest - clientHeight, input.workArea.Height() - rect.Height()));
    const int overhang = rect.bottom - input.workArea.bottom;
    if (overhang > 0) rect = {rect.left, rect.top - overhang, rect.right, rect.bottom - overhang};
  }
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
