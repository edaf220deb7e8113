#include "shell/window_bounds.h"

#include <algorithm>
#include <limits>

namespace {

std::int32_t Held(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t Plus(std::int32_t a, std::int32_t b) { return Held(static_cast<std::int64_t>(a) + b); }

}  // namespace

std::int32_t Extent(std::int32_t from, std::int32_t to) {
  return Held(static_cast<std::int64_t>(to) - from);
}

Edges WithLeft(const Edges& e, std::int32_t left) {
  return {left, e.top, Plus(left, Extent(e.left, e.right)), e.bottom};
}

Edges WithTop(const Edges& e, std::int32_t top) {
  return {e.left, top, e.right, Plus(top, Extent(e.top, e.bottom))};
}

Edges WithWidth(const Edges& e, std::int32_t width) {
  return {e.left, e.top, Plus(e.left, width), e.bottom};
}

Edges WithHeight(const Edges& e, std::int32_t height) {
  return {e.left, e.top, e.right, Plus(e.top, height)};
}
