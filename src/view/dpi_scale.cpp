#include "view/dpi_scale.h"

namespace veltrano {

int ScaleToDpi(int value, int dpi) {
  if (dpi <= 0 || dpi == kBaseDpi) return value;
  const long long product = static_cast<long long>(value) * dpi;
  const long long half = kBaseDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi));
}

}  // namespace veltrano
