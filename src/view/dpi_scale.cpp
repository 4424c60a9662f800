#include "view/dpi_scale.h"

#include <algorithm>
#include <limits>

namespace veltrano {

int ScaleToDpi(int value, int dpi) {
  if (dpi <= 0 || dpi == kBaseDpi) return value;
  const long long product = static_cast<long long>(value) * dpi;
  const long long half = kBaseDpi / 2;
  const long long scaled = product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi);
  return static_cast<int>(std::clamp<long long>(scaled, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace veltrano
