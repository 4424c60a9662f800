// Pixel sizes that are stored or written down for a 96-DPI screen, and the same sizes on a
// screen of another scale. What is stored never changes; sizes are scaled where they are used.
#pragma once

namespace veltrano {

constexpr int kBaseDpi = 96;

// value (pixels at 96 DPI) at dpi, rounded to the nearest pixel and halves away from zero, as
// MulDiv rounds, and held within int. A dpi of 0 or less counts as 96.
int ScaleToDpi(int value, int dpi);

}  // namespace veltrano
