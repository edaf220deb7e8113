#include "platform/dpi_scale.h"

#include <algorithm>
#include <cstdint>
#include <limits>

int Rescale(int value, int fromDpi, int toDpi) {
  if (fromDpi <= 0 || toDpi <= 0) return value;
  const std::int64_t product = static_cast<std::int64_t>(value) * toDpi;
  const std::int64_t magnitude = product < 0 ? -product : product;
  const std::int64_t rounded = (2 * magnitude + fromDpi) / (2 * static_cast<std::int64_t>(fromDpi));
  const std::int64_t result = product < 0 ? -rounded : rounded;
  return static_cast<int>(std::clamp<std::int64_t>(result, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}
