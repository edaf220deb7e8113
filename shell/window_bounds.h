#pragma once
#include <cstdint>

// A window's edges in screen pixels, as the system keeps them.
struct Edges {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// Bounds from the settings file can sit at the ends of the 32-bit range:
// every sum and difference here is taken in 64 bits and held within that
// range, never wrapped.
std::int32_t Extent(std::int32_t from, std::int32_t to);
// One bound changed, the others kept: a new left or top moves the window
// with its size, a new width or height keeps its top-left corner.
Edges WithLeft(const Edges& edges, std::int32_t left);
Edges WithTop(const Edges& edges, std::int32_t top);
Edges WithWidth(const Edges& edges, std::int32_t width);
Edges WithHeight(const Edges& edges, std::int32_t height);

// A saved place as the window is opened again: at least `minSize` pixels
// each way and no larger than the work area (of the monitor nearest to it)
// unless that is smaller than `minSize`, then moved wholly inside the work
// area. Fed from hand-edited files too, so no sum may wrap.
Edges PlacedInWorkArea(std::int32_t left, std::int32_t top, std::int32_t width,
                       std::int32_t height, const Edges& work, std::int32_t minSize);
// A top-level window's restored place as GetWindowPlacement gives it, in
// workspace coordinates (counted from the work area's corner), in screen
// coordinates: with the task bar at the top or left the two differ.
Edges ScreenFromWorkspace(const Edges& place, const Edges& monitor, const Edges& work);
