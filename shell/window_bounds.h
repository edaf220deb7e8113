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
