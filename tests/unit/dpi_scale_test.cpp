#include <gtest/gtest.h>

#include <climits>

#include "platform/dpi_scale.h"

// Truncating would lose a pixel on odd lengths at 125 %, rounding halves
// towards zero would shrink font heights, which are negative, and at 96 DPI
// one changed pixel breaks the designed layout.
TEST(DpiScale, RoundsHalvesAwayFromZeroAndLeavesNinetySixAlone) {
  const struct {
    int value, fromDpi, toDpi, expected;
  } cases[] = {
      {-12, 96, 144, -18},  {277, 96, 144, 416},        {-1, 96, 144, -2},
      {2, 96, 120, 3},      {75, 96, 120, 94},          {1, 96, 120, 1},
      {23, 120, 96, 18},    {12, 96, 0, 12},            {12, 0, 144, 12},
      {INT_MAX, 96, 192, INT_MAX}, {INT_MIN, 96, 192, INT_MIN},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Rescale(c.value, c.fromDpi, c.toDpi), c.expected) << c.value << " " << c.toDpi;
  for (int value = -600; value <= 600; ++value) ASSERT_EQ(Scale(value, 96), value);
  EXPECT_EQ(Scale(12, 144), 18);
}
