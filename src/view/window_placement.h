// Where the main window goes at start-up, and its constant alpha when semi-transparent.
#pragma once

#include <cstdint>
#include <vector>

#include "settings/binary_records.h"
#include "view/pane_stack.h"

namespace veltrano {

struct PlacementInput {
  WndPosition saved;                // all zero when nothing was saved
  StackRect templateRect;           // the window as the dialog template made it (screen)
  StackRect workArea;               // of the primary monitor
  std::vector<StackRect> monitors;  // every monitor's rectangle
  int verticalScrollWidth = 0;
  int horizontalScrollHeight = 0;
  int frameWidth = 0;   // window width minus client width
  int frameHeight = 0;  // window height minus client height
  int margin = 2;       // EffectiveMargin(RateViewMargins)
};

// True when a position was saved (a non-empty rectangle).
bool HasSavedPosition(const WndPosition& saved);

// The saved rectangle when it is usable; else the template's size at the bottom-right of the work
// area, inset by a scroll bar's width and height. A saved rectangle that lies off every monitor
// is treated as not saved, so the window cannot start out of reach. The result is then grown
// where the client area would be smaller than twice the margin plus one pixel.
StackRect PlaceMainWindow(const PlacementInput& input);

// Constant alpha of a window that is percent transparent (clamped to 0..100).
std::uint8_t WindowAlpha(int percent);

// The percent ApplyWindowStyle is called with.
int TransparencyPercent(bool semiTransparent, std::uint32_t transparentPercent);

}  // namespace veltrano
