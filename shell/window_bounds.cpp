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

namespace {

// The start of an extent of `size` inside [from, to], as near to `start`
// as it fits; at `from` when it does not fit.
std::int64_t Within(std::int64_t start, std::int64_t size, std::int64_t from, std::int64_t to) {
  return std::max(from, std::min(start, to - size));
}

}  // namespace

Edges PlacedInWorkArea(std::int32_t savedLeft, std::int32_t savedTop, std::int32_t savedWidth,
                       std::int32_t savedHeight, const Edges& work, std::int32_t minSize) {
  const std::int64_t width = std::max<std::int64_t>(
      minSize, std::min<std::int64_t>(savedWidth, Extent(work.left, work.right)));
  const std::int64_t height = std::max<std::int64_t>(
      minSize, std::min<std::int64_t>(savedHeight, Extent(work.top, work.bottom)));
  const std::int64_t left = Within(savedLeft, width, work.left, work.right);
  const std::int64_t top = Within(savedTop, height, work.top, work.bottom);
  return {Held(left), Held(top), Held(left + width), Held(top + height)};
}

Edges ScreenFromWorkspace(const Edges& place, const Edges& monitor, const Edges& work) {
  const std::int32_t dx = Extent(monitor.left, work.left), dy = Extent(monitor.top, work.top);
  return {Plus(place.left, dx), Plus(place.top, dy), Plus(place.right, dx),
          Plus(place.bottom, dy)};
}
